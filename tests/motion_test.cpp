#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "motion/oscillators.h"
#include "motion/random.h"
#include "scene/scene_state.h"
#include "scene/settings.h"

using namespace OscillatorBank;

// The classic 15-bit C library generator, written out independently (the particle tests use it
// too).
double NextReference(uint32_t& s, double x) {
    s = s * 214013u + 2531011u;
    return static_cast<double>((s >> 16) & 0x7FFFu) / 32768.0 * x;
}

namespace {
const auto V = [](int k) { return 0.02 + k * 0.0001; };  // slot k's velocity before a step

// Distinct values in every slot (a flag of 7 counts as driven), then one step with a distinct
// speed for every group.
void Step(uint32_t seed, int count, float dt) {
    for (int k = 0; k < kOscillatorSlots; ++k) {
        phase[k] = k, velocity[k] = V(k), targetVelocity[k] = -0.03;
        driven[k] = k % 3 == 2 ? 7 : k % 3;
    }
    SceneSettings speeds;
    speeds.RotateSpeed = 2, speeds.MovementSpeed = 3, speeds.MainSpeed = 5;
    speeds.LightRotateSpeed = 7;
    SeedRandom(seed);
    StepOscillators(count, dt, speeds);
}
}  // namespace

TEST(Random, Follows15BitGeneratorAndBlendIsUnclamped) {
    SeedRandom(1);
    for (double r : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(RandomUpTo(32768), r);
    SeedRandom(0);
    uint32_t s = 0;
    for (int i = 0; i < 20000; ++i) {
        const double x = i % 2 ? 360 : 1;
        ASSERT_EQ(RandomUpTo(x), NextReference(s, x)) << i;  // so never x, in steps of x/32768
    }
    EXPECT_EQ(RandomUpTo(0), 0.0);
    const float blend[][2] = {{0, 2}, {1, 10},  {0.5f, 6}, {0.25f, 2 + 4 * (1 - std::sqrt(0.5f))},
                              {2, 2}, {-1, 10}, {1.5f, 6}};
    for (const auto& b : blend) EXPECT_FLOAT_EQ(CosineBlend(2, 10, b[0]), b[1]) << b[0];
}

TEST(Oscillators, InitDrawsPhaseThenTargetPerSlot) {
    Step(5, 0, 0);  // fills and seeds, steps nothing
    InitOscillators(0);
    InitOscillators(1);
    uint32_t s = 5;
    EXPECT_TRUE(RandomUpTo(1) == NextReference(s, 1) && phase[1] == 1);  // nothing drawn or set
    SeedRandom(s = 1234);
    InitOscillators(kOscillatorSlots);
    EXPECT_TRUE(phase[0] == 0 && velocity[0] == V(0) && driven[0] == 0);  // slot 0 untouched
    for (int k = 1; k < kOscillatorSlots; ++k) {
        EXPECT_EQ(phase[k], NextReference(s, 360)) << k;
        EXPECT_EQ(targetVelocity[k], NextReference(s, 0.02) + 0.02) << k;
        EXPECT_TRUE(velocity[k] == targetVelocity[k] && driven[k] == 1) << k;
    }
    phase[17] = M_PI / 80;  // phase 0 reads offset + amplitude / 2
    EXPECT_TRUE(Oscillate(0, 10, 720, -360) == 0 && Oscillate(17, 40, 60, -30) == 30);
}

// dt 0: no toggle, no new target, no phase move, one approach or decay step. dt 20: every
// chance is 2, so every slot toggles (7 becomes 0) and draws a new target.
TEST(Oscillators, StepTogglesAndRetargetsByChance) {
    for (float dt : {0.0f, 20.0f}) {
        Step(77, kOscillatorSlots, dt);
        uint32_t s = 77;
        for (int k = 0; k < kOscillatorSlots; ++k) {
            for (int i = 0; i < 2; ++i) NextReference(s, 1);  // the two chance draws
            const int before = k % 3 == 2 ? 7 : k % 3, flag = dt > 0 ? before == 0 : before;
            const double m = dt > 0 ? NextReference(s, 0.02) + 0.02 : 0, v = V(k);
            const double target = dt == 0 ? -0.03 : NextReference(s, 1) < 0.45 ? m : -m;
            EXPECT_TRUE(driven[k] == flag && targetVelocity[k] == target) << k;
            EXPECT_DOUBLE_EQ(velocity[k], flag ? v + (target - v) * 0.001 : v * 0.999) << k;
            EXPECT_TRUE(dt > 0 || phase[k] == k) << k;
        }
        EXPECT_EQ(RandomUpTo(1), NextReference(s, 1)) << dt;  // no more draws than these
    }
}

TEST(Oscillators, EachGroupAdvancesWithItsSpeed) {
    const float dt = 0.01f;
    uint32_t s = 42;
    for (int i = 0; i < 2 * kOscillatorSlots; ++i) ASSERT_GE(NextReference(s, 1), dt * 0.1);
    Step(42, kOscillatorSlots, dt);              // no toggle, no new target: see above
    EXPECT_DOUBLE_EQ(phase[0], double(dt) * 5);  // slot 0 ignores its velocity
    for (int k = 1; k < kOscillatorSlots; ++k) {
        const double speed = k <= 3 ? 2 * 57.3 : k <= 6 ? 3 : k <= 49 ? 5 : 7;
        EXPECT_DOUBLE_EQ(phase[k], k + speed * velocity[k] * double(dt)) << k;
    }
    Step(42, 1, dt);  // count 1 moves slot 0 only
    EXPECT_DOUBLE_EQ(phase[0], double(dt) * 5);
    for (int k = 1; k < kOscillatorSlots; ++k) EXPECT_TRUE(phase[k] == k && velocity[k] == V(k));
}
