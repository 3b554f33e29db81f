// Writes the bitmap reader's seed corpus into the folder given as the only argument: files it
// accepts (both row orders, a gap before the pixels, the longer Windows headers, bytes after the
// pixels, threshold settings in the reserved bytes) and files it must refuse (cut short, a core
// header, and each field lying in turn). Generated on every fuzz run; nothing binary is kept.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace {
constexpr size_t kPixelBytes = 128 * 128 * 3;
constexpr size_t kAll = SIZE_MAX;                // keep the whole file
constexpr size_t kShort = 54 + kPixelBytes - 1;  // one pixel byte missing

struct Field {
    size_t at;  // byte offset in the file
    uint32_t value;
    int bytes;  // little-endian
};

struct Seed {
    const char* name;
    bool topDown;
    uint32_t infoSize;
    uint32_t gap;                       // bytes between the header and the pixels
    size_t keep;                        // bytes kept from the start of the file
    size_t trailing;                    // bytes appended after the pixels
    std::initializer_list<Field> lies;  // fields changed after the honest header is written
};

// clang-format off
// name                    top-down info gap  keep   trailing lies
const Seed kSeeds[] = {
  {"bottom_up",              false,  40,  0, kAll,   0,    {}},
  {"top_down",               true,   40,  0, kAll,   0,    {}},
  {"gap_before_pixels",      false,  40, 20, kAll,   0,    {}},
  {"v4_header",              false, 108,  0, kAll,   0,    {}},
  {"v5_header_top_down",     true,  124,  0, kAll,   0,    {}},
  {"trailing_bytes",         false,  40,  0, kAll,   4096, {}},
  {"threshold_16_alpha_200", false,  40,  0, kAll,   0,    {{6, 200, 2}, {8, 16, 2}}},
  {"negative_threshold",     true,   40,  0, kAll,   0,    {{6, 255, 2}, {8, 0xFF00, 2}}},
  {"empty",                  false,  40,  0, 0,      0,    {}},
  {"signature_only",         false,  40,  0, 2,      0,    {}},
  {"cut_in_header",          false,  40,  0, 36,     0,    {}},
  {"header_only",            false,  40,  0, 54,     0,    {}},
  {"one_pixel_byte_short",   false,  40,  0, kShort, 0,    {}},
    // 16-bit width and height (128, 128), then planes (1) and depth (24).
  {"core_header",            false,  12,  0, kAll,   0,    {{18, 0x800080, 4}, {22, 0x180001, 4}}},
  {"unknown_header_size",    false,  56,  0, kAll,   0,    {}},
  {"huge_header_size",       false,  40,  0, kAll,   0,    {{14, 0xFFFFFFFF, 4}}},
  {"not_a_bitmap",           false,  40,  0, kAll,   0,    {{0, 'P' | 'K' << 8, 2}}},
  {"width_lies",             false,  40,  0, kAll,   0,    {{18, 64, 4}}},
  {"height_lies",            false,  40,  0, kAll,   0,    {{22, 127, 4}}},
  {"height_most_negative",   false,  40,  0, kAll,   0,    {{22, 0x80000000, 4}}},
  {"depth_lies",             false,  40,  0, kAll,   0,    {{28, 32, 2}}},
  {"compressed",             false,  40,  0, kAll,   0,    {{30, 1, 4}}},
  {"offset_in_header",       false,  40,  0, kAll,   0,    {{10, 40, 4}}},
  {"offset_in_v5_header",    false, 124,  0, kAll,   0,    {{10, 54, 4}}},
  {"offset_past_end",        false,  40,  0, kAll,   0,    {{10, 49207, 4}}},
  {"offset_too_late",        false,  40,  0, kAll,   0,    {{10, 64, 4}}},
  {"offset_huge",            false,  40,  0, kAll,   0,    {{10, 0xFFFFFFFF, 4}}},
  {"file_size_lies",         false,  40,  0, kAll,   0,    {{2, 7, 4}}},
};
// clang-format on

void Put(std::vector<unsigned char>& file, const Field& field) {
    for (int i = 0; i < field.bytes; ++i)
        file[field.at + static_cast<size_t>(i)] =
            static_cast<unsigned char>(field.value >> (8 * i));
}

std::vector<unsigned char> Build(const Seed& seed) {
    const uint32_t offset = 14 + seed.infoSize + seed.gap;
    std::vector<unsigned char> file(std::max<size_t>(offset, 54), 0);
    const uint32_t height = seed.topDown ? static_cast<uint32_t>(-128) : 128u;
    const uint32_t size = static_cast<uint32_t>(offset + kPixelBytes);
    for (const Field& f : {Field{0, 'B' | 'M' << 8, 2},
                           {2, size, 4},
                           {10, offset, 4},
                           {14, seed.infoSize, 4},
                           {18, 128, 4},
                           {22, height, 4},
                           {26, 1, 2},
                           {28, 24, 2},
                           {30, 0, 4},
                           {34, static_cast<uint32_t>(kPixelBytes), 4}})
        Put(file, f);
    file.resize(offset);
    // A picture with edges and gradients: stored row k, column c.
    for (unsigned k = 0; k < 128; ++k)
        for (unsigned c = 0; c < 128; ++c)
            for (unsigned v : {k * 2, c * 2, (k ^ c) & 0xFF})
                file.push_back(static_cast<unsigned char>(v));
    file.resize(file.size() + seed.trailing, 0x5A);
    for (const Field& f : seed.lies) Put(file, f);
    if (seed.keep < file.size()) file.resize(seed.keep);
    return file;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    if (error) {
        std::fprintf(stderr, "make_bitmap_corpus: %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    for (const Seed& seed : kSeeds) {
        const std::string path = std::string(argv[1]) + "/" + seed.name + ".bmp";
        const std::vector<unsigned char> bytes = Build(seed);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "make_bitmap_corpus: %s: %s\n", path.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    std::printf("%zu seed files in %s\n", std::size(kSeeds), argv[1]);
    return 0;
}
