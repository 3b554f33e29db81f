// Where a particle sprite can still show, by alpha level: measured once from the sprite's texels
// so that the smoke pass can leave out the parts of each particle that its alpha cutoff would
// discard anyway.
#pragma once

constexpr int kAlphaLevels = 256;
constexpr int kProfileDirections = 64;  // a multiple of 4: the four sides of a box share a phase

struct SpriteProfile {
    bool trusted = false;  // false: nothing is known, whole quads are drawn
    // reach[v]: distance in texture coordinates from the sprite's centre (0.5, 0.5) within which
    // lies every point where a linearly filtered sample reads a texel of alpha v or more;
    // negative when no texel has alpha v or more. Never increases with v.
    float reach[kAlphaLevels] = {};
    // extent[v][k]: how far those points reach along direction k x 360 / kProfileDirections
    // degrees (counter-clockwise from +s), widened so that interpolating neighbours linearly
    // never falls short in between. Meaningless where reach[v] is negative.
    float extent[kAlphaLevels][kProfileDirections] = {};
    // The largest ratio of a texel's brightest colour channel to its alpha; 0 when unknown, as
    // when a texel has colour but no alpha. A grey sprite whose alpha is its brightness has 1.
    float channelPerAlpha = 0.0f;
};

// Measures the profile of a `width` x `height` image of RGBA bytes, first row at t = 0. A sample
// near an edge may also read texels beyond it: those of the opposite edge (repeat), of the same
// edge (clamp) or the border colour, whose alpha is `borderAlpha`; each counts as lying just
// beyond the edge. An empty image gives an untrusted profile.
SpriteProfile MeasureSpriteProfile(const unsigned char* rgba, int width, int height,
                                   int borderAlpha);

// The box, in texture coordinates around the sprite's centre, that holds every point reading a
// texel of alpha `level` or more once the sprite is turned by `turn` radians counter-clockwise:
// how far it reaches right, up, left and down. False when no texel reaches `level`.
bool SpriteBox(const SpriteProfile& profile, int level, double turn, double sides[4]);
