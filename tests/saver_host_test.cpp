// The saver host in a window the test makes on a connection of its own, as a screen-saver daemon
// would: the same frames at the same clocks draw the same bytes as in the GLUT window of the same
// size and visual, opening title included, and no start-up hint; the host follows the window's size
// and mapping, and sees the end in SIGTERM, SIGINT and the window's destruction.
// Before Xlib, whose None macro would break GoogleTest's own None.
#include <gtest/gtest.h>

// Before Xlib too, whose CurrentTime macro would hide the scene's.
#include "scene/scene_state.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdint>

#include "gl_harness.h"
#include "host/app.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/window_system.h"
#include "host/x11_saver/saver_host.h"
#include "program/options.h"

namespace {
constexpr int kPumpRounds = 200;

// A window made by another X client: the test's own connection, as a daemon has its own.
class ForeignWindow {
  public:
    ForeignWindow(VisualID visualId, int width, int height) : display_(XOpenDisplay(nullptr)) {
        const int screen = DefaultScreen(display_);
        XVisualInfo pattern{};
        pattern.visualid = visualId;
        pattern.screen = screen;
        int count = 0;
        XVisualInfo* visual =
            XGetVisualInfo(display_, VisualIDMask | VisualScreenMask, &pattern, &count);
        const Window root = RootWindow(display_, screen);
        XSetWindowAttributes attributes{};
        colormap_ = XCreateColormap(display_, root, visual->visual, AllocNone);
        attributes.colormap = colormap_;
        attributes.border_pixel = 0;
        window_ = XCreateWindow(display_, root, 0, 0, static_cast<unsigned int>(width),
                                static_cast<unsigned int>(height), 0, visual->depth, InputOutput,
                                visual->visual, CWColormap | CWBorderPixel, &attributes);
        XFree(visual);
        XMapWindow(display_, window_);
        XSync(display_, False);
    }
    ~ForeignWindow() {
        if (window_ != 0) XDestroyWindow(display_, window_);
        XFreeColormap(display_, colormap_);
        XCloseDisplay(display_);
    }
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;

    Window id() const { return window_; }
    void Resize(int width, int height) {
        XResizeWindow(display_, window_, static_cast<unsigned int>(width),
                      static_cast<unsigned int>(height));
        XSync(display_, False);
    }
    void Unmap() {
        XUnmapWindow(display_, window_);
        XSync(display_, False);
    }
    void Map() {
        XMapWindow(display_, window_);
        XSync(display_, False);
    }
    void Destroy() {
        XDestroyWindow(display_, window_);
        XSync(display_, False);
        window_ = 0;
    }

  private:
    Display* display_;
    Colormap colormap_ = 0;
    Window window_ = 0;
};

// The visual GLUT chose for the test window from the program's display mode.
VisualID GlutWindowVisual() {
    XWindowAttributes attributes{};
    XGetWindowAttributes(glXGetCurrentDisplay(), glXGetCurrentDrawable(), &attributes);
    return XVisualIDFromVisual(attributes.visual);
}

// The saver host on `window`, from the start the program makes with --window-id: the window is
// checked, a context made for its visual and made current, and the scene's Init runs with the
// saver host in use. The GLUT window's context comes back when it ends.
class SaverSession {
  public:
    explicit SaverSession(Window window)
        : glutDisplay_(glXGetCurrentDisplay()),
          glutDrawable_(glXGetCurrentDrawable()),
          glutContext_(glXGetCurrentContext()) {
        ResetProgramState();  // releases the GLUT context's objects
        hostOptions.saver = 1;
        hostOptions.windowId = static_cast<uint32_t>(window);
        opened_ = kSaverWindowSystem.open();
        if (opened_ != 0) return;
        windowSystem = &kSaverWindowSystem;
        Init();
    }
    ~SaverSession() {
        if (opened_ == 0) ResetProgramState();  // releases the saver context's objects
        CloseSaverWindow();
        glXMakeCurrent(glutDisplay_, glutDrawable_, glutContext_);
        ResetProgramState();
    }
    SaverSession(const SaverSession&) = delete;
    SaverSession& operator=(const SaverSession&) = delete;

    int opened() const { return opened_; }
    // Handles the saver host's events until `done` holds; false if it never does. Each round
    // asks the server a question first, after which its answer to the test's request is in.
    template <typename Condition>
    bool HandleEventsUntil(Condition done) {
        for (int i = 0; i < kPumpRounds; ++i) {
            XSync(glXGetCurrentDisplay(), False);
            ended_ = HandleSaverEvents() || ended_;
            if (done()) return true;
        }
        return false;
    }
    bool ended() const { return ended_; }

  private:
    Display* glutDisplay_;
    GLXDrawable glutDrawable_;
    GLXContext glutContext_;
    int opened_ = -1;
    bool ended_ = false;
};

// The frames both hosts draw: the opening title and start-up hint at 0.5 s, then the steady
// scene at 7 s, with the frames in between drawn unseen at 30 a second.
std::vector<Picture> DrawTheFrames() {
    std::vector<Picture> pictures;
    RunFramesUnseen(0, 467, 30);
    RunFrameAt(500);
    pictures.push_back(ReadPicture());
    RunFramesUnseen(500, 6967, 30);
    RunFrameAt(7000);
    pictures.push_back(ReadPicture());
    return pictures;
}

// Pixels brighter than half white in the top left, where the title and the hint are drawn.
int BrightTextPixels(const Picture& picture) {
    int bright = 0;
    for (int y = picture.height * 3 / 4; y < picture.height; ++y) {
        for (int x = 0; x < picture.width / 2; ++x) {
            if (picture.At(x, y)[0] > 128) ++bright;
        }
    }
    return bright;
}
}  // namespace

TEST(SaverHost, DrawsTheBytesTheGlutHostDrawsAtTheSameClock) {
    StartScene();
    textOverlay.expiry = 0.0;  // the saver host points to no keys: no start-up hint
    const std::vector<Picture> glut = DrawTheFrames();
    ASSERT_EQ(glut.front().width, kStartWindowWidth);
    ASSERT_EQ(glut.front().height, kStartWindowHeight);

    ForeignWindow window(GlutWindowVisual(), kStartWindowWidth, kStartWindowHeight);
    SaverSession saver(window.id());
    ASSERT_EQ(saver.opened(), 0);
    EXPECT_EQ(windowSystem, &kSaverWindowSystem);
    EXPECT_EQ(textOverlay.expiry, 0.0) << "a start-up hint for keys that end a screen saver";
    const std::vector<Picture> saved = DrawTheFrames();

    ASSERT_EQ(saved.size(), glut.size());
    for (size_t i = 0; i < glut.size(); ++i) {
        EXPECT_EQ(saved[i].width, glut[i].width);
        EXPECT_EQ(saved[i].height, glut[i].height);
        EXPECT_TRUE(saved[i].rgb == glut[i].rgb) << "picture " << i << " differs";
    }
    // The title is there to compare in the first picture, and gone in the second.
    EXPECT_GT(BrightTextPixels(saved.front()), 300);
    EXPECT_LT(BrightTextPixels(saved.back()), 50);
}

TEST(SaverHost, FollowsTheWindowsSizeAndMapping) {
    ForeignWindow window(GlutWindowVisual(), 320, 240);
    SaverSession saver(window.id());
    ASSERT_EQ(saver.opened(), 0);
    EXPECT_EQ(WindowWidth, 320);
    EXPECT_EQ(WindowHeight, 240);
    EXPECT_EQ(WindowHidden, 0);

    window.Resize(400, 300);
    ASSERT_TRUE(saver.HandleEventsUntil([] { return WindowWidth == 400; }));
    EXPECT_EQ(WindowHeight, 300);
    const WindowSize size = CurrentWindowSize();  // what the text overlay reads
    EXPECT_EQ(size.width, 400);
    EXPECT_EQ(size.height, 300);
    // The GL driver takes the drawable's new size from the swap after the resize, as the host
    // swaps after every frame.
    RunFrameAt(100);
    glXSwapBuffers(glXGetCurrentDisplay(), glXGetCurrentDrawable());
    RunFrameAt(133);
    const Picture picture = ReadPicture();
    EXPECT_EQ(picture.width, 400);
    EXPECT_GT(BrightTextPixels(picture), 200) << "no title or hint in the resized window";

    window.Unmap();
    ASSERT_TRUE(saver.HandleEventsUntil([] { return WindowHidden == 1; }));
    window.Map();
    ASSERT_TRUE(saver.HandleEventsUntil([] { return WindowHidden == 0; }));
    EXPECT_FALSE(saver.ended());
}

TEST(SaverHost, EndsOnSigtermOnSigintAndWhenTheWindowIsDestroyed) {
    for (int endSignal : {SIGTERM, SIGINT}) {
        ForeignWindow window(GlutWindowVisual(), 320, 240);
        SaverSession saver(window.id());
        ASSERT_EQ(saver.opened(), 0);
        ASSERT_FALSE(saver.HandleEventsUntil([] { return false; })) << "ended before the signal";
        // Blocked by the host, the signal waits to be read as an event.
        std::raise(endSignal);
        EXPECT_TRUE(saver.HandleEventsUntil([&] { return saver.ended(); })) << endSignal;
    }
    ForeignWindow window(GlutWindowVisual(), 320, 240);
    SaverSession saver(window.id());
    ASSERT_EQ(saver.opened(), 0);
    RunFrameAt(100);
    window.Destroy();
    EXPECT_TRUE(saver.HandleEventsUntil([&] { return saver.ended(); }));
    RunFrameAt(200);  // a frame drawn after the window went does no harm
}

TEST(SaverHost, RefusesAVisualWithoutDoubleBufferingBeforeAnyGlWork) {
    Display* display = glXGetCurrentDisplay();
    int single[] = {GLX_RGBA, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), single);
    ASSERT_NE(visual, nullptr);
    const VisualID id = visual->visualid;
    XFree(visual);
    ForeignWindow window(id, 64, 64);
    const GLXContext glutContext = glXGetCurrentContext();
    SaverSession saver(window.id());
    EXPECT_EQ(saver.opened(), kUsageStatus);
    EXPECT_EQ(glXGetCurrentContext(), glutContext) << "a context was made current all the same";
}
