// Writes RGBA images as PNG files with uncompressed (stored) deflate blocks: a valid PNG that any
// reader takes, written without zlib or libpng, so that the build needs neither.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An 8-bit RGBA image, top row first, four bytes a pixel.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4 bytes

    RgbaImage(int imageWidth, int imageHeight);

    std::uint8_t* At(int x, int y);
};

// Returns false and fills errorReason when the file cannot be written.
bool WriteRgbaPng(const std::string& path, const RgbaImage& image, std::string& errorReason);
