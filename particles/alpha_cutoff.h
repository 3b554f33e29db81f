// The smoke pass's alpha cutoff: below it a fragment cannot change a pixel, so the alpha test
// discards it before blending and the scissor boxes leave out the parts of a sprite that only
// such fragments would cover.
#pragma once

#include "particles/sprite_profile.h"

// The cutoff for a pass whose brightest particle colour channel (base colour times its scale) is
// `brightest`, on a buffer of `colourBits` bits per channel: a fragment at or below it adds less
// than a quarter of the buffer's smallest step, which rounding drops. 0 when nothing is bright.
float InvisibleAlpha(double brightest, const SpriteProfile& sprite, int colourBits);

// The lowest texel alpha level (of kAlphaLevels) that can pass `cutoff` on a particle drawn at
// fade `alpha`; kAlphaLevels when not even a texel of full alpha can.
int LowestPassingLevel(float cutoff, double alpha);
