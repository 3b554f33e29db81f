// Text as GL receives it: the glyph quads a drawing emits, read back through feedback mode.
#pragma once

#include <functional>
#include <string>
#include <vector>

// One glyph's extent in window coordinates (y up), its texture window and its alpha.
struct GlyphBox {
    float x0, x1, y0, y1, s0, s1, t0, t1, a;
};

// The glyphs that `draw` emits, in drawing order.
std::vector<GlyphBox> GlyphsDrawnBy(const std::function<void()>& draw);

// The characters whose sheet cells the glyphs sample (rows past 7 wrap onto codes 0 to 31).
std::string TextOf(const std::vector<GlyphBox>& glyphs);
