// The bitmap-font text pass: glyph quads, advances and sheet cells as GL receives them, the GL
// state it leaves and the text it remembers.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "gl_harness.h"
#include "glyph_capture.h"
#include "scene/scene_state.h"
#include "text/text_overlay.h"

namespace {
// Glyph edges in whole window pixels: left, right, bottom, top.
std::vector<long> Edges(const GlyphBox& g) {
    return {std::lround(g.x0), std::lround(g.x1), std::lround(g.y0), std::lround(g.y1)};
}
constexpr long kH = kStartWindowHeight;
}  // namespace

TEST(TextOverlayGlyphs, PlacesQuadsAndCellsAtEveryProgramSize) {
    StartScene();
    const long sizes[][2] = {{18, 8}, {20, 9}, {30, 13}, {60, 27}};  // size, truncated advance
    for (const auto& [size, advance] : sizes) {
        const auto glyphs = GlyphsDrawnBy(
            [size = size] { textOverlay.DrawText("A!~", 100, 200, static_cast<float>(size)); });
        ASSERT_EQ(TextOf(glyphs), "A!~");
        for (long j = 0; j < 3; ++j) {
            const long left = 100 + advance * j;
            EXPECT_EQ(Edges(glyphs[static_cast<size_t>(j)]),
                      (std::vector<long>{left, left + size / 2, kH - 200, kH - 200 + size}));
        }
    }
    // Sheet windows: column x 1/16 + 0.01, row 7/8 - row x 1/8 - 0.01, one cell wide and high.
    const auto glyphs = GlyphsDrawnBy([] { textOverlay.DrawText("!~", 100, 200, 20.0f); });
    const int cells[2][2] = {{1, 0}, {14, 5}};
    for (size_t j = 0; j < 2; ++j) {
        EXPECT_NEAR(glyphs[j].s0, cells[j][0] * 0.0625 + 0.01, 1e-5);
        EXPECT_NEAR(glyphs[j].t0, 0.875 - cells[j][1] * 0.125 - 0.01, 1e-5);
        EXPECT_NEAR(glyphs[j].s1 - glyphs[j].s0 + glyphs[j].t1 - glyphs[j].t0, 0.1875, 1e-5);
    }
}

TEST(TextOverlayGlyphs, SpacesNewlineEmptyTextNegativePenAndRememberedText) {
    StartScene();
    // Spaces draw nothing but advance 9 px; bottoms 25 px and tops 5 px below the top edge.
    auto glyphs = GlyphsDrawnBy([] { textOverlay.DrawText(" A  B", 10, 25, 20.0f); });
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(Edges(glyphs[0]), (std::vector<long>{19, 29, kH - 25, kH - 5}));
    EXPECT_EQ(Edges(glyphs[1]), (std::vector<long>{46, 56, kH - 25, kH - 5}));
    // A newline is no line break: it samples the cell of code 138 (column 10, row 6 on wrap).
    glyphs = GlyphsDrawnBy([] { textOverlay.DrawText("\n", 10, 25, 20.0f); });
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_NEAR(glyphs[0].s0, 10 * 0.0625 + 0.01, 1e-5);
    EXPECT_NEAR(glyphs[0].t0 - std::floor(glyphs[0].t0), 0.875 - 6 * 0.125 - 0.01, 1e-5);
    // Pens truncate toward zero: -100, -86, -72, ..., -2, 11; only the last two reach the window.
    glyphs = GlyphsDrawnBy([] { textOverlay.DrawText("ABCDEFGHI", -100, 200, 30.0f); });
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(Edges(glyphs[0])[1], 13);
    EXPECT_EQ(Edges(glyphs[1])[0], 11);

    EXPECT_TRUE(GlyphsDrawnBy([] { textOverlay.DrawText("", 33, 44, 20.0f); }).empty());
    EXPECT_EQ(textOverlay.rememberX, 33);
    EXPECT_EQ(textOverlay.rememberY, 44);
    EXPECT_STREQ(textOverlay.message, "");
    const std::string longer(100, 'b');
    textOverlay.DrawText(longer.c_str(), 12, 26, 20.0f);
    EXPECT_EQ(textOverlay.message, longer.substr(0, 79));  // cut, still terminated
}

TEST(TextOverlayState, LeavesTheSceneStateAndStaysFilledInLineAndPointModes) {
    StartScene();
    // glOrtho(0, 640, 0, 480, -1, 1), column by column.
    const GLenum caps[] = {GL_BLEND, GL_TEXTURE_2D, GL_ALPHA_TEST};
    const double ortho[16] = {2.0 / 640, 0, 0, 0, 0, 2.0 / 480, 0, 0, 0, 0, -1, 0, -1, -1, 0, 1};
    for (const char* text : {"", "Hi"}) {
        for (const GLenum mode : {GLenum{GL_LINE}, GLenum{GL_POINT}}) {
            glPolygonMode(GL_FRONT_AND_BACK, mode);
            glViewport(0, 72, 640, 336);  // letterboxed
            for (GLenum cap : caps) glEnable(cap);
            glDepthMask(GL_FALSE);
            EXPECT_EQ(GlyphsDrawnBy([&] { textOverlay.DrawText(text, 10, 25, 20.0f); }).size(),
                      std::strlen(text));
            GLint polygonMode[2], viewport[4];
            GLboolean depthWrites = GL_FALSE;
            GLdouble projection[16];
            glGetIntegerv(GL_POLYGON_MODE, polygonMode);
            glGetIntegerv(GL_VIEWPORT, viewport);
            glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
            glGetDoublev(GL_PROJECTION_MATRIX, projection);
            EXPECT_EQ(polygonMode[0], static_cast<GLint>(mode));
            EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4),
                      (std::vector<GLint>{0, 72, 640, 336}));
            for (GLenum cap : caps) EXPECT_FALSE(glIsEnabled(cap));
            EXPECT_TRUE(depthWrites);
            for (int k = 0; k < 16; ++k) EXPECT_NEAR(projection[k], ortho[k], 1e-9) << k;
        }
    }
}
