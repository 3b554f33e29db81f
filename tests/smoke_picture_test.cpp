// The optimised smoke pass leaves the picture exactly as the plain pass draws it: real scene
// frames at a steady simulated 60 per second, each drawn in the same run once with the cutoff and
// scissor boxes and once with every quad whole and no cutoff, compared byte for byte. Anything
// the pass skips for speed has to be invisible in the 8-bit buffer, so no tolerance is allowed.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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

// From a fresh start at `speed`, the frames at `times` (each run up to unseen) and the live
// particles in each, drawn with the optimised pass or, `whole`, the plain one. The simulation
// does not depend on the drawing, so both passes see the same frames.
struct Frames {
    std::vector<Picture> pictures;
    std::vector<int> live;
};
Frames DrawFrames(const std::vector<uint32_t>& times, float speed, bool whole) {
    StartScene();
    settings.MainSpeed = speed;
    particleSystem.wholeQuads = whole;
    Frames frames;
    uint32_t from = 0;
    for (const uint32_t ms : times) {
        RunFramesUnseen(from, ms - 1, kFramesPerSecond);
        RunFramesAtRate(ms - 1, ms, kFramesPerSecond);
        frames.pictures.push_back(ReadPicture());
        frames.live.push_back(LiveParticles());
        from = ms;
    }
    return frames;
}

// Both passes' frames are the same to the byte; on a difference both are written to
// test-output/. Returns the live particles of each frame.
std::vector<int> ExpectPassesDrawTheSame(const std::vector<uint32_t>& times, float speed) {
    const Frames optimised = DrawFrames(times, speed, false);
    const Frames plain = DrawFrames(times, speed, true);
    for (size_t i = 0; i < times.size(); ++i) {
        const std::string name = "smoke_" + std::to_string(times[i]) + "ms";
        EXPECT_EQ(optimised.live[i], plain.live[i]) << name;
        if (optimised.pictures[i].rgb == plain.pictures[i].rgb) continue;
        const std::string path = TestOutputDir() + "/" + name;
        WritePng(path + ".optimised.png", optimised.pictures[i]);
        WritePng(path + ".plain.png", plain.pictures[i]);
        ADD_FAILURE() << "the optimised pass differs from the plain one at " << times[i]
                      << " ms: " << path << ".optimised.png, " << path << ".plain.png";
    }
    return optimised.live;
}
}  // namespace

TEST(SmokePicture, PlumeAtThreeSevenAndFortySecondsIsUnchanged) {
    const std::vector<int> live = ExpectPassesDrawTheSame({3000, 7000, 40000}, 1.0f);
    for (const int count : live) EXPECT_GT(count, 80);  // 30 a second, 5 s each: a real plume
}

TEST(SmokePicture, FullPoolIsUnchanged) {
    EXPECT_EQ(ExpectPassesDrawTheSame({kFullPoolMs}, kFullPoolSpeed),
              std::vector<int>({kParticlePool}));
}
