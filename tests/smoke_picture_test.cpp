// The smoke pass must leave the picture exactly as it is: frames of the real scene at a steady
// simulated 60 per second, compared byte for byte with committed references. Anything the pass
// skips for speed has to be invisible in the 8-bit buffer, so no tolerance is allowed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gl_harness.h"
#include "particles/particle_system.h"
#include "scene/scene_state.h"
#include "scene/settings.h"

namespace {
constexpr int kFramesPerSecond = 60;
constexpr float kFullPoolSpeed = 0.2f;   // 30 emissions a second living 25 s: more than 640
constexpr uint32_t kFullPoolMs = 24000;  // full since about 21.3 s, nothing retired before 25 s

int LiveParticles() {
    int live = 0;
    for (const Particle& p : particleSystem.particles) live += p.alive;
    return live;
}

// Runs the frames up to `ms` unseen, draws the one at `ms` and compares it exactly.
void ExpectFrameMatches(uint32_t fromMs, uint32_t ms, const std::string& name) {
    RunFramesUnseen(fromMs, ms - 1, kFramesPerSecond);
    RunFramesAtRate(ms - 1, ms, kFramesPerSecond);
    const ReferenceResult result = CompareWithReference(name, ReadPicture(), 0, 0.0);
    if (result.rewritten) {
        std::printf("%s\n", result.message.c_str());
        return;
    }
    EXPECT_TRUE(result.matches) << result.message;
}
}  // namespace

TEST(SmokePicture, PlumeAtThreeSevenAndFortySecondsIsUnchanged) {
    StartScene();
    uint32_t from = 0;
    for (const uint32_t ms : {3000u, 7000u, 40000u}) {
        ExpectFrameMatches(from, ms, "smoke_" + std::to_string(ms / 1000) + "s");
        from = ms;
    }
}

TEST(SmokePicture, FullPoolIsUnchanged) {
    StartScene();
    settings.MainSpeed = kFullPoolSpeed;
    ExpectFrameMatches(0, kFullPoolMs, "smoke_full_pool");
    EXPECT_EQ(LiveParticles(), kParticlePool);
}
