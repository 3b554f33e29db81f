#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "motion/random.h"
#include "particles/particle_system.h"

double NextReference(uint32_t& s, double x);  // the generator written out, motion_test.cpp

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

TEST_F(Particles, StartsEmptyWithTheStyleTables) {
    EXPECT_TRUE(Live() == 0 && ps.capacity == 640 && ps.spriteTexture == 0 && ps.pull == 2 &&
                ps.lastEmitTime == 0);
    const float* tables[] = {ps.accelY, ps.spread, ps.sizeBase, ps.lifeBase,
                             ps.growth, ps.windX,  ps.windY,    ps.windZ};
    const float values[][3] = {
        {0, 0, 0.01f}, {0.004f, 0.006f, 0}, {0.1f, 0.1f, 0},   {4, 50, 2.25f},
        {0, 0, 0},     {0, 0.03f, 0},       {0.02f, 0.05f, 0}, {0, 0, 0}};
    for (int i = 0; i < 24; ++i) EXPECT_EQ(tables[i / 3][i % 3], values[i / 3][i % 3]) << i;
    for (int s = 0; s < kStyleSlots; ++s) {
        EXPECT_TRUE(ps.colourScaleR[s] == 1 && ps.colourScaleG[s] == 1 && ps.colourScaleB[s] == 1);
    }
}

TEST_F(Particles, RateLimitAndFullPool) {
    ps.Emit(1, 0, 0, 0, 0.01f, 1);  // too soon after the starting lastEmitTime of 0
    ps.Emit(1, 0, 0, 0, 1.0f, 1);
    ps.Emit(1, 0, 0, 0, 1.02f, 1);
    EXPECT_TRUE(Live() == 1 && ps.lastEmitTime == 1.0f);
    for (int i = 1; i < kParticlePool; ++i) ps.Emit(1, 0, 0, 0, 1 + 0.03f * float(i), 1);
    const double last = ps.lastEmitTime;
    ps.Emit(1, 0, 0, 0, last + 1, 1);
    EXPECT_TRUE(Live() == kParticlePool && ps.lastEmitTime == last);
    ps.particles[37].alive = 0;
    ps.Emit(1, 5, 0, 0, last + 1.01f, 1);  // at once: the refused call set no rate limit
    EXPECT_TRUE(ps.particles[37].alive == 1 && ps.particles[37].x == 5);
    ps.Clear();
    EXPECT_TRUE(Live() == 0 && ps.particles[37].x == 5);  // only the flags are cleared
    ps.Emit(1, 0, 0, 0, last + 1.02f, 1);                 // still limited from the last emission
    EXPECT_EQ(Live(), 0);
    ps.Emit(1, 0, 0, 0, last + 1.04f, 1);
    EXPECT_TRUE(Live() == 1 && ps.particles[0].alive == 1);
}

TEST_F(Particles, MovesUntilItsDeathTime) {
    ps.lifeBase[1] = 5, ps.accelY[1] = 0.25f, ps.growth[1] = 0.5f;
    ps.Emit(1, 1, 2, 3, 10, 2);
    Particle& p = ps.particles[0];
    EXPECT_TRUE(p.life == 2.5f && p.birthTime == 10 && p.deathTime == 12.5f);
    const Particle start = p;
    ps.Update(1, 10, 0, 2);  // dt 0: no move, spin or growth, but vy still gains accelY
    EXPECT_TRUE(p.x == 1 && p.y == 2 && p.z == 3 && p.angle == start.angle && p.size == start.size);
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

// The draws recomputed from the same seed: style 1 takes vx, vy, vz, size, angle, spin; style 2
// r, g, b, angle, spin.
TEST_F(Particles, EmissionDrawsInOrder) {
    SeedRandom(321);
    ps.Emit(1, 0, 0, 0, 1, 1);
    ps.Emit(2, 0.5f, 1, -0.25f, 2, 1.5f);
    uint32_t s = 321;
    const auto R = [&s](double x) { return NextReference(s, x); };
    const double w = 0.006f, h = w / 2, base = 0.1f;
    std::vector<float> want;  // braced lists are evaluated in order
    for (int i = 0; i < 3; ++i) want.push_back(float((R(w) - h) * (i < 2 ? 1 : 0.2)));
    // Style 2's velocity is -pull times x and z; its size is 0.
    want.insert(want.end(),
                {float(R(base) + base), float(R(360)), float(R(160) - 80), -1, 0, 0.5f, 0});
    for (int i = 0; i < 3; ++i) want.push_back(float(R(0.7) + 0.3));
    want.insert(want.end(), {float(R(360)), float(R(160) - 80)});
    const Particle &p = ps.particles[0], &q = ps.particles[1];
    const float got[] = {p.vx, p.vy,   p.vz, p.size, p.angle, p.spin,  q.vx,  q.vy,
                         q.vz, q.size, q.r,  q.g,    q.b,     q.angle, q.spin};
    for (int i = 0; i < 15; ++i) EXPECT_FLOAT_EQ(got[i], want[size_t(i)]) << i;
    EXPECT_EQ(RandomUpTo(1), R(1));  // and no more draws
    EXPECT_TRUE(p.r == 0.66f && p.g == 0.66f && p.b == 0.66f && q.life == 1.5f);
}

TEST_F(Particles, UnknownStyleEmitsNothing) {
    SeedRandom(3);
    for (int st : {-1, 3, 4}) ps.Emit(st, 0, 0, 0, 1, 1);
    uint32_t s = 3;
    EXPECT_TRUE(Live() == 0 && ps.lastEmitTime == 0 && RandomUpTo(1) == NextReference(s, 1));
}
