// Frame composition: Init sets up every part once, Frame draws one picture in a fixed order,
// Shutdown releases the GL objects.
//
// GL state: Init sets the scene defaults (SetSceneGlDefaults). Each frame starts by loading its own
// viewport, projection and modelview; the drawing steps switch on what they need and off again.
#include "scene/frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "common/widths.h"
#include "host/app.h"
#include "host/clock.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/input.h"
#include "host/window_system.h"
#include "motion/oscillators.h"
#include "motion/random.h"
#include "scene/controls.h"
#include "scene/gl_defaults.h"
#include "scene/help_screen.h"
#include "scene/lights.h"
#include "scene/scene_state.h"
#include "scene/settings.h"
#include "scene/smoke.h"
#include "scene/star_field.h"
#include "scene/textures.h"
#include "text/text_overlay.h"

namespace {
constexpr char kWindowTitle[] = "Vell";
constexpr char kTitleText[] = "Wispra";
constexpr char kStartupHint[] = "Press ? key for Help Screen";

constexpr double kReseedChance = 0.0001;
constexpr double kMaxFrameDelta = 0.1;  // a longer frame is a stall...
constexpr uint64_t kStallMs = 50;       // ...and counts as this much
constexpr float kStallFrameDelta = static_cast<float>(MsToSeconds(kStallMs));
constexpr double kLongestCatchUp = 60.0;  // seconds the frame-rate mark may lag
constexpr double kFadeRate = 0.5;         // brightness lost per second while fading out
constexpr double kFadeEnd = 0.1;
constexpr double kTitleSeconds = 6.0;
constexpr float kTitleSize = 60.0f;    // font pixels
constexpr double kTitleAnchorX = 0.1;  // of the window width
constexpr double kTitleAnchorY = 0.2;  // of the window height

constexpr double kLetterboxStep = 0.05;  // of the window height, per letterbox unit and bar
constexpr double kNearPlane = 0.01;
constexpr double kFarBeyondCamera = 9.0;
constexpr float kCameraOffsetY = 0.1f;
constexpr float kCameraOffsetZ = 0.5f;

// The scene's time moves on by what the frame counts: the whole time since the previous frame,
// or a stall's 0.05 s. It follows the uptime, not ElapsedMs, so it never steps back when
// ElapsedMs wraps; in whole milliseconds, so that until the first stall it is the uptime itself
// and each delta is the same double difference as the uptime's.
void AdvanceClock() {
    const uint64_t gapMs = UptimeMs > PreviousUptimeMs ? UptimeMs - PreviousUptimeMs : 0;
    PreviousUptimeMs = UptimeMs;
    FrameDelta = StoreFloat(MsToSeconds(SceneMs + gapMs) - MsToSeconds(SceneMs));
    if (static_cast<double>(FrameDelta) > kMaxFrameDelta) {
        FrameDelta = kStallFrameDelta;
        SceneMs += kStallMs;
    } else {
        SceneMs += gapMs;
    }
    CurrentTime = MsToSeconds(SceneMs);
    textOverlay.now = CurrentTime;  // the status message's 3 seconds are scene seconds
}

// Frames per second of the host's uptime, not of the scene's time, which runs slow below 10
// frames a second: the clock shows what the machine manages.
void CountFrame() {
    const double now = UptimeSeconds();
    FramesThisSecond += 1;
    // After a short stall the mark catches up a second per frame; after a long one (a window
    // hidden for hours) it would report 1 for as many frames as seconds passed, so it jumps.
    if (now - NextSecond > kLongestCatchUp) NextSecond = std::floor(now);
    if (now >= NextSecond) {
        NextSecond += 1.0;
        FramesPerSecond = FramesThisSecond;  // includes the frame that crosses the mark
        FramesThisSecond = 0;
    }
}

void StepFadeOut() {
    Brightness = StoreFloat(Brightness - FrameDelta * kFadeRate);
    if (Brightness < kFadeEnd) QuitProgram();
}

void DrawOpeningTitle() {
    const int16_t x = TruncInt16(UnsignedSize(WindowWidth) * kTitleAnchorX);
    const int16_t y = TruncInt16(UnsignedSize(WindowHeight) * kTitleAnchorY);
    const float alpha = StoreFloat(1.0 - std::sqrt(CurrentTime / kTitleSeconds));
    TitleFlash(kTitleText, x, y, ScaledSize(kTitleSize, CurrentTextScale()), alpha);
}
}  // namespace

bool PreInit() {
    return true;
}

const char* WindowTitle() {
    return kWindowTitle;
}

bool Init() {
    ResetScene();
    // A run that is to replay one motion, or to differ from its neighbours, starts from its own
    // seed.
    if (FirstSeed != kSeedFromClock) SeedRandom(static_cast<uint32_t>(FirstSeed));
    glClearColor(0, 0, 0, 1);

    TakeInput({SceneKeyboard, SceneSpecial, SceneMouse, SceneMotion});
    FullScreen = hostOptions.windowed ? 0 : 1;  // --window keeps the window; f still toggles
    if (FullScreen) RequestFullScreen();
    SetProjection();

    SetSceneGlDefaults();

    InitOscillators(kOscillatorSlots);
    SetupLights(kSceneLights, kStartAmbient, kStartSpecular);
    BuildUniverse();
    InitResources();
    // Where no key reaches the program (a screen saver ends at any key) it points to none.
    if (WindowReadsInput()) textOverlay.ShowMessage(kStartupHint);
    HidePointer();
    return true;
}

bool Frame() {
    // Before any other draw of the frame, so every routine sees the same sequence.
    if (RandomUpTo(1.0) < kReseedChance) SeedRandom(ElapsedMs);
    AdvanceClock();
    if (!PauseMotion) {
        StepOscillators(kOscillatorSlots, FrameDelta, settings);
        // Placed under the modelview the previous frame left: that frame's camera.
        PlaceSpotLights(kSceneLights, kPlacedAmbient, kPlacedDiffuse, kPlacedSpecular, Brightness,
                        kLightDistance);
    }
    CountFrame();
    SetProjection();
    PlaceCamera();
    if (settings.Blanking) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    if (settings.SpotLightsOn) glEnable(GL_LIGHTING);
    if (settings.UniverseOn) DrawUniverse();
    if (settings.SpotLightsOn) glDisable(GL_LIGHTING);

    SmokeFrame();

    if (textOverlay.expiry != 0.0) textOverlay.DrawMessage();
    if (settings.FpsClockOn) textOverlay.DrawFrameRate(FramesPerSecond);
    if (HelpShown) DrawHelpScreen();
    if (Brightness < 1.0f) StepFadeOut();
    if (CurrentTime < kTitleSeconds) DrawOpeningTitle();
    textOverlay.ReportGlError();
    return true;
}

void Shutdown() {
    universe.Release();
    ReleaseTextures();
}

void SetProjection() {
    switch (settings.PolyMode) {
        case 0:
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            break;
        case 1:
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            break;
        case 2:
            glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
            break;
        default:
            break;
    }

    const double f = settings.Letterbox * kLetterboxStep;
    const double height = UnsignedSize(WindowHeight);
    const int bottom = TruncInt(f * height);
    const int top = TruncInt((1.0 - f) * height);
    const int h = top - bottom;
    glViewport(0, bottom, WindowWidth, h);

    // A window with no height left has no meaningful aspect; 1 keeps the matrix finite.
    const double aspect = h > 0 ? UnsignedSize(WindowWidth) / h : 1.0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(settings.Fov, aspect, kNearPlane, settings.CameraZ + kFarBeyondCamera);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, settings.CameraZ, 0, 0, settings.CameraZ - 1.0, 0, 1, 0);
}

void PlaceCamera() {
    CameraAngleX = CameraAngleY = CameraAngleZ = 0;
    glTranslatef(0, -kCameraOffsetY, -kCameraOffsetZ);
    glRotatef(StoreFloat(CameraAngleX), 1, 0, 0);
    glRotatef(StoreFloat(CameraAngleY), 0, 1, 0);
    glRotatef(StoreFloat(CameraAngleZ), 0, 0, 1);
}
