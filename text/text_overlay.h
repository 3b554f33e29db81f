// Strings drawn in window pixels from a glyph-sheet texture, and the one-line status message,
// frames-per-second clock and GL error line that share the top band of the window.
#pragma once

#include <cstdint>

#include "common/widths.h"

constexpr int kMessageBytes = 80;  // remembered text and every formatted line, terminator included

// The overlay's lengths are laid out in font pixels and drawn at a whole number of pixels each
// (CurrentTextScale, 1 on an ordinary screen): a position or step, and a glyph size.
inline int16_t ScaledPixels(int fontPixels, int scale) {
    return Wrap16(fontPixels * scale);
}
inline float ScaledSize(float fontPixels, int scale) {
    return StoreFloat(static_cast<double>(fontPixels) * scale);
}

class TextOverlay {
  public:
    TextOverlay();
    virtual ~TextOverlay();

    // Draws text with its glyph bottoms y pixels below the window's top edge, starting x pixels
    // from the left edge; size is the glyph height in pixels. Remembers position and text while
    // `remember` is set.
    void DrawText(const char* text, int16_t x, int16_t y, float size);
    // DrawText that leaves the remembered message alone, for lines that are drawn afresh each
    // frame (the clock, the error line, the help screen, the title). Leaves `remember` 1.
    void DrawTransient(const char* text, int16_t x, int16_t y, float size);

    // A status message for 3 seconds at the top left: a format with one floating conversion, a
    // format with one %d, or a plain text (never used as a format).
    void ShowMessage(const char* format, double value);
    void ShowMessage(const char* format, int value);
    void ShowMessage(const char* text);

    // Redraws the pending status message, or ends it once its time is up.
    void DrawMessage();
    // The frames-per-second line at the top right.
    void DrawFrameRate(int fps);
    // Takes one GL error, if any, and shows its description in the top band; writes it to
    // standard error too, unless it is the code written last.
    void ReportGlError();

    int rememberX;                // x of the remembered text, window pixels; written by DrawText
    int rememberY;                // y of the remembered text, window pixels; written by DrawText
    int remember;                 // 0/1: DrawText remembers; cleared only inside DrawTransient
    double now;                   // scene seconds at the latest frame, which the status message
                                  // counts on; written by the frame
    double expiry;                // scene seconds when the message ends; 0.0: none
    float color[4];               // RGBA applied to every glyph; the title flash changes alpha
    char message[kMessageBytes];  // the remembered text, always NUL-terminated
    unsigned int fontTexture;     // glyph-sheet texture name, 0 until the textures load
    unsigned int lastErrorCode;   // GL error last written to standard error, 0: none; ReportGlError
};
