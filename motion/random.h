// The program's one random generator and the cosine blend used by the fades.
#pragma once

#include <cstdint>

constexpr uint32_t kRandomStartState = 1;  // the generator's state word at process start

// Restarts the generator's sequence from `seed`.
void SeedRandom(uint32_t seed);

// Uniform value in [0, x) in steps of x / 32768, from a 15-bit linear congruential generator.
double RandomUpTo(double x);

// Cosine interpolation from a (t = 0) to b (t = 1); t is not clamped.
float CosineBlend(float a, float b, float t);
