// Texture loading from bitmap files, and the texture table that the scene deletes at exit.
//
// LoadBmpTexture leaves the new texture bound to GL_TEXTURE_2D, the unpack alignment 1 and the
// texture environment GL_MODULATE, which every textured pass relies on.
#include "scene/textures.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/data_files.h"
#include "particles/particle_system.h"
#include "scene/cigarette.h"
#include "scene/scene_state.h"
#include "scene/smoke.h"
#include "text/text_overlay.h"

namespace {
constexpr int kImageSide = 128;
constexpr int kBytesPerPixel = 3;                        // blue, green, red
constexpr long kRowBytes = kImageSide * kBytesPerPixel;  // a multiple of 4: rows carry no padding
constexpr long kPixelBytes = kRowBytes * kImageSide;
constexpr int kTexelBytes = 4;     // red, green, blue, alpha
constexpr long kHeaderBytes = 54;  // file header and information header
constexpr uint16_t kBitsPerPixel = 24;
constexpr uint32_t kUncompressed = 0;

// Header fields, by byte offset in the file.
constexpr int kOffPixelData = 10;
constexpr int kOffWidth = 18;
constexpr int kOffHeight = 22;
constexpr int kOffBitCount = 28;
constexpr int kOffCompression = 30;

constexpr int kReasonBytes = 96;

constexpr char kFontFile[] = "font.bmp";
constexpr char kSmokeFile[] = "smoke128.bmp";

uint32_t Le32(const unsigned char* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Where a bitmap's pixels are and which way its rows run, once the header has been checked.
struct PixelLayout {
    long offset;    // of the first stored row
    bool bottomUp;  // the first stored row is the picture's bottom row
};

void Warn(const char* path, const char* reason) {
    std::fprintf(stderr, "wispra: %s: %s\n", path, reason);
}

// Checks the header against the one layout the scene draws with. On failure writes the reason.
bool CheckHeader(std::FILE* file, PixelLayout& layout, char (&reason)[kReasonBytes]) {
    unsigned char header[kHeaderBytes];
    if (std::fread(header, 1, sizeof header, file) != sizeof header) {
        std::snprintf(reason, sizeof reason, "too short for a bitmap header");
        return false;
    }
    if (header[0] != 'B' || header[1] != 'M') {
        std::snprintf(reason, sizeof reason, "not a bitmap file (no BM signature)");
        return false;
    }
    const int32_t width = static_cast<int32_t>(Le32(header + kOffWidth));
    const int32_t height = static_cast<int32_t>(Le32(header + kOffHeight));
    if (width != kImageSide || (height != kImageSide && height != -kImageSide)) {
        std::snprintf(reason, sizeof reason, "is %ld x %ld pixels, expected 128 x 128",
                      static_cast<long>(width), static_cast<long>(height));
        return false;
    }
    const uint16_t bits = Le16(header + kOffBitCount);
    if (bits != kBitsPerPixel) {
        std::snprintf(reason, sizeof reason, "has %u bits per pixel, expected 24", bits);
        return false;
    }
    const uint32_t compression = Le32(header + kOffCompression);
    if (compression != kUncompressed) {
        std::snprintf(reason, sizeof reason, "is compressed (method %lu), expected uncompressed",
                      static_cast<unsigned long>(compression));
        return false;
    }
    if (std::fseek(file, 0, SEEK_END) != 0) {
        std::snprintf(reason, sizeof reason, "cannot be read to its end");
        return false;
    }
    const long size = std::ftell(file);
    const uint32_t offset = Le32(header + kOffPixelData);
    if (offset < kHeaderBytes || size < 0 || offset > static_cast<unsigned long>(size)) {
        std::snprintf(reason, sizeof reason, "pixel data offset %lu lies outside the file",
                      static_cast<unsigned long>(offset));
        return false;
    }
    if (size - static_cast<long>(offset) < kPixelBytes) {
        std::snprintf(reason, sizeof reason, "ends after %ld of 49152 pixel bytes",
                      size - static_cast<long>(offset));
        return false;
    }
    layout.offset = static_cast<long>(offset);
    layout.bottomUp = height > 0;
    return true;
}

// Texel alpha from a pixel's blue, green and red bytes.
unsigned char TexelAlpha(int b1, int b2, int b3, int alpha, int threshold) {
    if (alpha < 0) return static_cast<unsigned char>((b1 + b2 + b3) / 3.0);  // mean, truncated
    if (b1 < threshold && b2 < threshold && b3 < threshold) return 0;
    return static_cast<unsigned char>(alpha & 0xFF);
}

// Fills texel rows so that the picture's top row lands at buffer row 0 (texture t = 0): the first
// stored row of a bottom-up file at buffer row 127, of a top-down file at row 0.
void ConvertPixels(const std::vector<unsigned char>& pixels, bool bottomUp, int alpha,
                   int threshold, std::vector<unsigned char>& texels) {
    for (int k = 0; k < kImageSide; ++k) {
        const int row = bottomUp ? kImageSide - 1 - k : k;
        const unsigned char* in = &pixels[static_cast<size_t>(k * kRowBytes)];
        unsigned char* out = &texels[static_cast<size_t>(row) * kImageSide * kTexelBytes];
        for (int c = 0; c < kImageSide; ++c, in += kBytesPerPixel, out += kTexelBytes) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = TexelAlpha(in[0], in[1], in[2], alpha, threshold);
        }
    }
}

// Reads and checks the file; on failure says why on standard error and returns false.
bool ReadPixels(const char* path, std::vector<unsigned char>& pixels, bool& bottomUp) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        Warn(path, std::strerror(errno));
        return false;
    }
    char reason[kReasonBytes] = "";
    PixelLayout layout{};
    bool ok = CheckHeader(file, layout, reason);
    if (ok && (std::fseek(file, layout.offset, SEEK_SET) != 0 ||
               std::fread(pixels.data(), 1, pixels.size(), file) != pixels.size())) {
        std::snprintf(reason, sizeof reason, "cannot read its pixel data");
        ok = false;
    }
    std::fclose(file);
    if (!ok) Warn(path, reason);
    bottomUp = layout.bottomUp;
    return ok;
}

void AddTexture(unsigned int name) {
    if (textureCount < kTextureSlots) textureIds[textureCount++] = name;
}
}  // namespace

unsigned int LoadBmpTexture(const char* path, int alpha, int threshold, bool mipmaps) {
    std::vector<unsigned char> pixels(static_cast<size_t>(kPixelBytes));
    bool bottomUp = true;
    if (!ReadPixels(path, pixels, bottomUp)) return 0;
    std::vector<unsigned char> texels(static_cast<size_t>(kImageSide) * kImageSide * kTexelBytes);
    ConvertPixels(pixels, bottomUp, alpha, threshold, texels);

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmaps ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kImageSide, kImageSide, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
    if (mipmaps) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, kTexelBytes, kImageSide, kImageSide, GL_RGBA,
                          GL_UNSIGNED_BYTE, texels.data());
    }
    return name;  // wrap modes stay GL's default, repeat
}

void InitResources() {
    // Stored as returned, also 0 for a file that did not load.
    // A file that no folder holds is named on standard error and never handed to the loader.
    std::string fontPath, smokePath;
    const unsigned int font =
        LocateDataFile(kFontFile, fontPath) ? LoadBmpTexture(fontPath.c_str(), -1, 0, false) : 0;
    AddTexture(font);
    const unsigned int smoke =
        LocateDataFile(kSmokeFile, smokePath) ? LoadBmpTexture(smokePath.c_str(), -1, 0, false) : 0;
    AddTexture(smoke);
    textOverlay.fontTexture = font;
    particleSystem.spriteTexture = smoke;

    TuneSmokeStyle();

    BuildCigarette();
}

void ReleaseTextures() {
    if (textureCount == 0) return;
    glDeleteTextures(textureCount, textureIds);
    textureCount = 0;  // the names are gone; a second release must not delete reused names
}
