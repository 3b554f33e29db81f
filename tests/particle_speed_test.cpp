// Living smoke follows a change of speed: the rest of each particle's life is re-timed.
#include <gtest/gtest.h>

#include <memory>

#include "particles/particle_system.h"

TEST(ParticleRetime, KeepsTheLivedFractionAndScalesTheRest) {
    auto owned = std::make_unique<ParticleSystem>();
    ParticleSystem& ps = *owned;
    ps.lifeBase[1] = 5;
    ps.RetimeLives(10, 1);  // the first call only remembers the speed
    ps.Emit(1, 0, 0, 0, 10, 1);
    const Particle& p = ps.particles[0];
    EXPECT_EQ(p.life, 5.0f);
    ps.RetimeLives(12, 1);  // the same speed changes nothing
    EXPECT_EQ(p.deathTime, 15.0);
    ps.RetimeLives(12, 2);  // 0.4 of its life lived at 12; the remaining 3 s become 1.5 s
    EXPECT_FLOAT_EQ(p.life, 2.5f);
    EXPECT_DOUBLE_EQ((12 - p.birthTime) / p.life, 0.4);
    EXPECT_DOUBLE_EQ(p.deathTime, 13.5);
    ps.RetimeLives(13, 0.5f);  // back to slow: 0.8 lived, the remaining 0.5 s become 2 s
    EXPECT_FLOAT_EQ(p.life, 10.0f);
    EXPECT_DOUBLE_EQ(p.deathTime, 15.0);
    ps.RetimeLives(13, 0.0f);  // not a speed: ignored
    EXPECT_DOUBLE_EQ(p.deathTime, 15.0);
    EXPECT_EQ(ps.timedSpeed, 0.5f);
}
