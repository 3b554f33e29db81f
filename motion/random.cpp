// The program's one random generator and the cosine blend.
#include "motion/random.h"

#include <cmath>

namespace {
constexpr uint32_t kMultiplier = 214013;
constexpr uint32_t kIncrement = 2531011;
constexpr uint32_t kFifteenBits = 0x7FFF;
// 32768, not 32767: the largest result stays below x.
constexpr double kRandomScale = 32768.0;
// Not full-precision pi: the blend's curve is defined with this constant.
constexpr double kBlendPi = 3.141592654;

uint32_t randomState =
    kRandomStartState;  // generator state word; written by SeedRandom and RandomUpTo
}  // namespace

void SeedRandom(uint32_t seed) {
    randomState = seed;
}

double RandomUpTo(double x) {
    randomState = randomState * kMultiplier + kIncrement;  // modulo 2^32 by unsigned wrap
    const uint32_t r = (randomState >> 16) & kFifteenBits;
    return r / kRandomScale * x;
}

float CosineBlend(float a, float b, float t) {
    const float w = static_cast<float>((1.0 - std::cos(t * kBlendPi)) * 0.5);
    return static_cast<float>((1.0 - w) * a + static_cast<double>(w) * b);
}
