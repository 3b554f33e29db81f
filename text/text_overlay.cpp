// Bitmap-font text: one textured, alpha-tested, blended quad per character in an orthographic
// pass over the whole window.
//
// Expects/Leaves: the scene defaults (SetSceneGlDefaults in scene/gl_defaults.h), except that it
// leaves the projection orthographic over the window and the alpha function at GL_GREATER 0.1.
// Polygon mode, viewport and modelview matrix come back as they were.
#include "text/text_overlay.h"

#include <GL/gl.h>

#include <cstring>

#include "common/widths.h"
#include "host/window_system.h"

namespace {
// The glyph sheet: 16 columns by 8 rows of cells, row 0 (codes 32..47) at the top (t near 1).
constexpr int kSheetColumns = 16;
constexpr double kCellWidth = 1.0 / 16;
constexpr double kCellHeight = 1.0 / 8;
constexpr double kTopRowBottom = 0.875;
// Each cell is sampled moved right and down by this much; the glyph designs leave room for it.
constexpr double kSampleShift = 0.01;
constexpr int kFirstCode = 32;  // the space, which is never drawn

constexpr double kGlyphWidth = 0.5;     // of the size
constexpr double kGlyphAdvance = 0.45;  // of the size
constexpr float kAlphaCutoff = 0.1f;    // a black background leaves no trace

// An orthographic projection needs a nonzero extent; a zero-sized window draws nothing anyway.
int AtLeastOne(int pixels) {
    return pixels > 0 ? pixels : 1;
}

void DrawGlyph(unsigned char index, float pen, float base, float width, float height) {
    const int col = index % kSheetColumns;
    const int row = index / kSheetColumns;
    const float s0 = StoreFloat(col * kCellWidth + kSampleShift);
    const float t0 = StoreFloat(kTopRowBottom - row * kCellHeight - kSampleShift);
    const float s1 = StoreFloat(s0 + kCellWidth);
    const float t1 = StoreFloat(t0 + kCellHeight);
    const float right = StoreFloat(static_cast<double>(pen) + width);
    const float top = StoreFloat(static_cast<double>(base) + height);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(pen, base);
    glTexCoord2f(s1, t0);
    glVertex2f(right, base);
    glTexCoord2f(s1, t1);
    glVertex2f(right, top);
    glTexCoord2f(s0, t1);
    glVertex2f(pen, top);
    glEnd();
}
}  // namespace

TextOverlay::TextOverlay()
    : rememberX(0),
      rememberY(0),
      remember(1),
      now(0.0),
      expiry(0.0),
      color{1.0f, 1.0f, 1.0f, 1.0f},
      message{},
      fontTexture(0),
      lastErrorCode(0) {}

TextOverlay::~TextOverlay() {}

void TextOverlay::DrawText(const char* text, int16_t x, int16_t y, float size) {
    // Asked of the window at every call, not taken from the host's copy of its size.
    const WindowSize window = CurrentWindowSize();
    const int windowWidth = window.width;
    const int windowHeight = window.height;
    const int16_t base = Wrap16(windowHeight - y);  // GL's y axis points up
    const float width = StoreFloat(size * kGlyphWidth);
    const float advance = StoreFloat(size * kGlyphAdvance);

    glColor4d(color[0], color[1], color[2], color[3]);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glDepthMask(GL_FALSE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, kAlphaCutoff);
    // Text stays solid while the scene draws in line or point mode.
    glPushAttrib(GL_POLYGON_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPushMatrix();
    glPushAttrib(GL_VIEWPORT_BIT);
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, AtLeastOne(windowWidth), 0, AtLeastOne(windowHeight), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    int16_t pen = x;
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char index = static_cast<unsigned char>(*c - kFirstCode);
        if (index != 0) DrawGlyph(index, pen, base, width, size);
        pen = TruncInt16(pen + static_cast<double>(advance));  // spaces advance too
    }

    glPopMatrix();
    glPopAttrib();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glPopAttrib();
    glDepthMask(GL_TRUE);

    if (remember) {
        rememberX = x;
        rememberY = y;
        // Byte by byte, so that redrawing `message` itself is a harmless self-copy; a longer
        // text is cut and stays terminated.
        int i = 0;
        for (; i < kMessageBytes - 1 && text[i] != '\0'; ++i) message[i] = text[i];
        message[i] = '\0';
    }
}

void TextOverlay::DrawTransient(const char* text, int16_t x, int16_t y, float size) {
    remember = 0;
    DrawText(text, x, y, size);
    remember = 1;
}
