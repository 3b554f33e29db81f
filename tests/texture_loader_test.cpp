// The bitmap texture loader: texel values and orientation, both row orders, the pixel-data
// offset, the information header sizes, the files it refuses (also pipes, sockets, devices and
// directories), and start-up without the smoke sprite.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "gl_harness.h"
#include "particles/particle_system.h"
#include "scene/scene_state.h"
#include "scene/textures.h"

namespace {
using Bgr = std::array<int, 3>;                      // a file pixel: blue, green, red
using Patch = std::array<uint32_t, 3>;               // byte offset, little-endian value, bytes
const uint32_t kBM = 'B' | 'M' << 8, kDown = ~127u;  // the signature; height -128 (top-down)
// Temporary names carry the process id: ctest runs test cases side by side.
const std::string kPath =
    ::testing::TempDir() + "wispra-loader-test-" + std::to_string(getpid()) + ".bmp";

// The test picture by texture row (0: the picture's top) and column.
Bgr TestImage(int row, int col) {
    if (row == 127 && col == 0) return {10, 20, 31};  // the first pixel of a bottom-up file
    if (row == 0 && col == 127) return {255, 255, 255};
    if (row == 5 && col == 9) return {0, 0, 0};
    return {row, 2 * col, 7};
}

// Writes a conforming file, its pixels `pad` bytes after the 54-byte header (whose other bytes
// are junk), with one field patched and only `keep` bytes kept.
void Write(bool topDown, uint32_t pad, Bgr (*pixel)(int, int) = TestImage, Patch patch = {},
           size_t keep = 1 << 20) {
    std::vector<unsigned char> file(54 + pad, 0xEE);
    // clang-format off
    for (const Patch& p : {Patch{0, kBM, 2}, {10, 54 + pad, 4}, {14, 40, 4}, {18, 128, 4},
                           {22, topDown ? kDown : 128, 4}, {28, 24, 2}, {30, 0, 4}, patch})
        // clang-format on
        for (uint32_t i = 0; i < p[2]; ++i)
            file[p[0] + i] = static_cast<unsigned char>(p[1] >> (8 * i));
    for (int k = 0; k < 128; ++k)  // stored row k
        for (int c = 0; c < 128; ++c)
            for (int v : pixel(topDown ? k : 127 - k, c))
                file.push_back(static_cast<unsigned char>(v));
    std::ofstream(kPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(std::min(keep, file.size())));
}

// Loads the file; the texels of the new texture, which filters linearly and repeats.
std::vector<unsigned char> Load(int alpha = -1, int threshold = 0) {
    std::vector<unsigned char> texels(128 * 128 * 4);
    GLuint name = LoadBmpTexture(kPath.c_str(), alpha, threshold, false);
    GLint state[5] = {};
    glGetIntegerv(GL_TEXTURE_BINDING_2D, state);
    const GLenum names[] = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S,
                            GL_TEXTURE_WRAP_T};
    for (int i = 0; i < 4; ++i) glGetTexParameteriv(GL_TEXTURE_2D, names[i], state + i + 1);
    EXPECT_EQ(
        std::vector<GLint>(state, state + 5),
        std::vector<GLint>({static_cast<GLint>(name), GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glDeleteTextures(1, &name);
    return texels;
}

// Loads a file that must be refused, checks that no texture was made, and returns what was said.
std::string Refused(const std::string& path) {
    GLuint before = 0, after = 0;
    glGenTextures(1, &before);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(LoadBmpTexture(path.c_str(), -1, 0, false), 0u);
    const std::string said = ::testing::internal::GetCapturedStderr();
    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1) << "a texture was made";
    glDeleteTextures(1, &before);
    glDeleteTextures(1, &after);
    return said;
}
}  // namespace

TEST(TextureLoader, LoadsThePictureTopRowFirstFromEitherRowOrderAndOffset) {
    ResetProgramState();
    // Red, green, blue and the mean brightness truncated: the file's first pixel (10, 20, 31)
    // gives (31, 20, 10, 20) at row 127, column 0; its last, white, alpha 255 at row 0, column 127.
    std::vector<unsigned char> expected;
    for (int i = 0; i < 128 * 128; ++i) {
        const Bgr p = TestImage(i / 128, i % 128);
        for (int v : {p[2], p[1], p[0], (p[0] + p[1] + p[2]) / 3})
            expected.push_back(static_cast<unsigned char>(v));
    }
    // The last two carry the longer Windows information headers (108 and 124 bytes).
    const std::tuple<bool, uint32_t, uint32_t> layouts[] = {{false, 0, 40},   {true, 0, 40},
                                                            {false, 20, 40},  {true, 7, 40},
                                                            {false, 68, 108}, {true, 84, 124}};
    for (auto [topDown, pad, infoSize] : layouts) {
        Write(topDown, pad, TestImage, {14, infoSize, 4});
        EXPECT_TRUE(Load() == expected) << topDown << " " << pad << " " << infoSize;
    }
    // Threshold mode: columns 0..3 hold (15, 15, 15), then 16 in each colour position in turn.
    Write(false, 0, [](int, int col) -> Bgr {
        return {15 + (col == 1), 15 + (col == 2), 15 + (col == 3)};
    });
    const std::vector<unsigned char> texels = Load(200, 16);
    EXPECT_EQ(std::vector<int>({texels[3], texels[7], texels[11], texels[15]}),
              std::vector<int>({0, 200, 200, 200}));
    std::filesystem::remove(kPath);
}

TEST(TextureLoader, RefusesOtherLayoutsAndMissingFilesWithOneLineAndNoTexture) {
    ResetProgramState();
    // A field changed: signature, width, height, depth, compression, a pixel-data offset inside
    // the header, beyond the end, or too late for all rows; then files cut short, to a part of the
    // header, and no file at all.
    // clang-format off
    const std::pair<Patch, size_t> bad[] = {
        {{0, 'B' | 'X' << 8, 2}, 49206}, {{18, 64, 4}, 49206}, {{22, 127, 4}, 49206},
        {{28, 32, 2}, 49206}, {{30, 1, 4}, 49206}, {{10, 40, 4}, 49206}, {{10, 49207, 4}, 49206},
        {{10, 64, 4}, 49206}, {{}, 49205}, {{}, 36}, {{}, 0}};
    // clang-format on
    for (const auto& [patch, keep] : bad) {
        SCOPED_TRACE(std::to_string(patch[0]) + " " + std::to_string(keep));
        Write(false, 0, TestImage, patch, keep);
        if (keep == 0) std::filesystem::remove(kPath);
        const std::string said = Refused(kPath);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_TRUE(said.find(kPath) != std::string::npos && said.size() > kPath.size() + 8)
            << said;
    }
}

TEST(TextureLoader, ReadsOnlyRegularFilesAndNamesAHeaderItCannotRead) {
    ResetProgramState();
    namespace fs = std::filesystem;
    const fs::path dir = ::testing::TempDir() + "wispra-odd-files-" + std::to_string(getpid());
    fs::remove_all(dir);
    fs::create_directories(dir / "folder.bmp");
    const std::string pipe = dir / "font.bmp", socket = dir / "socket.bmp", core = dir / "core.bmp";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0) << std::strerror(errno);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
        << std::strerror(errno);
    // A 12-byte core header: 16-bit width and height, planes and depth; the pixels at byte 26.
    std::vector<unsigned char> bytes = {'B', 'M', 0x1A, 0xC0, 0, 0,   0, 0,   0, 0, 26, 0,  0,
                                        0,   12,  0,    0,    0, 128, 0, 128, 0, 1, 0,  24, 0};
    bytes.resize(26 + 49152, 0x80);
    std::ofstream(core, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    // Nothing ever writes to the pipe, so a loader that waited for a writer would never return:
    // the alarm then ends the test program instead of letting it hang.
    alarm(10);
    const std::pair<std::string, const char*> cases[] = {{pipe, "is not a regular file"},
                                                         {socket, "is not a regular file"},
                                                         {"/dev/null", "is not a regular file"},
                                                         {dir / "folder.bmp", "is a directory"},
                                                         {core, "unsupported header (size 12)"}};
    for (const auto& [path, reason] : cases)
        EXPECT_EQ(Refused(path), "wispra: " + path + ": " + reason + "\n");
    alarm(0);
    close(listener);
    fs::remove_all(dir);
}

TEST(TextureLoader, StartUpGoesOnWithoutTheSmokeSprite) {
    ResetProgramState();
    namespace fs = std::filesystem;
    const fs::path home = fs::current_path(),
                   dir = ::testing::TempDir() + "wispra-font-only-" + std::to_string(getpid());
    fs::create_directories(dir);
    fs::copy_file("font.bmp", dir / "font.bmp", fs::copy_options::overwrite_existing);
    fs::current_path(dir);
    InitResources();
    fs::current_path(home);
    fs::remove_all(dir);
    EXPECT_EQ(textureCount, 2);
    EXPECT_NE(textureIds[0], 0u);
    EXPECT_EQ(textureIds[1], 0u);
    EXPECT_EQ(particleSystem.spriteTexture, 0u);
}
