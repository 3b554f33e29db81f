// Texture loading from bitmap files, and the texture table that the scene deletes at exit.
//
// LoadBmpTexture expects/leaves: the scene defaults (SetSceneGlDefaults), with the new texture
// bound to GL_TEXTURE_2D, the unpack alignment 1 and the texture environment GL_MODULATE, which
// the defaults name and every textured pass relies on.
#include "scene/textures.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "particles/particle_system.h"
#include "program/data_files.h"
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

// Why a file of this type is not read, or nullptr for a regular file.
const char* NotRegularReason(mode_t mode) {
    if (S_ISREG(mode)) return nullptr;
    return S_ISDIR(mode) ? "is a directory" : "is not a regular file";
}

// Reads up to `count` bytes from `offset` on; how many it got (fewer at the end of the file), or
// -1 with errno set.
ssize_t ReadAt(int fd, unsigned char* into, size_t count, off_t offset) {
    size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, into + done, count - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

// Checks an open file and reads exactly its pixel bytes; nullptr, or why it cannot be used.
const char* ReadOpenFile(int fd, BitmapPixels& pixels, BitmapHeader& header) {
    struct stat status {};
    if (fstat(fd, &status) != 0) return std::strerror(errno);
    if (const char* reason = NotRegularReason(status.st_mode)) return reason;
    unsigned char bytes[kBitmapHeaderBytes];
    const ssize_t count = ReadAt(fd, bytes, sizeof bytes, 0);
    if (count < 0) return std::strerror(errno);
    header =
        CheckBitmapHeader(bytes, static_cast<size_t>(count), static_cast<uint64_t>(status.st_size));
    if (!header.valid) return header.reason;
    // The size was checked: fewer bytes mean that the file shrank since, or that a read failed.
    if (ReadAt(fd, pixels.data(), pixels.size(), static_cast<off_t>(header.pixelOffset)) !=
        static_cast<ssize_t>(pixels.size()))
        return "cannot read its pixel data";
    return nullptr;
}

// Reads and checks the file: usable, with the pixels and their row order filled in; absent, when
// nothing of that name is there; or unusable, with the reason.
DataFileCheck ReadPixels(const char* path, BitmapPixels& pixels, bool& bottomUp) {
    DataFileCheck found;
    // Without O_NONBLOCK, opening a named pipe waits for a writer, and start-up would hang; the
    // pipe is then refused before anything is read from it.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        // A socket cannot be opened at all; its type still gives the reason.
        struct stat status {};
        const char* reason = stat(path, &status) == 0 ? NotRegularReason(status.st_mode) : nullptr;
        found.state =
            error == ENOENT || error == ENOTDIR ? DataFileState::kAbsent : DataFileState::kUnusable;
        found.reason = reason != nullptr ? reason : std::strerror(error);
        return found;
    }
    BitmapHeader header;
    const char* reason = ReadOpenFile(fd, pixels, header);
    close(fd);
    bottomUp = header.bottomUp;
    found.state = reason == nullptr ? DataFileState::kUsable : DataFileState::kUnusable;
    if (reason != nullptr) found.reason = reason;
    return found;
}

// A new texture from the pixels, left bound.
unsigned int MakeTexture(const BitmapPixels& pixels, bool bottomUp, int alpha, int threshold,
                         bool mipmaps) {
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

// The scene's texture from the first usable `name` in the data folders (averaging mode, no
// mipmaps), or 0 when none is usable. Each file passed over is named on standard error.
unsigned int LoadDataTexture(const char* name) {
    BitmapPixels pixels;
    bool bottomUp = true;
    // The check reads the candidate whole, so the usable one's pixels are at hand when it is found.
    const DataFileChecker read = [&](const std::string& path) {
        return ReadPixels(path.c_str(), pixels, bottomUp);
    };
    std::string path;
    if (!LocateDataFile(name, read, path)) return 0;  // no texture is made
    return MakeTexture(pixels, bottomUp, -1, 0, false);
}

void AddTexture(unsigned int name) {
    if (textureCount < kTextureSlots) textureIds[textureCount++] = name;
}
}  // namespace

unsigned int LoadBmpTexture(const char* path, int alpha, int threshold, bool mipmaps) {
    BitmapPixels pixels;
    bool bottomUp = true;
    const DataFileCheck read = ReadPixels(path, pixels, bottomUp);
    if (read.state != DataFileState::kUsable) {
        Warn(path, read.reason.c_str());
        return 0;
    }
    return MakeTexture(pixels, bottomUp, alpha, threshold, mipmaps);
}

void InitResources() {
    // Stored as returned, also 0 when no folder holds a usable file.
    const unsigned int font = LoadDataTexture(kFontFile);
    AddTexture(font);
    const unsigned int smoke = LoadDataTexture(kSmokeFile);
    AddTexture(smoke);
    textOverlay.fontTexture = font;
    particleSystem.spriteTexture = smoke;
    particleSystem.ProfileSprite();  // measured once here, not in the first frame

    TuneSmokeStyle();

    BuildCigarette();
}

void ReleaseTextures() {
    if (textureCount == 0) return;
    glDeleteTextures(textureCount, textureIds);
    textureCount = 0;  // the names are gone; a second release must not delete reused names
}
