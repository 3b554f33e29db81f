// The smoke pass's alpha cutoff: the alpha below which a fragment cannot change the picture, and
// the faintest texel that can still pass it at a particle's fade.
#include <gtest/gtest.h>

#include "particles/alpha_cutoff.h"

TEST(AlphaCutoff, AQuarterStepOfTheBufferFromTheBrightestChannel) {
    SpriteProfile grey;  // measured: no channel brighter than the alpha
    grey.trusted = true;
    grey.channelPerAlpha = 1;
    // sqrt(0.25 / 255 / (ratio x 0.8)) for the brightest channel 0.8 in an 8-bit buffer, with
    // the ratio 3 where nothing bounds a texel's colour by its alpha (the pass's own cutoffs for
    // a measured and an unmeasured sprite are checked in particle_draw_test.cpp).
    EXPECT_NEAR(InvisibleAlpha(0.8, grey, 8), 0.0350070, 1e-6);
    SpriteProfile colourWithoutAlpha = grey;
    colourWithoutAlpha.channelPerAlpha = 0;
    EXPECT_NEAR(InvisibleAlpha(0.8, colourWithoutAlpha, 8), 0.0202113, 1e-6);
    EXPECT_NEAR(InvisibleAlpha(0.8, grey, 6), 0.0704295, 1e-6);  // a 6-bit buffer's step is 1/63
    EXPECT_EQ(InvisibleAlpha(0, grey, 8), 0.0f);                 // nothing bright: nothing cut
}

TEST(AlphaCutoff, TheLowestPassingLevelLeavesOutOnlyTexelsThatCannotPass) {
    EXPECT_EQ(LowestPassingLevel(0.1f, 1.0), 26);  // 26 / 255 passes 0.1, 25 / 255 does not
    EXPECT_EQ(LowestPassingLevel(0.1f, 0.2), 128);
    EXPECT_EQ(LowestPassingLevel(0.1f, 0.1), kAlphaLevels);  // not even full alpha passes
    EXPECT_EQ(LowestPassingLevel(0.1f, 0.1001), kAlphaLevels - 1);
    EXPECT_EQ(LowestPassingLevel(0.0f, 0.5), 1);  // without a cutoff only alpha 0 is discarded
    for (const double fade : {0.11, 0.3, 0.5, 0.77, 1.0}) {
        const int lowest = LowestPassingLevel(0.1f, fade);
        for (int level = 0; level < kAlphaLevels; ++level) {
            if (level / 255.0 * fade > 0.1f) {
                EXPECT_GE(level, lowest) << fade;
            }
        }
        EXPECT_LE((lowest - 2) / 255.0 * fade, 0.1f) << fade;  // at most one level too low
    }
}
