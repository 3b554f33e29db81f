#include "png_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t kChannels = 4;
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColourTypeRgba = 6;
constexpr std::uint8_t kFilterNone = 0;
constexpr std::size_t kMaxStoredBlock = 65535;  // a stored deflate block's length is 16 bits
constexpr std::uint8_t kZlibMethod = 0x78;      // deflate, 32 KiB window
constexpr std::uint8_t kZlibFlags = 0x01;       // no dictionary; (0x78 << 8 | 0x01) % 31 == 0
constexpr std::uint32_t kAdlerModulus = 65521;
constexpr std::uint32_t kCrcPolynomial = 0xEDB88320u;  // reflected CRC-32, as PNG defines it
constexpr unsigned kBitsPerByte = 8;
constexpr std::uint32_t kByteMask = 0xFFu;

void PutU32BigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (unsigned byte = 4; byte > 0; --byte)  // most significant first
        out.push_back(
            static_cast<std::uint8_t>((value >> ((byte - 1) * kBitsPerByte)) & kByteMask));
}

void PutU16LittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & kByteMask));
    out.push_back(static_cast<std::uint8_t>((value >> kBitsPerByte) & kByteMask));
}

std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < table.size(); ++n) {
        std::uint32_t c = n;
        for (unsigned k = 0; k < kBitsPerByte; ++k)
            c = (c & 1u) ? kCrcPolynomial ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = MakeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = table[(c ^ data[i]) & kByteMask] ^ (c >> kBitsPerByte);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % kAdlerModulus;
        b = (b + a) % kAdlerModulus;
    }
    return (b << 16) | a;
}

// A chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
              const std::vector<std::uint8_t>& data) {
    PutU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32BigEndian(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

// The zlib stream of `raw` in stored blocks.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out = {kZlibMethod, kZlibFlags};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kMaxStoredBlock, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        PutU16LittleEndian(out, static_cast<std::uint32_t>(length));
        PutU16LittleEndian(out, static_cast<std::uint32_t>(~length & 0xFFFFu));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    PutU32BigEndian(out, Adler32(raw));
    return out;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

RgbaImage::RgbaImage(int imageWidth, int imageHeight)
    : width(imageWidth),
      height(imageHeight),
      pixels(static_cast<std::size_t>(imageWidth) * static_cast<std::size_t>(imageHeight) *
             kChannels) {}

std::uint8_t* RgbaImage::At(int x, int y) {
    return &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)) *
                   kChannels];
}

bool WriteRgbaPng(const std::string& path, const RgbaImage& image, std::string& errorReason) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * kChannels;
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(kFilterNone);
        const auto row = image.pixels.begin() +
                         static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * rowBytes);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }

    std::vector<std::uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutU32BigEndian(header, static_cast<std::uint32_t>(image.width));
    PutU32BigEndian(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {kBitDepth, kColourTypeRgba, 0, 0, 0});  // deflate, adaptive, none
    PutChunk(bytes, "IHDR", header);
    PutChunk(bytes, "IDAT", StoredZlib(raw));
    PutChunk(bytes, "IEND", {});

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fclose(file.release()) != 0) {
        errorReason = std::strerror(errno);
        return false;
    }
    return true;
}
