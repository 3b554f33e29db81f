#include "bmp_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelDataOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr std::uint16_t kPlanes = 1;
constexpr std::uint16_t kBitsPerPixel = 24;
constexpr std::uint32_t kBytesPerPixel = kBitsPerPixel / 8;
constexpr std::uint32_t kCompressionNone = 0;   // BI_RGB
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch; purely informative
constexpr std::uint32_t kRowAlignment = 4;      // BMP rows are padded to 4 bytes
constexpr unsigned kBitsPerByte = 8;
constexpr std::uint32_t kByteMask = 0xFFu;

std::uint8_t ByteOf(std::uint32_t value, unsigned byteIndex) {
    return static_cast<std::uint8_t>((value >> (byteIndex * kBitsPerByte)) & kByteMask);
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    for (unsigned i = 0; i < sizeof(value); ++i) out.push_back(ByteOf(value, i));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (unsigned i = 0; i < sizeof(value); ++i) out.push_back(ByteOf(value, i));
}

// Two's complement bit pattern, which is what the file format stores for signed fields.
void PutI32(std::vector<std::uint8_t>& out, std::int32_t value) {
    PutU32(out, static_cast<std::uint32_t>(value));
}

std::uint32_t ToU32(int value) {
    return value < 0 ? 0u : static_cast<std::uint32_t>(value);
}

std::size_t IndexOf(const GreyImage& image, int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
           static_cast<std::size_t>(x);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

GreyImage::GreyImage(int imageWidth, int imageHeight)
    : width(imageWidth),
      height(imageHeight),
      pixels(static_cast<std::size_t>(ToU32(imageWidth)) * ToU32(imageHeight), 0) {}

std::uint8_t GreyImage::At(int x, int y) const {
    return pixels[IndexOf(*this, x, y)];
}

void GreyImage::Set(int x, int y, std::uint8_t value) {
    pixels[IndexOf(*this, x, y)] = value;
}

bool WriteGreyBmp(const std::string& path, const GreyImage& image, std::string& errorReason) {
    const std::uint32_t width = ToU32(image.width);
    const std::uint32_t height = ToU32(image.height);
    const std::uint32_t rowBytes = width * kBytesPerPixel;
    const std::uint32_t rowStride = (rowBytes + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    const std::uint32_t imageSize = rowStride * height;
    const std::uint32_t fileSize = kPixelDataOffset + imageSize;

    std::vector<std::uint8_t> bytes;
    bytes.reserve(fileSize);

    // File header.
    bytes.push_back('B');
    bytes.push_back('M');
    PutU32(bytes, fileSize);
    PutU16(bytes, 0);  // reserved
    PutU16(bytes, 0);  // reserved
    PutU32(bytes, kPixelDataOffset);

    // BITMAPINFOHEADER. A positive height means rows are stored bottom-up; the
    // consumer simply takes them in file order.
    PutU32(bytes, kInfoHeaderSize);
    PutI32(bytes, image.width);
    PutI32(bytes, image.height);
    PutU16(bytes, kPlanes);
    PutU16(bytes, kBitsPerPixel);
    PutU32(bytes, kCompressionNone);
    PutU32(bytes, imageSize);
    PutI32(bytes, kPixelsPerMetre);
    PutI32(bytes, kPixelsPerMetre);
    PutU32(bytes, 0);  // colours used: none (no palette)
    PutU32(bytes, 0);  // important colours: all

    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t grey = image.At(x, y);
            bytes.push_back(grey);  // blue
            bytes.push_back(grey);  // green
            bytes.push_back(grey);  // red
        }
        for (std::uint32_t pad = rowBytes; pad < rowStride; ++pad) bytes.push_back(0);
    }

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        errorReason = std::strerror(errno);
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        errorReason = std::strerror(errno);
        return false;
    }
    // Closing flushes; a failure here (e.g. a full disk) must not go unnoticed.
    if (std::fclose(file.release()) != 0) {
        errorReason = std::strerror(errno);
        return false;
    }
    return true;
}
