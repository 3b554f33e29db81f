// The help screen's 26 lines and the opening title's wobble and jumps.
//
// Both draw through the text overlay's DrawTransient, so they expect and leave what DrawText does,
// never replace the remembered message, and the title leaves the overlay's alpha at 1.
#include "scene/help_screen.h"

#include "common/widths.h"
#include "host/host_state.h"
#include "host/window_system.h"
#include "motion/oscillators.h"
#include "motion/random.h"
#include "scene/scene_state.h"
#include "text/text_overlay.h"

namespace {
constexpr char kHelpTitle[] = "Wispra";
constexpr double kHelpTitleY = 0.09;  // of the window height
constexpr int kHelpTitleX = 20;       // font pixels, as every length here
constexpr float kHelpTitleSize = 30.0f;
constexpr int kHelpLineX = 30;
constexpr float kHelpLineSize = 18.0f;
constexpr int kLineStep = 17;

// How far a line lies below the one before it, in line steps: whole steps add exactly; the two
// fractional gaps are truncated to whole pixels.
enum class Gap { kStep, kBelowTitle, kNewSection };

struct HelpLine {
    Gap gap;
    const char* text;
};

// The leading spaces line the key names up in columns at the overlay's fixed advance.
constexpr HelpLine kHelpLines[] = {
    {Gap::kBelowTitle, "Special Controls for this simulation: (best in 32 bit color)"},
    {Gap::kStep, "<Left/Right>  Adjust Main Flow Speed"},
    {Gap::kStep, "  <Up/Down>   Adjust Smoke Trail Length"},
    {Gap::kStep, "          []  Adjust Smoke Size"},
    {Gap::kStep, "   shift  <>  Adjust Cigarette Tesselation 5-40"},
    {Gap::kStep, "    <Mouse>   Click and Drag Cigarette"},
    {Gap::kNewSection, "Standard Controls in most simulations where applicable:"},
    {Gap::kStep, "unshifted <>  Adjust Screen Magnification"},
    {Gap::kStep, "          -=  Adjust Universe Rotate Speed"},
    {Gap::kStep, "  shift   _+  Adjust Universe Movement Speed"},
    {Gap::kStep, "  shift   {}  Adjust Closeness (Camera Z)"},
    {Gap::kStep, "           c  Toggle Frame-Per-Second Clock"},
    {Gap::kStep, "           f  Toggle FullScreen/Window"},
    {Gap::kStep, "           l  Adjust Letterbox Size 0-6"},
    {Gap::kStep, "           p  Toggle Pause On/Off"},
    {Gap::kStep, "           r  Reset/Randomize all parameters"},
    {Gap::kStep, "           s  Toggle Color SpotLites On-Off"},
    {Gap::kStep, "           t  Toggle Textures On-Off"},
    {Gap::kStep, "           u  Toggle Universe of Stars On/Off"},
    {Gap::kStep, "           w  Toggle Polygons/Wireframe/Points"},
    {Gap::kStep, "      <SPACE> Toggle Hyperspace (non-blanking)"},
    {Gap::kStep, " <ESC> to QUIT"},
    {Gap::kStep, "   -------------------------------------------------------- "},
    {Gap::kStep, "   Wispra: smoke, stars and a swaying cigarette in OpenGL"},
    {Gap::kStep, "   Written by the Wispra developers, 2026"},
    {Gap::kStep, "   <?> to return"},
};

// The gap in font pixels.
int GapPixels(Gap gap) {
    switch (gap) {
        case Gap::kBelowTitle:
            return TruncInt(kLineStep * 1.4);
        case Gap::kNewSection:
            return kLineStep + TruncInt(kLineStep * 0.3);
        default:
            return kLineStep;
    }
}

// From the title's glyph bottoms to the last line's, in font pixels.
int HelpSpread() {
    int spread = 0;
    for (const HelpLine& line : kHelpLines) spread += GapPixels(line.gap);
    return spread;
}

// The text factor for the help in a window `height` pixels high: the overlay's, or else the
// largest below it at which the whole help, title to last line, fits the window. At 1 it is drawn
// as it is, whether it fits or not.
int HelpScale(int scale, int16_t titleY, int height) {
    const int spread = HelpSpread();
    while (scale > 1 &&
           (titleY < ScaledSize(kHelpTitleSize, scale) || titleY + spread * scale > height))
        --scale;
    return scale;
}

constexpr int kTitleXSlot = 17;
constexpr int kTitleYSlot = 18;
constexpr double kWobbleFrequency = 40.0;
constexpr double kJumpChance = 0.01;  // of the product of two uniform draws: ~1 frame in 18

// A rare one-frame jump of up to half the size either way; draws two or three numbers.
int16_t MaybeJump(int16_t place, float size, float half) {
    const double a = RandomUpTo(1.0);
    const double b = RandomUpTo(1.0);
    if (b * a < kJumpChance) return TruncInt16(place + RandomUpTo(size) - half);
    return place;
}
}  // namespace

void DrawHelpScreen() {
    int16_t y = TruncInt16(UnsignedSize(WindowHeight) * kHelpTitleY);
    const int scale = HelpScale(CurrentTextScale(), y, WindowHeight);
    textOverlay.DrawTransient(kHelpTitle, ScaledPixels(kHelpTitleX, scale), y,
                              ScaledSize(kHelpTitleSize, scale));
    for (const HelpLine& line : kHelpLines) {
        y = Wrap16(y + GapPixels(line.gap) * scale);
        textOverlay.DrawTransient(line.text, ScaledPixels(kHelpLineX, scale), y,
                                  ScaledSize(kHelpLineSize, scale));
    }
}

void TitleFlash(const char* text, int16_t x, int16_t y, float size, float alpha) {
    const float half = StoreFloat(size * 0.5);
    int16_t xs = TruncInt16(x + Oscillate(kTitleXSlot, kWobbleFrequency, size, -half));
    int16_t ys = TruncInt16(y + Oscillate(kTitleYSlot, kWobbleFrequency, size, -half));
    // Horizontal draws come before vertical ones.
    xs = MaybeJump(xs, size, half);
    ys = MaybeJump(ys, size, half);

    textOverlay.color[3] = alpha;
    textOverlay.DrawTransient(text, xs, ys, size);
    textOverlay.color[3] = 1.0f;
}
