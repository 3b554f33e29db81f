// libFuzzer target for the bitmap reader. Each input is a whole file: its first bytes go through
// the header check as the loader reads them, and when the check accepts the file, its pixels go
// through the conversion in both alpha modes. A sanitizer report or a broken promise of the
// reader (checked below) aborts, which libFuzzer records as a finding.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "common/texels.h"
#include "scene/bitmap_file.h"

namespace {
constexpr size_t kOffReserved = 6;  // four header bytes the reader ignores

void Require(bool holds) {
    if (!holds) std::abort();
}

// The first stored pixel is the picture's bottom-left corner in a bottom-up file, its top-left
// in a top-down one; in the buffer the picture's top row comes first.
void CheckCorner(const BitmapPixels& pixels, bool bottomUp, const TexelBuffer& texels) {
    const unsigned char* texel =
        &texels[bottomUp ? (kBitmapSide - 1) * kBitmapSide * kTexelBytes : 0];
    Require(texel[0] == pixels[2] && texel[1] == pixels[1] && texel[2] == pixels[0]);
}

// The checks over every texel are left out of the coverage feedback: their branches say nothing
// about the reader, and tracing their comparisons would make each run about ten times slower.
#define WISPRA_NO_COVERAGE __attribute__((no_sanitize("coverage")))

// Averaging: each alpha lies between the darkest and the brightest of its three colours.
WISPRA_NO_COVERAGE void CheckAveraging(const TexelBuffer& texels) {
    for (size_t i = 0; i < texels.size(); i += 4) {
        const unsigned char* t = &texels[i];
        const int darkest = std::min(std::min(t[0], t[1]), t[2]);
        const int brightest = std::max(std::max(t[0], t[1]), t[2]);
        Require(darkest <= t[3] && t[3] <= brightest);
    }
}

// Threshold mode: alpha 0 exactly where all three colours are below the threshold.
WISPRA_NO_COVERAGE void CheckThreshold(const TexelBuffer& texels, int alpha, int threshold) {
    for (size_t i = 0; i < texels.size(); i += 4) {
        const unsigned char* t = &texels[i];
        const bool below = t[0] < threshold && t[1] < threshold && t[2] < threshold;
        Require(t[3] == (below ? 0 : alpha));
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the bytes the loader hands over, in a buffer of their size, so that reading past
    // them is reported.
    const std::vector<unsigned char> head(data, data + std::min(size, kBitmapHeaderBytes));
    const BitmapHeader header = CheckBitmapHeader(head.data(), head.size(), size);
    Require(std::memchr(header.reason, '\0', sizeof header.reason) != nullptr);
    Require(header.valid == (header.reason[0] == '\0'));
    if (!header.valid) return 0;
    Require(header.pixelOffset >= kBitmapHeaderBytes);
    Require(size - header.pixelOffset >= kBitmapPixelBytes);

    const auto pixels = std::make_unique<BitmapPixels>();
    const auto texels = std::make_unique<TexelBuffer>();
    std::memcpy(pixels->data(), data + header.pixelOffset, pixels->size());

    ConvertBitmapPixels(*pixels, header.bottomUp, -1, 0, *texels);
    CheckCorner(*pixels, header.bottomUp, *texels);
    CheckAveraging(*texels);

    // Threshold mode, with the alpha and a signed threshold taken from the reserved bytes.
    const int alpha = head[kOffReserved];
    const int threshold =
        static_cast<int16_t>(head[kOffReserved + 2] | head[kOffReserved + 3] << 8);
    ConvertBitmapPixels(*pixels, header.bottomUp, alpha, threshold, *texels);
    CheckCorner(*pixels, header.bottomUp, *texels);
    CheckThreshold(*texels, alpha, threshold);
    return 0;
}
