// The particle pool without GL: construction and clearing, the emission limit and slot choice,
// the draws per emission, retirement at the death time and the motion of one update.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "motion/random.h"
#include "particles/particle_system.h"

namespace {
class Particles : public testing::Test {
  protected:
    std::unique_ptr<ParticleSystem> owned = std::make_unique<ParticleSystem>();
    ParticleSystem& ps = *owned;
    long Live() const {
        return std::count_if(ps.particles, ps.particles + kParticlePool,
                             [](const Particle& p) { return p.alive == 1; });
    }
};
}  // namespace

// Each style's tuning, seen in what a particle does: its life at speed 1, the drift it moves with
// when it has no velocity of its own, what each update adds to vy, and no growth. (The spread,
// size and pull show in the emission test below.)
TEST_F(Particles, StartsEmptyAndEachStyleLivesAndDriftsAsTuned) {
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(ps.capacity, 640);
    EXPECT_EQ(ps.spriteTexture, 0u);
    EXPECT_EQ(ps.lastEmitTime, 0);
    struct Tuning {
        int style;
        float life, driftX, driftY, rise;
    };
    const Tuning tunings[] = {
        {0, 4, 0, 0.02f, 0}, {1, 50, 0.03f, 0.05f, 0}, {2, 2.25f, 0, 0, 0.01f}};
    float time = 1;
    for (const auto& [style, life, driftX, driftY, rise] : tunings) {
        ps.Clear();
        ps.Emit(style, 0, 0, 0, time, 1);
        Particle& p = ps.particles[0];
        ASSERT_EQ(p.alive, 1) << style;
        EXPECT_EQ(p.life, life) << style;
        p.vx = p.vy = p.vz = 0;
        const float size = p.size;
        ps.Update(style, time, 1, 5);  // moves by velocity + drift times 1 x 0.2 x 5 = 1
        EXPECT_FLOAT_EQ(p.x, driftX) << style;
        EXPECT_FLOAT_EQ(p.y, driftY) << style;
        EXPECT_EQ(p.z, 0) << style;
        EXPECT_FLOAT_EQ(p.vy, rise) << style;
        EXPECT_EQ(p.size, size) << style;
        time += 1;
    }
    for (int s = 0; s < kStyleSlots; ++s) {  // the colours are drawn as they are
        EXPECT_EQ(ps.colourScaleR[s], 1) << s;
        EXPECT_EQ(ps.colourScaleG[s], 1) << s;
        EXPECT_EQ(ps.colourScaleB[s], 1) << s;
    }
}

TEST_F(Particles, RateLimitAndFullPool) {
    ps.Emit(1, 0, 0, 0, 0.01f, 1);  // too soon after the starting lastEmitTime of 0
    ps.Emit(1, 0, 0, 0, 1.0f, 1);
    ps.Emit(1, 0, 0, 0, 1.02f, 1);
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(ps.lastEmitTime, 1.0f);
    for (int i = 1; i < kParticlePool; ++i) ps.Emit(1, 0, 0, 0, 1 + 0.03f * float(i), 1);
    const double last = ps.lastEmitTime;
    ps.Emit(1, 0, 0, 0, last + 1, 1);
    EXPECT_EQ(Live(), kParticlePool);
    EXPECT_EQ(ps.lastEmitTime, last);
    ps.particles[37].alive = 0;
    ps.Emit(1, 5, 0, 0, last + 1.01f, 1);  // at once: the refused call set no rate limit
    EXPECT_EQ(ps.particles[37].alive, 1);
    EXPECT_EQ(ps.particles[37].x, 5);
    ps.Clear();
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(ps.particles[37].x, 5);      // only the flags are cleared
    ps.Emit(1, 0, 0, 0, last + 1.02f, 1);  // still limited from the last emission
    EXPECT_EQ(Live(), 0);
    ps.Emit(1, 0, 0, 0, last + 1.04f, 1);
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(ps.particles[0].alive, 1);
}

TEST_F(Particles, MovesUntilItsDeathTime) {
    ps.lifeBase[1] = 5, ps.accelY[1] = 0.25f, ps.growth[1] = 0.5f;
    ps.Emit(1, 1, 2, 3, 10, 2);
    Particle& p = ps.particles[0];
    EXPECT_EQ(p.life, 2.5f);
    EXPECT_EQ(p.birthTime, 10);
    EXPECT_EQ(p.deathTime, 12.5f);
    const Particle start = p;
    ps.Update(1, 10, 0, 2);  // dt 0: no move, spin or growth, but vy still gains accelY
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 2);
    EXPECT_EQ(p.z, 3);
    EXPECT_EQ(p.angle, start.angle);
    EXPECT_EQ(p.size, start.size);
    EXPECT_FLOAT_EQ(p.vy, start.vy + 0.25f);
    const Particle mid = p;
    ps.Update(1, 12.5f, 0.5f, 3);  // still live at its death time; k = 0.5 x 0.2 x 3
    EXPECT_EQ(p.alive, 1);
    EXPECT_FLOAT_EQ(p.x, mid.x + (mid.vx + 0.03f) * 0.3f);
    EXPECT_FLOAT_EQ(p.y, mid.y + (mid.vy + 0.05f) * 0.3f);  // the velocity before accelY
    EXPECT_FLOAT_EQ(p.z, mid.z + mid.vz * 0.3f);
    EXPECT_FLOAT_EQ(p.vy, mid.vy + 0.25f);
    EXPECT_FLOAT_EQ(p.angle, mid.angle + 0.5f * mid.spin);  // the speed scales neither
    EXPECT_FLOAT_EQ(p.size, mid.size + 0.25f);
    ps.Update(1, 12.51f, 0.01f, 1);
    EXPECT_EQ(p.alive, 0);
}

// Known values from a fixed seed. Style 1 draws vx, vy, vz, size, angle, spin; style 2 r, g, b,
// angle, spin, with a velocity of -pull times x and z and a size of 0; style 0 draws as style 1.
TEST_F(Particles, EmissionDrawsInOrder) {
    SeedRandom(321);
    ps.Emit(1, 0, 0, 0, 1, 1);
    ps.Emit(2, 0.5f, 1, -0.25f, 2, 1.5f);
    ps.Emit(0, 0, 0, 0, 3, 1);
    const char* const fields[] = {"vx", "vy", "vz", "size", "angle", "spin", "r", "g", "b", "life"};
    const float want[3][10] = {
        // Style 1 at speed 1.
        {-0.00280114752f, 0.000171020511f, 0.000177722162f, 0.180200204f, 112.774658f, 52.2900391f,
         0.66f, 0.66f, 0.66f, 50},
        // Style 2 at (0.5, 1, -0.25), speed 1.5.
        {-1, 0, 0.5f, 0, 254.465332f, 36.7529297f, 0.821710229f, 0.516485572f, 0.348150641f, 1.5f},
        // Style 0 at speed 1.
        {-0.000843872083f, 0.00164172368f, -0.0003209961f, 0.102432251f, 119.619141f, 77.734375f, 1,
         0.5f, 0.25f, 4}};
    for (int i = 0; i < 3; ++i) {
        const Particle& p = ps.particles[i];
        const float got[] = {p.vx, p.vy, p.vz, p.size, p.angle, p.spin, p.r, p.g, p.b, p.life};
        for (int f = 0; f < 10; ++f) {
            EXPECT_FLOAT_EQ(got[f], want[i][f]) << "particle " << i << ", " << fields[f];
        }
    }
    EXPECT_EQ(RandomUpTo(32768), 9774);  // the next draw: no more were taken
}

TEST_F(Particles, UnknownStyleEmitsNothing) {
    SeedRandom(3);
    for (int st : {-1, 3, 4}) ps.Emit(st, 0, 0, 0, 1, 1);
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(ps.lastEmitTime, 0);
    EXPECT_EQ(RandomUpTo(32768), 48);  // seed 3's first draw: nothing was drawn
}
