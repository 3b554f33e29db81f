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

#include "particles/particle_system.h"
#include "scene/bitmap_file.h"
#include "scene/cigarette.h"
#include "scene/scene_state.h"
#include "scene/smoke.h"
#include "text/text_overlay.h"

namespace {
constexpr int kTexelComponents = 4;  // red, green, blue, alpha

constexpr char kFontFile[] = "font.bmp";
constexpr char kSmokeFile[] = "smoke128.bmp";

void Warn(const char* path, const char* reason) {
    std::fprintf(stderr, "wispra: %s: %s\n", path, reason);
}

// Reads and checks the file; on failure says why on standard error and returns false.
bool ReadPixels(const char* path, BitmapPixels& pixels, bool& bottomUp) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        Warn(path, std::strerror(errno));
        return false;
    }
    unsigned char bytes[kBitmapHeaderBytes];
    const size_t count = std::fread(bytes, 1, sizeof bytes, file);
    const long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    BitmapHeader header = CheckBitmapHeader(bytes, count, static_cast<uint64_t>(size));
    if (size < 0) {
        header.valid = false;
        std::snprintf(header.reason, sizeof header.reason, "cannot be read to its end");
    }
    if (header.valid && (std::fseek(file, header.pixelOffset, SEEK_SET) != 0 ||
                         std::fread(pixels.data(), 1, pixels.size(), file) != pixels.size())) {
        std::snprintf(header.reason, sizeof header.reason, "cannot read its pixel data");
        header.valid = false;
    }
    std::fclose(file);
    if (!header.valid) Warn(path, header.reason);
    bottomUp = header.bottomUp;
    return header.valid;
}

void AddTexture(unsigned int name) {
    if (textureCount < kTextureSlots) textureIds[textureCount++] = name;
}
}  // namespace

unsigned int LoadBmpTexture(const char* path, int alpha, int threshold, bool mipmaps) {
    BitmapPixels pixels;
    bool bottomUp = true;
    if (!ReadPixels(path, pixels, bottomUp)) return 0;
    TexelBuffer texels;
    ConvertBitmapPixels(pixels, bottomUp, alpha, threshold, texels);

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmaps ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kBitmapSide, kBitmapSide, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
    if (mipmaps) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, kTexelComponents, kBitmapSide, kBitmapSide, GL_RGBA,
                          GL_UNSIGNED_BYTE, texels.data());
    }
    return name;  // wrap modes stay GL's default, repeat
}

void InitResources() {
    // Stored as returned, also 0 for a file that did not load.
    const unsigned int font = LoadBmpTexture(kFontFile, -1, 0, false);
    AddTexture(font);
    const unsigned int smoke = LoadBmpTexture(kSmokeFile, -1, 0, false);
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
