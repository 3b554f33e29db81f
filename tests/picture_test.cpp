// The whole pipeline against a committed reference picture: a fresh start, frames at a steady
// simulated 60 per second until the title has gone, then the back buffer read and compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "gl_harness.h"

namespace {
const std::string kReference = std::string(WISPRA_REFERENCE_DIR) + "/scene_7s.png";
constexpr uint32_t kPictureMs = 7000;
constexpr int kFramesPerSecond = 60;
// llvmpipe draws the same picture for the same frames; the tolerance absorbs rounding that a
// different CPU's vector width could change, not changes in what is drawn.
constexpr int kChannelTolerance = 3;
constexpr double kMaxDifferingShare = 0.001;

// Per pixel: black where it matches within tolerance, else the largest channel difference
// stretched to be visible.
int CompareAndMarkDifferences(const Picture& actual, const Picture& expected, Picture& diff) {
    diff = actual;
    int differing = 0;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            int worst = 0;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(actual.At(x, y)[c] - expected.At(x, y)[c]));
            if (worst > kChannelTolerance) ++differing;
            const unsigned char shown = static_cast<unsigned char>(std::min(255, worst * 16));
            for (int c = 0; c < 3; ++c) diff.At(x, y)[c] = worst > kChannelTolerance ? shown : 0;
        }
    }
    return differing;
}
}  // namespace

TEST(Picture, SceneAfterTheTitleMatchesTheReference) {
    StartScene();
    RunFramesAtRate(0, kPictureMs, kFramesPerSecond);
    const Picture actual = ReadPicture();
    const std::string actualPath = TestOutputDir() + "/scene_7s.actual.png";

    if (std::getenv("WISPRA_UPDATE_REFERENCE") != nullptr) {
        ASSERT_TRUE(WritePng(kReference, actual)) << "cannot write " << kReference;
        GTEST_SKIP() << "reference picture rewritten: " << kReference;
    }
    Picture expected;
    if (!ReadPng(kReference, expected)) {
        WritePng(actualPath, actual);
        FAIL() << "no reference picture at " << kReference << "; this run's picture is "
               << actualPath << " (WISPRA_UPDATE_REFERENCE=1 writes it as the reference)";
    }
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    Picture diff;
    const int differing = CompareAndMarkDifferences(actual, expected, diff);
    const double share = differing / static_cast<double>(actual.width * actual.height);
    if (share > kMaxDifferingShare) {
        const std::string diffPath = TestOutputDir() + "/scene_7s.diff.png";
        WritePng(actualPath, actual);
        WritePng(diffPath, diff);
        FAIL() << differing << " pixels differ by more than " << kChannelTolerance
               << "/255 from the reference " << kReference << "; actual: " << actualPath
               << ", differences: " << diffPath;
    }
}
