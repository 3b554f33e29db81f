// Where a particle's sprite lands on the screen: the scissor box around the part of it that can
// pass the smoke pass's cutoff, as arithmetic on the transform and the viewport alone (no GL).
#pragma once

#include "particles/sprite_profile.h"

// A scissor box in window pixels.
struct ScreenBox {
    int left = 0, bottom = 0, width = 0, height = 0;
};

// No limit: a box larger than any window, for a caller without a scissor box of its own.
constexpr int kUnlimitedPixels = 1 << 24;
constexpr ScreenBox kUnlimitedBox = {-kUnlimitedPixels, -kUnlimitedPixels, 2 * kUnlimitedPixels,
                                     2 * kUnlimitedPixels};

// How the plane z = const of a particle's sprite reaches the window, taken once per pass.
struct SpritePlaneView {
    // The plane maps to the window by a turn and a scale (the scene's view, always): a sprite's
    // box is its reach turned. Otherwise no box is computed and quads are drawn whole.
    bool turnAndScale = false;
    double clipFromScene[16] = {};  // projection x modelview, column-major
    double viewportLeft = 0, viewportBottom = 0, halfWidth = 0, halfHeight = 0;  // pixels
    double pixelsPerUnit = 0;  // times clip w: pixels per scene unit along the plane
    double planeTurn = 0;      // radians by which the plane's x axis is turned on the window
    double widening = 0;       // pixels per pixel of reach, for what is not quite a turn and scale
};

// The view from the column-major projection and modelview matrices and the viewport (left,
// bottom, width, height).
SpritePlaneView ViewSpritePlane(const double projection[16], const double modelview[16],
                                const int viewport[4]);

// One particle's quad as the pass draws it.
struct SpriteQuad {
    double x, y, z;   // centre, scene units
    double halfSide;  // scene units; a negative half side shows the sprite turned by half a turn
    double turn;      // radians, counter-clockwise about the view axis
};

// The scissor box, cut to `limit`, holding every pixel of `quad` that reads a texel of alpha
// `level` or more of `sprite`: false when there is none. A quad whose centre lies behind the
// eye gets the whole `limit`. Needs view.turnAndScale.
bool ParticleScreenBox(const SpritePlaneView& view, const SpriteProfile& sprite, int level,
                       const SpriteQuad& quad, const ScreenBox& limit, ScreenBox& box);
