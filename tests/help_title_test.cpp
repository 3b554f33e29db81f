// The help screen's line layout and the opening title's wobble, read back through feedback.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "gl_harness.h"
#include "glyph_capture.h"
#include "host/host_state.h"
#include "motion/oscillators.h"
#include "scene/help_screen.h"
#include "scene/scene_state.h"
#include "scene/settings.h"
#include "text/text_overlay.h"

TEST(HelpTitleHelp, LinesFollowTheTitleInBothWindowSizes) {
    StartScene();
    const int layouts[][6] = {{480, 43, 66, 151, 173, 496}, {512, 46, 69, 154, 176, 499}};
    for (const auto& [height, yT, line1, line6, line7, line26] : layouts) {
        ResizeWindow(height == 480 ? 640 : 512, height);
        const std::string hint = textOverlay.message;
        // One DrawText per line, glyph tops at H - y + size (30 for the title, then 18).
        std::vector<int> ys, xs;
        long top = -1;
        for (const auto& g : GlyphsDrawnBy(DrawHelpScreen)) {
            if (std::lround(g.y1) == top) continue;
            top = std::lround(g.y1);
            ys.push_back(height - static_cast<int>(top) + (ys.empty() ? 30 : 18));
            xs.push_back(static_cast<int>(std::lround(g.x0)));
        }
        ASSERT_EQ(ys.size(), 27u);
        EXPECT_EQ(std::vector<int>({ys[0], ys[1], ys[6], ys[7], ys[26]}),
                  std::vector<int>({yT, line1, line6, line7, line26}));
        for (size_t k = 2; k < ys.size(); ++k) EXPECT_EQ(ys[k] - ys[k - 1], k == 7 ? 22 : 17) << k;
        // Title at 20, lines at 30, leading spaces keeping the columns at 8 px each.
        EXPECT_EQ(std::vector<int>({xs[0], xs[1], xs[4], xs[26]}),
                  std::vector<int>({20, 30, 30 + 10 * 8, 30 + 3 * 8}));
        EXPECT_EQ(textOverlay.remember, 1);
        EXPECT_EQ(textOverlay.message, hint);
        EXPECT_EQ(textOverlay.rememberX, 10);
    }
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
}

TEST(HelpTitleFlash, WobblesNearItsAnchorAtTheGivenAlpha) {
    StartScene();
    const std::string hint = textOverlay.message;
    std::vector<float> xs, ys;
    for (int frame = 0; frame < 600; ++frame) {
        StepOscillators(kOscillatorSlots, 0.05f, settings);
        const auto glyphs = GlyphsDrawnBy([] { TitleFlash("Wispra", 64, 96, 60.0f, 0.75f); });
        ASSERT_EQ(TextOf(glyphs), "Wispra");
        xs.push_back(glyphs[0].x0);
        ys.push_back(static_cast<float>(kStartWindowHeight) - glyphs[0].y0);
        // Within 60 px of (640 x 0.1, 480 x 0.2); 30 px glyphs advancing 27 px.
        ASSERT_LE(std::fabs(xs.back() - 64), 60.0f) << frame;
        ASSERT_LE(std::fabs(ys.back() - 96), 60.0f) << frame;
        ASSERT_NEAR(glyphs[1].x0 - glyphs[0].x0 + glyphs[0].x1 - glyphs[0].x0, 57, 0.01);
        ASSERT_NEAR(glyphs[0].a, 0.75f, 1e-3);
        ASSERT_EQ(textOverlay.color[3], 1.0f);
        ASSERT_EQ(textOverlay.remember, 1);
    }
    // The oscillators really move it.
    EXPECT_GT(*std::max_element(xs.begin(), xs.end()) - *std::min_element(xs.begin(), xs.end()),
              20);
    EXPECT_GT(*std::max_element(ys.begin(), ys.end()) - *std::min_element(ys.begin(), ys.end()),
              20);
    EXPECT_EQ(textOverlay.message, hint);
    // Later text is opaque again.
    const auto after = GlyphsDrawnBy([] { textOverlay.DrawText("A", 10, 25, 20.0f); });
    EXPECT_EQ(after.at(0).a, 1.0f);
}

// At a text factor of N every line of the overlay is drawn N times as large, and the help screen
// keeps its layout and fits the window whole: at 2 on 1920 x 1080, and on 2560 x 1440, where 3
// would not fit, at 2.
TEST(HelpTitleScale, EveryLineGrowsByTheFactorAndTheHelpFitsTheWindow) {
    StartScene();
    const int cases[][4] = {{2, 1920, 1080, 2}, {3, 2560, 1440, 2}};
    for (const auto& [scale, width, height, helpScale] : cases) {
        hostOptions.textScale = scale;
        ResizeWindow(width, height);
        const auto help = GlyphsDrawnBy(DrawHelpScreen);
        ASSERT_FALSE(help.empty());
        EXPECT_NEAR(help.front().y1 - help.front().y0, 30 * helpScale, 0.01) << scale;
        EXPECT_NEAR(help.back().y1 - help.back().y0, 18 * helpScale, 0.01) << scale;
        EXPECT_NEAR(help.front().y0 - help.back().y0, 453 * helpScale, 0.01) << scale;
        for (const GlyphBox& g : help) {
            ASSERT_GE(g.y0, 0) << scale;
            ASSERT_LE(g.y1, height) << scale;
        }
        const auto status = GlyphsDrawnBy([] { textOverlay.ShowMessage("Reset"); });
        EXPECT_NEAR(status.front().x0, 10 * scale, 0.01);
        EXPECT_NEAR(status.front().y0, height - 25 * scale, 0.01);
        EXPECT_NEAR(status.front().y1 - status.front().y0, 20 * scale, 0.01);
        const auto clock = GlyphsDrawnBy([] { textOverlay.DrawFrameRate(60); });
        EXPECT_NEAR(clock.front().x0, width - 120 * scale + 9 * scale, 0.01);  // after a space
    }
    hostOptions.textScale = 0;
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
}
