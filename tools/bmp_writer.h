// Writes greyscale images as uncompressed 24-bit Windows BMP files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A greyscale image in "stored order": row 0 is the first row written after the
// headers. The consumer uploads rows in file order, so stored row 0 ends up at
// the top of its texture.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height values, row by row

    GreyImage(int imageWidth, int imageHeight);

    std::uint8_t At(int x, int y) const;
    void Set(int x, int y, std::uint8_t value);
};

// Writes the image with blue = green = red = grey value, rows in stored order
// (positive height, i.e. a "bottom-up" BMP whose first stored row is row 0).
// Returns false and fills errorReason when the file cannot be written.
bool WriteGreyBmp(const std::string& path, const GreyImage& image, std::string& errorReason);
