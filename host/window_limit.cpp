// The largest window the program draws in, and the line that says so.
#include "host/window_limit.h"

#include <cstdint>
#include <cstdio>

#include "host/options.h"

namespace {
constexpr int kRendererTile = 64;                      // pixels, a side of the renderer's tile
constexpr int64_t kMaxDrawnPixels = int64_t{1} << 27;  // pixels of whole tiles: 2^31 bytes
                                                       // at 4 samples of 4 bytes

int64_t RoundUpToTiles(int pixels) {
    return (int64_t{pixels} + kRendererTile - 1) / kRendererTile * kRendererTile;
}
}  // namespace

bool WindowDrawable(int width, int height) {
    if (width > kMaxWindowSide || height > kMaxWindowSide) return false;
    return RoundUpToTiles(width) * RoundUpToTiles(height) <= kMaxDrawnPixels;
}

void WarnWindowTooLarge(int width, int height) {
    std::fprintf(
        stderr,
        "wispra: the window is %d x %d pixels, more than the renderer can draw (%d a side, "
        "%lld pixels in all); nothing is drawn until it is smaller\n",
        width, height, kMaxWindowSide, static_cast<long long>(kMaxDrawnPixels));
}
