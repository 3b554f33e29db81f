// Reading the scene's 128 x 128, 24-bit, uncompressed bitmap files: pure functions over bytes that
// check a header and turn the stored blue-green-red rows into RGBA texels. No GL, no file access.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int kBitmapSide = 128;                                     // pixels per row and column
constexpr size_t kBitmapHeaderBytes = 54;                            // file and information header
constexpr size_t kBitmapPixelBytes = kBitmapSide * kBitmapSide * 3;  // blue, green, red; no padding
constexpr size_t kTexelBufferBytes = kBitmapSide * kBitmapSide * 4;  // red, green, blue, alpha
constexpr size_t kBitmapReasonBytes = 96;

using BitmapPixels = std::array<unsigned char, kBitmapPixelBytes>;  // stored rows, file order
using TexelBuffer = std::array<unsigned char, kTexelBufferBytes>;   // picture's top row first

// What a header check found: where the pixels are and which way the rows run, or why the file
// cannot be used.
struct BitmapHeader {
    bool valid = false;
    uint32_t pixelOffset = 0;  // byte offset of the first stored row
    bool bottomUp = true;      // the first stored row is the picture's bottom row
    // When not valid, why: e.g. "has 32 bits per pixel, expected 24".
    char reason[kBitmapReasonBytes] = "";
};

// Checks the first `count` bytes of a file of `fileBytes` bytes (at least kBitmapHeaderBytes of
// them are needed) against the one layout the scene draws with. When valid, the file holds all
// kBitmapPixelBytes pixel bytes from pixelOffset on.
BitmapHeader CheckBitmapHeader(const unsigned char* bytes, size_t count, uint64_t fileBytes);

// Fills the texels from the stored rows so that the picture's top row lands at buffer row 0
// (texture t = 0). alpha < 0: each texel's alpha is its mean brightness, truncated; 0..255: alpha
// is that value unless all three colour bytes are below threshold (then 0).
void ConvertBitmapPixels(const BitmapPixels& pixels, bool bottomUp, int alpha, int threshold,
                         TexelBuffer& texels);
