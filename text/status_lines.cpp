// The lines of the window's top band: the 3-second status message at the left, the GL error line
// from 40 % of the width and the frames-per-second clock at the right.
//
// All draw through DrawText and expect and leave what it does. The clock and the error line are
// never remembered: they draw through DrawTransient, which leaves `remember` 1.
#include <GL/glu.h>

#include <cstdarg>
#include <cstdio>

#include "common/widths.h"
#include "host/window_system.h"
#include "text/text_overlay.h"

namespace {
constexpr int kMessageX = 10;  // font pixels, as every length here
constexpr int kBandY = 25;     // glyph bottoms, below the top edge
constexpr float kBandSize = 20.0f;
constexpr double kMessageSeconds = 3.0;
constexpr int kClockFromRight = 120;
constexpr double kErrorLineX = 0.4;  // of the window width
constexpr int kErrorTextBytes = 60;  // the description is cut to 59 characters

// Formats a line into the 80-byte buffer, draws it as the new status message (remembered) and
// starts its 3 seconds.
__attribute__((format(printf, 2, 3))) void Post(TextOverlay& overlay, const char* format, ...) {
    char line[kMessageBytes];
    va_list values;
    va_start(values, format);
    std::vsnprintf(line, sizeof line, format, values);
    va_end(values);
    const int scale = CurrentTextScale();
    overlay.DrawText(line, ScaledPixels(kMessageX, scale), ScaledPixels(kBandY, scale),
                     ScaledSize(kBandSize, scale));
    // On the scene's time, as the frame counts it: a stall holds the message back with everything
    // else. A key between frames counts from the frame before it.
    overlay.expiry = overlay.now + kMessageSeconds;
}

// gluErrorString knows the standard codes only; anything else still gets a readable line.
void DescribeGlError(GLenum err, char (&out)[kErrorTextBytes]) {
    const GLubyte* known = gluErrorString(err);
    if (known != nullptr) {
        std::snprintf(out, sizeof out, "%s", reinterpret_cast<const char*>(known));
    } else {
        std::snprintf(out, sizeof out, "unknown error 0x%04X", static_cast<unsigned int>(err));
    }
}
}  // namespace

void TextOverlay::ShowMessage(const char* format, double value) {
    Post(*this, format, value);
}

void TextOverlay::ShowMessage(const char* format, int value) {
    Post(*this, format, value);
}

void TextOverlay::ShowMessage(const char* text) {
    Post(*this, "%s", text);  // a '%' in the text is just a character
}

void TextOverlay::DrawMessage() {
    if (now < expiry) {
        DrawText(message, Wrap16(rememberX), Wrap16(rememberY),
                 ScaledSize(kBandSize, CurrentTextScale()));
    } else {
        expiry = 0.0;  // the text stays in `message`
    }
}

void TextOverlay::DrawFrameRate(int fps) {
    char line[kMessageBytes];
    std::snprintf(line, sizeof line, "%3d Frame/Sec", fps);
    const int scale = CurrentTextScale();
    DrawTransient(line, Wrap16(CurrentWindowSize().width - kClockFromRight * scale),
                  ScaledPixels(kBandY, scale), ScaledSize(kBandSize, scale));
}

void TextOverlay::ReportGlError() {
    const GLenum err = glGetError();
    if (err != GL_NO_ERROR) {
        char description[kErrorTextBytes];
        DescribeGlError(err, description);
        char line[kMessageBytes];
        std::snprintf(line, sizeof line, "OpenGL Error: %s", description);
        const int scale = CurrentTextScale();
        DrawTransient(line, TruncInt16(UnsignedSize(CurrentWindowSize().width) * kErrorLineX),
                      ScaledPixels(kBandY, scale), ScaledSize(kBandSize, scale));
        // The line on screen lasts one frame; standard error keeps it for whoever looks later,
        // once per change of code so that an error repeated every frame is written once.
        if (err != lastErrorCode) {
            std::fprintf(stderr, "wispra: %s\n", line);
            lastErrorCode = err;
        }
    }
    remember = 1;  // whether or not there was an error
}
