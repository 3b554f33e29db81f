// Bitmap header check and pixel conversion.
#include "scene/bitmap_file.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "common/texels.h"
#include "common/widths.h"

namespace {
constexpr int kBytesPerPixel = 3;  // blue, green, red
constexpr size_t kRowBytes =
    kBitmapSide * kBytesPerPixel;  // a multiple of 4: rows carry no padding
constexpr uint16_t kBitsPerPixel = 24;
constexpr uint32_t kUncompressed = 0;

// The information headers that keep width, height, depth and compression where the 40-byte one
// has them: the 40-byte header and the two later Windows headers that extend it.
constexpr uint32_t kInfoHeaderSizes[] = {40, 108, 124};
constexpr uint32_t kFileHeaderBytes = 14;

// Header fields, by byte offset in the file.
constexpr size_t kOffPixelData = 10;
constexpr size_t kOffInfoSize = 14;
constexpr size_t kOffWidth = 18;
constexpr size_t kOffHeight = 22;
constexpr size_t kOffBitCount = 28;
constexpr size_t kOffCompression = 30;

uint32_t Le32(const unsigned char* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Texel alpha from a pixel's blue, green and red bytes.
unsigned char TexelAlpha(int b1, int b2, int b3, int alpha, int threshold) {
    if (alpha < 0) return static_cast<unsigned char>(TruncInt((b1 + b2 + b3) / 3.0));
    if (b1 < threshold && b2 < threshold && b3 < threshold) return 0;
    return static_cast<unsigned char>(alpha & 0xFF);
}
}  // namespace

BitmapHeader CheckBitmapHeader(const unsigned char* bytes, size_t count, uint64_t fileBytes) {
    BitmapHeader header;
    char* reason = header.reason;
    if (count < kBitmapHeaderBytes) {
        std::snprintf(reason, kBitmapReasonBytes, "too short for a bitmap header");
        return header;
    }
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        std::snprintf(reason, kBitmapReasonBytes, "not a bitmap file (no BM signature)");
        return header;
    }
    const uint32_t infoSize = Le32(bytes + kOffInfoSize);
    if (std::find(std::begin(kInfoHeaderSizes), std::end(kInfoHeaderSizes), infoSize) ==
        std::end(kInfoHeaderSizes)) {
        std::snprintf(reason, kBitmapReasonBytes, "unsupported header (size %lu)",
                      static_cast<unsigned long>(infoSize));
        return header;
    }
    const int32_t width = static_cast<int32_t>(Le32(bytes + kOffWidth));
    const int32_t height = static_cast<int32_t>(Le32(bytes + kOffHeight));
    if (width != kBitmapSide || (height != kBitmapSide && height != -kBitmapSide)) {
        std::snprintf(reason, kBitmapReasonBytes, "is %ld x %ld pixels, expected 128 x 128",
                      static_cast<long>(width), static_cast<long>(height));
        return header;
    }
    const uint16_t bits = Le16(bytes + kOffBitCount);
    if (bits != kBitsPerPixel) {
        std::snprintf(reason, kBitmapReasonBytes, "has %u bits per pixel, expected 24", bits);
        return header;
    }
    const uint32_t compression = Le32(bytes + kOffCompression);
    if (compression != kUncompressed) {
        std::snprintf(reason, kBitmapReasonBytes,
                      "is compressed (method %lu), expected uncompressed",
                      static_cast<unsigned long>(compression));
        return header;
    }
    const uint32_t offset = Le32(bytes + kOffPixelData);
    const uint32_t headerBytes = kFileHeaderBytes + infoSize;
    if (offset < headerBytes) {
        std::snprintf(reason, kBitmapReasonBytes,
                      "pixel data offset %lu lies inside the %lu-byte header",
                      static_cast<unsigned long>(offset), static_cast<unsigned long>(headerBytes));
        return header;
    }
    if (offset > fileBytes) {
        std::snprintf(reason, kBitmapReasonBytes, "pixel data offset %lu lies outside the file",
                      static_cast<unsigned long>(offset));
        return header;
    }
    if (fileBytes - offset < kBitmapPixelBytes) {
        std::snprintf(reason, kBitmapReasonBytes, "ends after %llu of 49152 pixel bytes",
                      static_cast<unsigned long long>(fileBytes - offset));
        return header;
    }
    header.valid = true;
    header.pixelOffset = offset;
    header.bottomUp = height > 0;
    return header;
}

void ConvertBitmapPixels(const BitmapPixels& pixels, bool bottomUp, int alpha, int threshold,
                         TexelBuffer& texels) {
    for (int k = 0; k < kBitmapSide; ++k) {  // stored row k
        const int row = bottomUp ? kBitmapSide - 1 - k : k;
        const unsigned char* in = &pixels[static_cast<size_t>(k) * kRowBytes];
        unsigned char* out = &texels[static_cast<size_t>(row) * kBitmapSide * kTexelBytes];
        for (int c = 0; c < kBitmapSide; ++c, in += kBytesPerPixel, out += kTexelBytes) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = TexelAlpha(in[0], in[1], in[2], alpha, threshold);
        }
    }
}
