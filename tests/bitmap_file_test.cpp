// The bitmap reader without GL: the headers it accepts and where it then finds the pixels, the
// reason it gives for each header it refuses, and how stored pixels become texels.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "scene/bitmap_file.h"

namespace {
constexpr uint64_t kConforming = 54 + 49152;  // bytes in a file with nothing else

struct Field {
    size_t at;
    uint32_t value;
    int bytes;
};

// A 54-byte header of a bottom-up file with its pixels right after it, with fields changed.
std::vector<unsigned char> Header(std::initializer_list<Field> changes = {}) {
    std::vector<unsigned char> header(54, 0xEE);  // fields the reader never looks at hold junk
    for (const Field& f : {Field{0, 'B' | 'M' << 8, 2},
                           {10, 54, 4},
                           {14, 40, 4},
                           {18, 128, 4},
                           {22, 128, 4},
                           {28, 24, 2},
                           {30, 0, 4}})
        for (int i = 0; i < f.bytes; ++i) header[f.at + size_t(i)] = uint8_t(f.value >> (8 * i));
    for (const Field& f : changes)
        for (int i = 0; i < f.bytes; ++i) header[f.at + size_t(i)] = uint8_t(f.value >> (8 * i));
    return header;
}

std::string Reason(const std::vector<unsigned char>& header, uint64_t fileBytes = kConforming) {
    const BitmapHeader checked = CheckBitmapHeader(header.data(), header.size(), fileBytes);
    EXPECT_FALSE(checked.valid);
    return checked.reason;
}
}  // namespace

TEST(BitmapHeader, FindsThePixelsAndTheRowOrder) {
    const BitmapHeader plain = CheckBitmapHeader(Header().data(), 54, kConforming);
    EXPECT_TRUE(plain.valid);
    EXPECT_EQ(plain.pixelOffset, 54u);
    EXPECT_TRUE(plain.bottomUp);
    EXPECT_STREQ(plain.reason, "");
    // Negative height: top-down rows. The offset is honoured, and bytes after the pixels are fine.
    const std::vector<unsigned char> topDown = Header({{22, uint32_t(-128), 4}, {10, 74, 4}});
    for (uint64_t size : {kConforming + 20, kConforming + 21, uint64_t(1) << 40}) {
        const BitmapHeader checked = CheckBitmapHeader(topDown.data(), 54, size);
        EXPECT_TRUE(checked.valid) << size << checked.reason;
        EXPECT_EQ(checked.pixelOffset, 74u);
        EXPECT_FALSE(checked.bottomUp);
    }
    // The later Windows headers keep the same fields at the same places; their pixels follow them.
    for (uint32_t size : {108u, 124u}) {
        const uint32_t offset = 14 + size;
        const BitmapHeader checked = CheckBitmapHeader(
            Header({{14, size, 4}, {10, offset, 4}}).data(), 54, kConforming - 54 + offset);
        EXPECT_TRUE(checked.valid) << size << checked.reason;
        EXPECT_EQ(checked.pixelOffset, offset);
    }
    // Only the header's bytes are looked at: more of them change nothing.
    std::vector<unsigned char> longer = Header();
    longer.resize(200, 0x55);
    EXPECT_TRUE(CheckBitmapHeader(longer.data(), longer.size(), kConforming).valid);
}

TEST(BitmapHeader, SaysWhyItRefuses) {
    std::vector<unsigned char> cut = Header();
    cut.resize(53);
    EXPECT_EQ(Reason(cut), "too short for a bitmap header");
    EXPECT_EQ(Reason({}), "too short for a bitmap header");
    EXPECT_EQ(Reason(Header({{1, 'X', 1}})), "not a bitmap file (no BM signature)");
    // A 12-byte header holds 16-bit sizes where the 40-byte one has its 32-bit fields.
    const std::vector<unsigned char> core =
        Header({{10, 26, 4}, {14, 12, 4}, {18, 128, 2}, {20, 128, 2}, {22, 1, 2}, {24, 24, 2}});
    EXPECT_EQ(Reason(core), "unsupported header (size 12)");
    EXPECT_EQ(Reason(Header({{14, 56, 4}})), "unsupported header (size 56)");
    EXPECT_EQ(Reason(Header({{14, 0, 4}})), "unsupported header (size 0)");
    EXPECT_EQ(Reason(Header({{14, 0xFFFFFFFF, 4}})), "unsupported header (size 4294967295)");
    EXPECT_EQ(Reason(Header({{18, 64, 4}})), "is 64 x 128 pixels, expected 128 x 128");
    EXPECT_EQ(Reason(Header({{22, 127, 4}})), "is 128 x 127 pixels, expected 128 x 128");
    EXPECT_EQ(Reason(Header({{22, uint32_t(-127), 4}})),
              "is 128 x -127 pixels, expected 128 x 128");
    EXPECT_EQ(Reason(Header({{28, 32, 2}})), "has 32 bits per pixel, expected 24");
    EXPECT_EQ(Reason(Header({{30, 1, 4}})), "is compressed (method 1), expected uncompressed");
    EXPECT_EQ(Reason(Header({{10, 53, 4}})), "pixel data offset 53 lies inside the 54-byte header");
    EXPECT_EQ(Reason(Header({{10, 0, 4}})), "pixel data offset 0 lies inside the 54-byte header");
    EXPECT_EQ(Reason(Header({{14, 124, 4}}), uint64_t(1) << 20),
              "pixel data offset 54 lies inside the 138-byte header");
    EXPECT_EQ(Reason(Header({{10, 49207, 4}})), "pixel data offset 49207 lies outside the file");
    EXPECT_EQ(Reason(Header({{10, 0xFFFFFFFF, 4}})),
              "pixel data offset 4294967295 lies outside the file");
    EXPECT_EQ(Reason(Header({{10, 64, 4}})), "ends after 49142 of 49152 pixel bytes");
    EXPECT_EQ(Reason(Header(), kConforming - 1), "ends after 49151 of 49152 pixel bytes");
    EXPECT_EQ(Reason(Header(), 54), "ends after 0 of 49152 pixel bytes");
}

namespace {
struct BitmapConversion : testing::Test {
    std::unique_ptr<BitmapPixels> pixels = std::make_unique<BitmapPixels>();
    std::unique_ptr<TexelBuffer> texels = std::make_unique<TexelBuffer>();

    // Sets stored row k, column c to blue, green, red.
    void Set(int k, int c, int b, int g, int r) {
        unsigned char* p = &(*pixels)[size_t(k * 128 + c) * 3];
        p[0] = uint8_t(b), p[1] = uint8_t(g), p[2] = uint8_t(r);
    }
    // Red, green, blue and alpha of buffer row `row` (0: the picture's top), column c.
    std::vector<int> Texel(int row, int c) const {
        const unsigned char* t = &(*texels)[size_t(row * 128 + c) * 4];
        return {t[0], t[1], t[2], t[3]};
    }
};
}  // namespace

TEST_F(BitmapConversion, AveragingTurnsColoursAroundAndTakesTheMeanBrightness) {
    for (int k = 0; k < 128; ++k)
        for (int c = 0; c < 128; ++c) Set(k, c, k, 2 * c, 7);
    Set(0, 0, 10, 20, 31);  // the first stored pixel: 61 / 3 = 20.33
    Set(127, 127, 255, 255, 255);
    Set(5, 9, 0, 0, 0);
    ConvertBitmapPixels(*pixels, true, -1, 0, *texels);
    // Bottom-up: the first stored row is the picture's bottom, at buffer row 127.
    EXPECT_EQ(Texel(127, 0), std::vector<int>({31, 20, 10, 20}));
    EXPECT_EQ(Texel(0, 127), std::vector<int>({255, 255, 255, 255}));
    EXPECT_EQ(Texel(122, 9), std::vector<int>({0, 0, 0, 0}));
    EXPECT_EQ(Texel(100, 50), std::vector<int>({7, 100, 27, (27 + 100 + 7) / 3}));
    // Top-down: the first stored row is the picture's top, at buffer row 0.
    ConvertBitmapPixels(*pixels, false, -1, 0, *texels);
    EXPECT_EQ(Texel(0, 0), std::vector<int>({31, 20, 10, 20}));
    EXPECT_EQ(Texel(127, 127), std::vector<int>({255, 255, 255, 255}));
    EXPECT_EQ(Texel(5, 9), std::vector<int>({0, 0, 0, 0}));
    EXPECT_EQ(Texel(27, 50), std::vector<int>({7, 100, 27, (27 + 100 + 7) / 3}));
}

TEST_F(BitmapConversion, ThresholdGivesNoAlphaOnlyWhenEveryColourIsBelowIt) {
    Set(0, 0, 15, 15, 15);
    Set(0, 1, 15, 16, 15);
    Set(0, 2, 16, 15, 15);
    Set(0, 3, 15, 15, 16);
    Set(0, 4, 255, 255, 255);
    ConvertBitmapPixels(*pixels, true, 200, 16, *texels);
    EXPECT_EQ(Texel(127, 0), std::vector<int>({15, 15, 15, 0}));
    EXPECT_EQ(Texel(127, 1), std::vector<int>({15, 16, 15, 200}));
    for (int c = 2; c < 5; ++c) EXPECT_EQ(Texel(127, c)[3], 200) << c;
    EXPECT_EQ(Texel(0, 0)[3], 0);  // black, from the zero-filled rest
    // Nothing is below 0, so black gets the alpha; everything is below 256, so white gets none.
    ConvertBitmapPixels(*pixels, true, 255, 0, *texels);
    EXPECT_EQ(Texel(0, 0)[3], 255);
    ConvertBitmapPixels(*pixels, true, 255, 256, *texels);
    EXPECT_EQ(Texel(127, 4), std::vector<int>({255, 255, 255, 0}));
}
