// Reading glyph quads back from GL's feedback mode.
#include "glyph_capture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gl_harness.h"

// Each glyph quad arrives as triangles in window coordinates (two, or more where the window edge
// clips it); triangles of one glyph share vertices, neighbouring glyphs never do.
std::vector<GlyphBox> GlyphsDrawnBy(const std::function<void()>& draw) {
    std::vector<GlyphBox> glyphs;
    std::vector<FeedbackVertex> group;
    for (const FeedbackPrimitive& prim : CaptureFeedback(draw)) {
        // Text is always filled, whatever polygon mode the scene uses.
        EXPECT_EQ(prim.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
        const bool joins = std::any_of(group.begin(), group.end(), [&](const FeedbackVertex& w) {
            return std::any_of(prim.vertices.begin(), prim.vertices.end(),
                               [&](const FeedbackVertex& v) { return v.x == w.x && v.y == w.y; });
        });
        if (!joins) {
            group.clear();
            glyphs.push_back({1e9f, -1e9f, 1e9f, -1e9f, 1e9f, -1e9f, 1e9f, -1e9f, 0.0f});
        }
        GlyphBox& g = glyphs.back();
        for (const FeedbackVertex& v : prim.vertices) {
            group.push_back(v);
            g = {std::min(g.x0, v.x), std::max(g.x1, v.x), std::min(g.y0, v.y),
                 std::max(g.y1, v.y), std::min(g.s0, v.s), std::max(g.s1, v.s),
                 std::min(g.t0, v.t), std::max(g.t1, v.t), v.a};
        }
    }
    return glyphs;
}

std::string TextOf(const std::vector<GlyphBox>& glyphs) {
    std::string text;
    for (const GlyphBox& g : glyphs) {
        const long col = std::lround((g.s0 - 0.01) / 0.0625);
        const long row = std::lround((0.865 - g.t0) / 0.125);
        text += static_cast<char>((32 + row * 16 + col) & 255);
    }
    return text;
}
