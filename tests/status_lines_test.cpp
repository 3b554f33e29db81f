// The top band: the 3-second status message, the frames-per-second clock and the GL error line,
// read back as the glyphs GL receives.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gl_harness.h"
#include "glyph_capture.h"
#include "host/host.h"
#include "host/host_state.h"
#include "scene/scene_state.h"
#include "text/text_overlay.h"

TEST(StatusLinesMessage, ShowsForThreeSecondsAndRenewsOnEachKey) {
    StartScene();
    // The scene's time, as the latest frame left it.
    auto shown = [](double now) {
        textOverlay.now = now;
        return TextOf(GlyphsDrawnBy([] { textOverlay.DrawMessage(); }));
    };
    textOverlay.now = 10.0;
    textOverlay.ShowMessage("Reset");
    for (double now : {10.0, 12.0, 12.999}) {
        EXPECT_EQ(shown(now), "Reset") << now;
        EXPECT_DOUBLE_EQ(textOverlay.expiry, 13.0);
    }
    const auto glyphs = GlyphsDrawnBy([] { textOverlay.DrawMessage(); });
    EXPECT_NEAR(glyphs.at(0).x0, 10, 0.01);
    EXPECT_NEAR(glyphs.at(0).y0, kStartWindowHeight - 25, 0.01);
    EXPECT_EQ(shown(13.0), "");
    EXPECT_EQ(textOverlay.expiry, 0.0);
    EXPECT_STREQ(textOverlay.message, "Reset");
    // A repeated key replaces the text and starts a fresh 3 seconds.
    textOverlay.now = 20.0;
    textOverlay.ShowMessage("Letterbox: %d", 1);
    textOverlay.now = 22.5;
    textOverlay.ShowMessage("Letterbox: %d", 2);
    EXPECT_EQ(shown(25.0), "Letterbox:2");
    EXPECT_EQ(shown(25.5), "");
}

TEST(StatusLinesMessage, PlainTextIsNeverAFormatAndEveryLineIsBounded) {
    StartScene();
    for (const char* text : {"%s%n", "100%"}) {
        EXPECT_EQ(TextOf(GlyphsDrawnBy([&] { textOverlay.ShowMessage(text); })), text);
        EXPECT_STREQ(textOverlay.message, text);
    }
    // Longer lines are cut to 79 characters and remembered; the window shows the first 70.
    const std::string filler(85, 'x');
    for (const auto& show : std::vector<std::function<void()>>{
             [&] { textOverlay.ShowMessage((filler + "%4.2f").c_str(), 1.5); },
             [&] { textOverlay.ShowMessage((filler + "%d").c_str(), 7); },
             [&] { textOverlay.ShowMessage(filler.c_str()); }}) {
        EXPECT_EQ(TextOf(GlyphsDrawnBy(show)), filler.substr(0, 70));
        EXPECT_EQ(textOverlay.message, filler.substr(0, 79));
    }
}

TEST(StatusLinesTopBand, ClockAndErrorLineLeaveTheMessageAlone) {
    StartScene();
    const std::string hint = textOverlay.message;
    const double expiry = textOverlay.expiry;
    textOverlay.now = 1.0;  // an error line that renewed the message would make its expiry 4.0
    // 13 characters from W - 120, the last ending at W - 2; W is the window's width.
    struct Clock {
        int width, fps;
        const char* text;
        int left, right;
    };
    for (const Clock& c :
         {Clock{640, 123, "123Frame/Sec", 520, 638}, Clock{640, 7, "7Frame/Sec", 538, 638},
          Clock{300, 123, "123Frame/Sec", 180, 298}}) {
        ResizeWindow(c.width, kStartWindowHeight);
        const auto glyphs = GlyphsDrawnBy([&] { textOverlay.DrawFrameRate(c.fps); });
        EXPECT_EQ(TextOf(glyphs), c.text);
        EXPECT_NEAR(glyphs.front().x0, c.left, 0.01);
        EXPECT_NEAR(glyphs.back().x1, c.right, 0.01);
        EXPECT_NEAR(glyphs.front().y0, kStartWindowHeight - 25, 0.01);
    }
    auto report = [] { return GlyphsDrawnBy([] { textOverlay.ReportGlError(); }); };
    EXPECT_TRUE(report().empty());
    for (const auto& [width, left] : {std::pair<int, int>{640, 256}, {1024, 409}}) {
        ResizeWindow(width, kStartWindowHeight);
        glEnable(0x1234);  // GL_INVALID_ENUM
        const auto glyphs = report();
        EXPECT_EQ(TextOf(glyphs), "OpenGLError:invalidenumerant");
        EXPECT_NEAR(glyphs[0].x0, left, 0.01);
        EXPECT_TRUE(report().empty());  // the one pending error was taken
    }
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
    EXPECT_EQ(textOverlay.message, hint);
    EXPECT_EQ(textOverlay.rememberX, 10);
    EXPECT_EQ(textOverlay.rememberY, 25);
    EXPECT_EQ(textOverlay.expiry, expiry);
    EXPECT_EQ(textOverlay.remember, 1);
}

TEST(StatusLinesTopBand, ErrorLineIsWrittenToStandardErrorOncePerChangeOfCode) {
    StartScene();
    auto reportTwice = [](const std::function<void()>& raise) {
        ::testing::internal::CaptureStderr();
        for (int i = 0; i < 2; ++i) {
            raise();
            textOverlay.ReportGlError();
        }
        return ::testing::internal::GetCapturedStderr();
    };
    const auto invalidEnum = [] { glEnable(0x1234); };
    const auto invalidValue = [] { glLineWidth(-1.0f); };
    EXPECT_EQ(reportTwice(invalidEnum), "wispra: OpenGL Error: invalid enumerant\n");
    EXPECT_EQ(reportTwice(invalidEnum), "");  // the same code later on: still nothing
    EXPECT_EQ(reportTwice(invalidValue), "wispra: OpenGL Error: invalid value\n");
    EXPECT_EQ(reportTwice(invalidEnum), "wispra: OpenGL Error: invalid enumerant\n");
    ::testing::internal::CaptureStderr();
    textOverlay.ReportGlError();  // no error pending: nothing
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    // A fresh start forgets what was written.
    StartScene();
    EXPECT_EQ(reportTwice(invalidEnum), "wispra: OpenGL Error: invalid enumerant\n");
}
