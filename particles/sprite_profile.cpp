// The sprite's reach by alpha level, from its texels alone.
#include "particles/sprite_profile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "common/texels.h"
#include "common/widths.h"

namespace {
constexpr double kTurn = 6.283185307179586;  // radians in a full turn
constexpr double kStep = kTurn / kProfileDirections;
// Between two sampled directions the reach along a direction is at most the linear blend of
// theirs, the positive ones widened by this factor (the angle over the chord's sine).
const double kBetweenDirections = kStep / std::sin(kStep);

int AlphaAt(const unsigned char* rgba, int width, int x, int y) {
    const size_t texel =
        static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    return rgba[texel * kTexelBytes + kAlphaByte];
}

// The alpha a sample can read at column x, row y, where either may lie one texel beyond the
// image: the largest of what repeat, clamp and the border would give there.
int ReadableAlpha(const unsigned char* rgba, int width, int height, int x, int y, int borderAlpha) {
    if (x >= 0 && x < width && y >= 0 && y < height) return AlphaAt(rgba, width, x, y);
    const int repeatX = (x + width) % width, repeatY = (y + height) % height;
    const int clampX = std::clamp(x, 0, width - 1), clampY = std::clamp(y, 0, height - 1);
    return std::max({AlphaAt(rgba, width, repeatX, repeatY), AlphaAt(rgba, width, clampX, clampY),
                     std::clamp(borderAlpha, 0, kAlphaLevels - 1)});
}

// Largest brightest-channel-to-alpha ratio over the texels; 0 when a texel has colour and no
// alpha, which no ratio bounds.
double ChannelPerAlpha(const unsigned char* rgba, int width, int height) {
    double ratio = 0.0;
    const size_t texels = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < texels; ++i) {
        const unsigned char* t = rgba + i * kTexelBytes;
        const int channel = std::max({t[0], t[1], t[2]});
        if (t[kAlphaByte] == 0) {
            if (channel > 0) return 0.0;
            continue;
        }
        ratio = std::max(ratio, static_cast<double>(channel) / t[kAlphaByte]);
    }
    return ratio;
}

// Linear blend of the widened extents around direction `phase` (in steps, any real number).
double ExtentAt(const float* extents, double phase) {
    const double whole = std::floor(phase);
    const double t = phase - whole;
    const int k =
        static_cast<int>(whole - std::floor(whole / kProfileDirections) * kProfileDirections) %
        kProfileDirections;
    return (1.0 - t) * extents[k] + t * extents[(k + 1) % kProfileDirections];
}
}  // namespace

SpriteProfile MeasureSpriteProfile(const unsigned char* rgba, int width, int height,
                                   int borderAlpha) {
    SpriteProfile profile;
    if (rgba == nullptr || width <= 0 || height <= 0) return profile;
    // A linear sample reads the four texels whose centres lie less than a texel away from it
    // along each axis: a texel feeds the points of the square of two texels' side around it.
    const double sw = 1.0 / width, sh = 1.0 / height;
    double cosines[kProfileDirections], sines[kProfileDirections];
    for (int k = 0; k < kProfileDirections; ++k) {
        cosines[k] = std::cos(k * kStep);
        sines[k] = std::sin(k * kStep);
    }
    // Farthest reach of the texels of exactly each alpha, then of each alpha or more.
    static_assert(kAlphaLevels == 256, "alpha levels are the byte values");
    double reach[kAlphaLevels];
    std::fill_n(reach, kAlphaLevels, -1.0);
    double extent[kAlphaLevels][kProfileDirections];
    for (auto& level : extent) std::fill_n(level, kProfileDirections, -1e30);
    for (int y = -1; y <= height; ++y) {
        for (int x = -1; x <= width; ++x) {
            const int alpha = ReadableAlpha(rgba, width, height, x, y, borderAlpha);
            const double dx = (x + 0.5) * sw - 0.5, dy = (y + 0.5) * sh - 0.5;
            reach[alpha] = std::max(reach[alpha], std::hypot(dx, dy) + std::hypot(sw, sh));
            for (int k = 0; k < kProfileDirections; ++k) {
                const double along = dx * cosines[k] + dy * sines[k] + std::fabs(cosines[k]) * sw +
                                     std::fabs(sines[k]) * sh;
                extent[alpha][k] = std::max(extent[alpha][k], along);
            }
        }
    }
    profile.channelPerAlpha = StoreFloat(ChannelPerAlpha(rgba, width, height));
    for (int v = kAlphaLevels - 2; v >= 0; --v) {
        reach[v] = std::max(reach[v], reach[v + 1]);
        for (int k = 0; k < kProfileDirections; ++k)
            extent[v][k] = std::max(extent[v][k], extent[v + 1][k]);
    }
    for (int v = 0; v < kAlphaLevels; ++v) {
        profile.reach[v] = StoreFloat(reach[v]);
        for (int k = 0; k < kProfileDirections; ++k) {
            const double e = extent[v][k];
            profile.extent[v][k] = StoreFloat(reach[v] < 0.0 ? 0.0
                                              : e > 0.0      ? e * kBetweenDirections
                                                             : e);
        }
    }
    profile.trusted = true;
    return profile;
}

bool SpriteBox(const SpriteProfile& profile, int level, double turn, double sides[4]) {
    if (!profile.trusted || level < 0 || level >= kAlphaLevels || profile.reach[level] < 0.0f) {
        return false;
    }
    // Reach to the right is the sprite's own reach along -turn; up, left and down follow at
    // quarter turns.
    const double phase = -turn / kStep;
    for (int side = 0; side < 4; ++side)
        sides[side] = ExtentAt(profile.extent[level], phase + side * (kProfileDirections / 4));
    return true;
}
