// The random generator, the cosine blend and the oscillator bank: known draws from fixed seeds,
// the order of draws per slot, and how each slot group advances with its speed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "motion/oscillators.h"
#include "motion/random.h"

using namespace OscillatorBank;

namespace {
const auto V = [](int k) { return 0.02 + k * 0.0001; };  // slot k's velocity before a step

// A distinct speed factor for every group, so that a slot stepped with the wrong one shows.
constexpr OscillatorSpeeds kSpeeds{2, 3, 5, 7};  // rotate, movement, main, lightRotate

// Slot k's flag before a step: 0, 1 and 7 in turn (7 counts as driven).
int FlagBefore(int k) {
    return k % 3 == 2 ? 7 : k % 3;
}

// Distinct values in every slot, and the generator at `seed`.
void Fill(uint32_t seed) {
    for (int k = 0; k < kOscillatorSlots; ++k) {
        phase[k] = k, velocity[k] = V(k), targetVelocity[k] = -0.03;
        driven[k] = FlagBefore(k);
    }
    SeedRandom(seed);
}
}  // namespace

TEST(Random, Known15BitDrawsThatNeverReachXAndAnUnclampedBlend) {
    SeedRandom(1);
    for (double r : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(RandomUpTo(32768), r);
    SeedRandom(0);
    for (double r : {38, 7719, 21238, 2437, 8855}) EXPECT_EQ(RandomUpTo(32768), r);
    // Any x scales the same draws, in steps of x / 32768: 38 / 32768 x 360, ...
    SeedRandom(0);
    for (double r :
         {0.41748046875, 84.803466796875, 233.32763671875, 26.773681640625, 97.283935546875}) {
        EXPECT_EQ(RandomUpTo(360), r);
    }
    // This seed's first state is 0x7FFF0000, the largest draw: 32767 / 32768 x 360, short of x.
    SeedRandom(4028364353u);
    EXPECT_EQ(RandomUpTo(360), 359.989013671875);
    EXPECT_EQ(RandomUpTo(0), 0.0);
    const float blend[][2] = {{0, 2}, {1, 10},  {0.5f, 6}, {0.25f, 2 + 4 * (1 - std::sqrt(0.5f))},
                              {2, 2}, {-1, 10}, {1.5f, 6}};
    for (const auto& b : blend) EXPECT_FLOAT_EQ(CosineBlend(2, 10, b[0]), b[1]) << b[0];
}

TEST(Oscillators, InitDrawsPhaseThenTargetPerSlot) {
    Fill(5);
    InitOscillators(0);
    InitOscillators(1);
    EXPECT_EQ(RandomUpTo(32768), 54);  // seed 5's first draw: nothing drawn
    EXPECT_EQ(phase[1], 1);            // and nothing set
    SeedRandom(1234);
    InitOscillators(kOscillatorSlots);
    EXPECT_EQ(phase[0], 0);  // slot 0 untouched
    EXPECT_EQ(velocity[0], V(0));
    EXPECT_EQ(driven[0], 0);
    struct Known {
        int k;
        double phase, target;
    };
    const Known known[] = {{1, 44.6923828125, 0.0201300048828125},
                           {2, 140.196533203125, 0.025345458984374999},
                           {59, 57.50244140625, 0.024255981445312502}};
    for (const Known& s : known) {
        EXPECT_EQ(phase[s.k], s.phase) << s.k;
        EXPECT_DOUBLE_EQ(targetVelocity[s.k], s.target) << s.k;
    }
    for (int k = 1; k < kOscillatorSlots; ++k) {
        EXPECT_EQ(velocity[k], targetVelocity[k]) << k;  // starting at its target
        EXPECT_EQ(driven[k], 1) << k;
    }
    EXPECT_EQ(RandomUpTo(32768), 10920);  // two draws per slot, no more
    phase[17] = M_PI / 80;                // phase 0 reads offset + amplitude / 2
    EXPECT_EQ(Oscillate(0, 10, 720, -360), 0);
    EXPECT_EQ(Oscillate(17, 40, 60, -30), 30);
}

// dt 0: no toggle, no new target, no phase move, one approach or decay step. dt 20: every
// chance is 2, so every slot toggles (7 becomes 0) and draws a new target, before it moves.
TEST(Oscillators, StepTogglesAndRetargetsByChance) {
    Fill(77);
    StepOscillatorBank(kOscillatorSlots, 0, kSpeeds);
    for (int k = 0; k < kOscillatorSlots; ++k) {
        EXPECT_EQ(driven[k], FlagBefore(k)) << k;
        EXPECT_EQ(targetVelocity[k], -0.03) << k;
        EXPECT_EQ(phase[k], k) << k;
    }
    EXPECT_DOUBLE_EQ(velocity[0], 0.01998);    // coasting: 0.02 x 0.999
    EXPECT_DOUBLE_EQ(velocity[1], 0.0200499);  // driven: 0.0201 + (-0.03 - 0.0201) x 0.001
    EXPECT_DOUBLE_EQ(velocity[2], 0.0201498);  // driven by a flag of 7
    EXPECT_EQ(RandomUpTo(32768), 23566);       // the two chance draws per slot, no more

    Fill(77);
    StepOscillatorBank(kOscillatorSlots, 20, kSpeeds);
    for (int k = 0; k < kOscillatorSlots; ++k) {
        EXPECT_EQ(driven[k], FlagBefore(k) == 0 ? 1 : 0) << k;
        EXPECT_GE(std::fabs(targetVelocity[k]), 0.02) << k;
        EXPECT_LT(std::fabs(targetVelocity[k]), 0.04) << k;
    }
    EXPECT_DOUBLE_EQ(targetVelocity[0], -0.032526245117187505);
    EXPECT_DOUBLE_EQ(velocity[0], 0.019947473754882813);  // now driven towards it
    EXPECT_DOUBLE_EQ(phase[0], 100);                      // 20 x 5: slot 0 ignores its velocity
    EXPECT_DOUBLE_EQ(targetVelocity[1], 0.031381835937499998);
    EXPECT_DOUBLE_EQ(velocity[1], 0.0200799);        // now coasting: 0.0201 x 0.999
    EXPECT_DOUBLE_EQ(phase[1], 47.023130799999997);  // 1 + 2 x 57.3 x 0.0200799 x 20
    // The sign draws of slots 16, 35 and 36 are 0.405, 0.451 and 0.466: only draws below 0.45
    // give a positive target.
    EXPECT_DOUBLE_EQ(targetVelocity[16], 0.035950927734374999);
    EXPECT_DOUBLE_EQ(targetVelocity[35], -0.035235595703124997);
    EXPECT_DOUBLE_EQ(targetVelocity[36], -0.03711669921875);
    EXPECT_EQ(RandomUpTo(32768), 17705);  // four draws per slot, no more
}

TEST(Oscillators, EachGroupAdvancesWithItsSpeed) {
    const float dt = 0.01f;
    Fill(42);
    StepOscillatorBank(kOscillatorSlots, dt, kSpeeds);
    for (int k = 0; k < kOscillatorSlots; ++k) {  // seed 42 changes nothing at this dt
        ASSERT_EQ(driven[k], FlagBefore(k)) << k;
        ASSERT_EQ(targetVelocity[k], -0.03) << k;
    }
    EXPECT_DOUBLE_EQ(phase[0], double(dt) * 5);  // slot 0 ignores its velocity
    struct Group {
        int first, last;
        double speed;
    };
    const Group groups[] = {{1, 3, 2 * 57.3}, {4, 6, 3}, {7, 49, 5}, {50, 59, 7}};
    for (const Group& g : groups) {
        for (int k = g.first; k <= g.last; ++k) {
            EXPECT_DOUBLE_EQ(phase[k], k + g.speed * velocity[k] * double(dt)) << k;
        }
    }

    Fill(42);
    StepOscillatorBank(1, dt, kSpeeds);  // count 1 moves slot 0 only
    EXPECT_DOUBLE_EQ(phase[0], double(dt) * 5);
    for (int k = 1; k < kOscillatorSlots; ++k) {
        EXPECT_EQ(phase[k], k) << k;
        EXPECT_EQ(velocity[k], V(k)) << k;
    }
    Fill(42);
    StepOscillatorBank(0, dt, kSpeeds);  // count 0 moves nothing and draws nothing
    EXPECT_EQ(phase[0], 0);
    EXPECT_EQ(velocity[0], V(0));
    EXPECT_EQ(RandomUpTo(32768), 175);  // seed 42's first draw
}
