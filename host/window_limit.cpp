// The largest window the program draws in, and the line that says so.
#include "host/window_limit.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "host/host_options.h"

namespace {
constexpr int kRendererTile = 64;                      // pixels, a side of the renderer's tile
constexpr int64_t kMaxBufferBytes = int64_t{1} << 31;  // the largest buffer the renderer makes
constexpr int64_t kSampleBytes = 4;  // of a colour sample (RGBA) and of a depth one
// The most pixels one frame of the renderer's binning holds, whatever the samples: beyond it a
// frame takes several of its scenes at once, and the spare scenes keep the large buffers alive
// long after the window is small again.
constexpr int64_t kMaxBinnedPixels = int64_t{1} << 27;

int64_t RoundUpToTiles(int pixels) {
    return (int64_t{pixels} + kRendererTile - 1) / kRendererTile * kRendererTile;
}

// The most pixels of whole tiles drawn with `samples` per pixel.
int64_t MaxDrawnPixels(int samples) {
    return std::min(kMaxBinnedPixels,
                    kMaxBufferBytes / (int64_t{std::max(samples, 1)} * kSampleBytes));
}
}  // namespace

bool WindowDrawable(int width, int height, int samples) {
    if (width > kMaxWindowSide || height > kMaxWindowSide) return false;
    return RoundUpToTiles(width) * RoundUpToTiles(height) <= MaxDrawnPixels(samples);
}

void WarnWindowTooLarge(int width, int height, int samples) {
    std::fprintf(
        stderr,
        "wispra: the window is %d x %d pixels, more than the renderer can draw (%d a side, "
        "%lld pixels in all); nothing is drawn until it is smaller\n",
        width, height, kMaxWindowSide, static_cast<long long>(MaxDrawnPixels(samples)));
}
