// Fragments that cannot change a pixel are discarded before blending, which saves most of the
// pass's fill work (the sprite's dark corners, the long faint tail of each particle's life).
//
// A fragment of alpha A adds colour x A to the buffer. Its colour is at most brightest x A x R:
// the vertex colour is the particle's base colour times its scale times its fade, the vertex
// alpha is the fade, and a texel's channel is at most R times its alpha. R is measured from the
// sprite (1 for a grey one); without a measure it is 3, as the alpha is the channels' mean. So
// below the cutoff a fragment adds less than a quarter of the buffer's smallest step, which
// rounding drops: the picture is the same as without the test.
#include "particles/alpha_cutoff.h"

#include <algorithm>
#include <cmath>

#include "common/widths.h"

namespace {
constexpr double kTexelChannelPerAlpha = 3.0;
constexpr double kDroppedStepFraction = 0.25;
constexpr int kWidestChannel = 16;    // bits; wider buffers are treated as 16-bit
constexpr double kLevelSlack = 1e-3;  // relative: a fragment this close to the cutoff may pass
constexpr double kTopLevel = kAlphaLevels - 1;

double SmallestColourStep(int colourBits) {
    return 1.0 / ((1u << std::min(std::max(colourBits, 1), kWidestChannel)) - 1);
}
}  // namespace

float InvisibleAlpha(double brightest, const SpriteProfile& sprite, int colourBits) {
    if (brightest <= 0.0) return 0.0f;
    const double channelPerAlpha = sprite.trusted && sprite.channelPerAlpha > 0.0f
                                       ? static_cast<double>(sprite.channelPerAlpha)
                                       : kTexelChannelPerAlpha;
    return StoreFloat(std::sqrt(SmallestColourStep(colourBits) * kDroppedStepFraction /
                                (channelPerAlpha * brightest)));
}

int LowestPassingLevel(float cutoff, double alpha) {
    // No texel is brighter than 1: every fragment would be discarded.
    if (StoreFloat(alpha) <= cutoff) return kAlphaLevels;
    // A texel of level v passes only if v / 255 x alpha > cutoff.
    const double level =
        std::floor(static_cast<double>(cutoff) * kTopLevel * (1.0 - kLevelSlack) / alpha) + 1.0;
    return level < kAlphaLevels ? static_cast<int>(level) : kAlphaLevels;
}
