// The layout of a texel in the RGBA byte images the program builds, uploads and reads back.
#pragma once

constexpr int kTexelBytes = 4;  // red, green, blue, alpha
constexpr int kAlphaByte = 3;   // of a texel's four
