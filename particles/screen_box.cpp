// A particle's scissor box from the transform and the sprite's reach.
//
// Each particle is drawn as the whole quad, so every fragment keeps the texture coordinates the
// quad gives it, but only inside a scissor box around the part of the sprite that can pass the
// cutoff. (Drawing a smaller polygon instead would move samples: the rasterizer derives each
// triangle's interpolation from its own vertices, and even the same quad started at another
// corner changes a few pixels by one step.)
#include "particles/screen_box.h"

#include <algorithm>
#include <cmath>

#include "common/widths.h"

namespace {
constexpr double kPixelSlack = 0.0625;  // pixels added around a box for the transform's rounding
constexpr double kSimilarity = 1e-4;    // relative deviation from a turn and scale still allowed
constexpr double kNearestW = 1e-6;      // clip w in front of the eye still trusted
constexpr double kHalfTurn = 3.141592653589793;  // radians
constexpr int kMatrixSide = 4;

// The first pixel whose centre lies at or beyond `edge`, widened by the slack towards `outward`.
int PixelEdge(double edge, double outward) {
    return TruncInt(std::floor(edge - 0.5 + outward * kPixelSlack)) + 1;
}

// Box of the pixels whose centres lie in [left, right] x [bottom, top], widened for rounding and
// cut to `limit`; false when it is empty.
bool PixelBox(double left, double right, double bottom, double top, const ScreenBox& limit,
              ScreenBox& box) {
    const int first = std::max(PixelEdge(left, -1), limit.left);
    const int lowest = std::max(PixelEdge(bottom, -1), limit.bottom);
    const int beyond = std::min(PixelEdge(right, 1), limit.left + limit.width);
    const int above = std::min(PixelEdge(top, 1), limit.bottom + limit.height);
    box = {first, lowest, beyond - first, above - lowest};
    return box.width > 0 && box.height > 0;
}
}  // namespace

SpritePlaneView ViewSpritePlane(const double projection[16], const double modelview[16],
                                const int viewport[4]) {
    SpritePlaneView view;
    double* m = view.clipFromScene;
    for (int column = 0; column < kMatrixSide; ++column) {
        for (int row = 0; row < kMatrixSide; ++row) {
            double sum = 0.0;
            for (int k = 0; k < kMatrixSide; ++k) {
                sum += projection[k * kMatrixSide + row] * modelview[column * kMatrixSide + k];
            }
            m[column * kMatrixSide + row] = sum;
        }
    }
    view.viewportLeft = viewport[0];
    view.viewportBottom = viewport[1];
    view.halfWidth = viewport[2] * 0.5;
    view.halfHeight = viewport[3] * 0.5;
    // Pixels per scene unit (times w) along the plane's x and y axes.
    const double xRight = m[0] * view.halfWidth, xUp = m[1] * view.halfHeight;
    const double yRight = m[4] * view.halfWidth, yUp = m[5] * view.halfHeight;
    view.pixelsPerUnit = std::hypot(xRight, xUp);
    const double deviation = std::hypot(xRight - yUp, xUp + yRight);
    view.turnAndScale = m[3] == 0.0 && m[7] == 0.0 && view.pixelsPerUnit > 0.0 &&
                        deviation <= kSimilarity * view.pixelsPerUnit;
    view.planeTurn = std::atan2(xUp, xRight);
    view.widening =
        view.pixelsPerUnit > 0.0 ? deviation / view.pixelsPerUnit * std::sqrt(2.0) : 0.0;
    return view;
}

bool ParticleScreenBox(const SpritePlaneView& view, const SpriteProfile& sprite, int level,
                       const SpriteQuad& quad, const ScreenBox& limit, ScreenBox& box) {
    const double* m = view.clipFromScene;
    const double w = m[3] * quad.x + m[7] * quad.y + m[11] * quad.z + m[15];
    const double spriteTurn = view.planeTurn + quad.turn + (quad.halfSide < 0.0 ? kHalfTurn : 0.0);
    double reach[4];  // right, up, left, down, in texture coordinates
    if (!SpriteBox(sprite, level, spriteTurn, reach)) return false;
    if (w < kNearestW) {  // the centre is behind the eye
        return PixelBox(-kUnlimitedPixels, kUnlimitedPixels, -kUnlimitedPixels, kUnlimitedPixels,
                        limit, box);
    }
    const double centreX =
        view.viewportLeft +
        ((m[0] * quad.x + m[4] * quad.y + m[8] * quad.z + m[12]) / w + 1.0) * view.halfWidth;
    const double centreY =
        view.viewportBottom +
        ((m[1] * quad.x + m[5] * quad.y + m[9] * quad.z + m[13]) / w + 1.0) * view.halfHeight;
    // Pixels per texture coordinate: the quad's side is twice its half side.
    const double pixels = view.pixelsPerUnit * 2.0 * std::fabs(quad.halfSide) / w;
    const double widen =
        view.widening * std::min(static_cast<double>(sprite.reach[level]), 1.0) * pixels;
    return PixelBox(centreX - reach[2] * pixels - widen, centreX + reach[0] * pixels + widen,
                    centreY - reach[3] * pixels - widen, centreY + reach[1] * pixels + widen, limit,
                    box);
}
