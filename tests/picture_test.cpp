// The whole pipeline against a committed reference picture: a fresh start, frames at a steady
// simulated 60 per second until the title has gone, then the back buffer read and compared.
#include <gtest/gtest.h>

#include "gl_harness.h"

namespace {
constexpr uint32_t kPictureMs = 7000;
constexpr int kFramesPerSecond = 60;
// llvmpipe draws the same picture for the same frames; the tolerance absorbs rounding that a
// different CPU's vector width could change, not changes in what is drawn.
constexpr int kChannelTolerance = 3;
constexpr double kMaxDifferingShare = 0.001;
}  // namespace

TEST(Picture, SceneAfterTheTitleMatchesTheReference) {
    StartScene();
    RunFramesAtRate(0, kPictureMs, kFramesPerSecond);
    const ReferenceResult result =
        CompareWithReference("scene_7s", ReadPicture(), kChannelTolerance, kMaxDifferingShare);
    if (result.rewritten) GTEST_SKIP() << result.message;
    EXPECT_TRUE(result.matches) << result.message;
}
