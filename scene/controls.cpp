// Key and mouse controls: each key changes one setting and most confirm it with a status message.
#include "scene/controls.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>

#include "common/keys.h"
#include "common/widths.h"
#include "host/host_state.h"
#include "motion/oscillators.h"
#include "motion/random.h"
#include "particles/particle_system.h"
#include "scene/cigarette.h"
#include "scene/lights.h"
#include "scene/scene_state.h"
#include "scene/settings.h"
#include "text/text_overlay.h"

namespace {
constexpr float kQuitBrightness = 0.999f;  // just below 1: the frame's fade-out starts

constexpr double kSlower = 0.9;
constexpr double kFaster = 1.111111;
constexpr double kSmaller = 0.95;
constexpr double kLarger = 1.055555;  // not 1 / 0.95: a step down and up drifts slightly
constexpr double kCameraStep = 0.05;

// Every stepped setting stays where it is finite and a step back changes it, far beyond anything
// seen in use: a factor of 1000 either way takes over 120 presses.
struct Range {
    double lowest, highest;
};
constexpr Range kFactors{0.001, 1000.0};
// The far plane lies CameraZ + 9 from the eye and must stay beyond the near plane at 0.01.
constexpr Range kCameraZs{-8.95, 100.0};

constexpr int kFovStep = 2;
constexpr int kFovMin = 10;
constexpr int kFovMax = 178;
constexpr int kTesselationMin = 5;
constexpr int kTesselationMax = 40;
constexpr int kLetterboxTop = 6;  // the cycle grows to 6, then shrinks back
constexpr int kLetterboxTurn = -5;
constexpr int kPolyModes = 3;
constexpr int kSmokeOptions = 3;
constexpr int kWindowedSide = 512;

constexpr const char* kPolyModeNames[kPolyModes] = {"PolyMode 1/3: Polygons", "PolyMode 2/3: Lines",
                                                    "PolyMode 3/3: Points"};
constexpr const char* kSmokeOptionNames[kSmokeOptions] = {"Option 0/2: Flame", "Option 1/2: Cloud",
                                                          "Option 2/2: Random Color Cloud"};

// A key that scales a setting by a factor or shifts it by a step, then shows the new value.
enum class Change { kScale, kShift };

struct StepKey {
    int key;  // a character, or a GLUT special-key code in the arrow table
    float SceneSettings::*field;
    Change change;
    double amount;  // the factor or the step
    Range range;    // the field is kept within it
    const char* format;
};

constexpr StepKey kCharacterSteps[] = {
    {'-', &SceneSettings::RotateSpeed, Change::kScale, kSlower, kFactors, "Rotate Speed: %4.2f\n"},
    {'=', &SceneSettings::RotateSpeed, Change::kScale, kFaster, kFactors, "Rotate Speed: %4.2f\n"},
    {'_', &SceneSettings::MovementSpeed, Change::kScale, kSlower, kFactors,
     "Movement Speed: %4.2f\n"},
    {'+', &SceneSettings::MovementSpeed, Change::kScale, kFaster, kFactors,
     "Movement Speed: %4.2f\n"},
    {'(', &SceneSettings::LightRotateSpeed, Change::kScale, kSlower, kFactors,
     "Light Rotate Speed: %4.2f\n"},
    {')', &SceneSettings::LightRotateSpeed, Change::kScale, kFaster, kFactors,
     "Light Rotate Speed: %4.2f\n"},
    {'{', &SceneSettings::CameraZ, Change::kShift, -kCameraStep, kCameraZs, "CameraZ: %4.2f\n"},
    {'}', &SceneSettings::CameraZ, Change::kShift, kCameraStep, kCameraZs, "CameraZ: %4.2f\n"},
    {'[', &SceneSettings::ObjectSize, Change::kScale, kSmaller, kFactors, "Object Size: %4.2f\n"},
    {']', &SceneSettings::ObjectSize, Change::kScale, kLarger, kFactors, "Object Size: %4.2f\n"},
};

constexpr StepKey kArrowSteps[] = {
    {GLUT_KEY_LEFT, &SceneSettings::MainSpeed, Change::kScale, kSmaller, kFactors,
     "Main Speed: %4.2f\n"},
    {GLUT_KEY_RIGHT, &SceneSettings::MainSpeed, Change::kScale, kLarger, kFactors,
     "Main Speed: %4.2f\n"},
    {GLUT_KEY_UP, &SceneSettings::ArrowY, Change::kScale, kLarger, kFactors, "ArrowY: %4.2f\n"},
    {GLUT_KEY_DOWN, &SceneSettings::ArrowY, Change::kScale, kSmaller, kFactors, "ArrowY: %4.2f\n"},
};

// The change is formed in double, kept in range and stored back as a float; the message shows the
// double.
void ApplyStep(const StepKey& step) {
    float& field = settings.*step.field;
    const double changed =
        step.change == Change::kScale ? field * step.amount : field + step.amount;
    const double value = std::clamp(changed, step.range.lowest, step.range.highest);
    field = StoreFloat(value);
    textOverlay.ShowMessage(step.format, value);
}

// Applies the row for `key`, if the table has one.
template <size_t N>
bool ApplyStepKey(const StepKey (&table)[N], int key) {
    for (const StepKey& step : table) {
        if (step.key != key) continue;
        ApplyStep(step);
        return true;
    }
    return false;
}

// Flips a 0/1 flag and reports its new state.
void Toggle(int& flag, const char* onText, const char* offText) {
    flag = !flag;
    textOverlay.ShowMessage(flag ? onText : offText);
}

void ShowFov() {
    textOverlay.ShowMessage("FOV: %3.0f Degrees\n", static_cast<double>(settings.Fov));
}

void StepLetterbox() {
    // A reset may have changed Letterbox since the last press: continue from there.
    if (std::abs(LetterboxPhase) != settings.Letterbox) LetterboxPhase = settings.Letterbox;
    LetterboxPhase = LetterboxPhase == kLetterboxTop ? kLetterboxTurn : LetterboxPhase + 1;
    settings.Letterbox = std::abs(LetterboxPhase);
    textOverlay.ShowMessage("Letterbox: %d", settings.Letterbox);
}

void ResetKeySequence() {
    SeedRandom(ElapsedMs);
    ResetScene();
    // Slot 0 and the emission clock start afresh too, so a reset always brings back a running
    // scene, whatever state the motion was left in.
    ClearOscillatorBank();
    InitOscillators(kOscillatorSlots);
    particleSystem.lastEmitTime = 0;
    SetupLights(kSceneLights, kResetAmbient, kResetSpecular);
    textOverlay.ShowMessage("Reset");
}

void ToggleHelp() {
    HelpShown = !HelpShown;
    // Clear the help off the picture at once; in Hyperspace it stays until overdrawn.
    if (!HelpShown && settings.Blanking) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void ToggleFullScreen() {
    FullScreen = !FullScreen;
    if (FullScreen) {
        glutFullScreen();
    } else {
        glutReshapeWindow(kWindowedSide, kWindowedSide);
    }
}

void SetTesselation(int value) {
    settings.Tesselation = value;
    textOverlay.ShowMessage("Tesselation: %d\n", settings.Tesselation);
    BuildCigarette();  // also at a limit, where the value stays
}

// Offsets from the window centre, truncated toward zero.
void TrackPointer(int x, int y) {
    MouseX = TruncInt(x - UnsignedSize(WindowWidth) * 0.5);
    MouseY = TruncInt(y - UnsignedSize(WindowHeight) * 0.5);
}
// The standard controls that are not a scaled or shifted setting.
void StandardKey(unsigned char key) {
    switch (key) {
        case kEscape:
            settings.Blanking = 1;
            HelpShown = 0;
            Brightness = kQuitBrightness;
            break;
        case ' ':
            settings.Blanking = !settings.Blanking;
            break;
        case ',':
            settings.Fov = settings.Fov < kFovMax ? settings.Fov + kFovStep : kFovMax;
            ShowFov();
            break;
        case '.':
            settings.Fov = settings.Fov > kFovMin ? settings.Fov - kFovStep : kFovMin;
            ShowFov();
            break;
        case '?':
        case '/':
            ToggleHelp();
            break;
        case 'C':
        case 'c':
            Toggle(settings.FpsClockOn, "Frame/Second Clock On", "Frame/Second Clock Off");
            break;
        case 'F':
        case 'f':
            ToggleFullScreen();
            break;
        case 'L':
        case 'l':
            StepLetterbox();
            break;
        case 'P':
        case 'p':
            Toggle(PauseMotion, "Pause Camera Motion", "Continue Camera Motion");
            break;
        case 'R':
        case 'r':
            ResetKeySequence();
            break;
        case 'S':
        case 's':
            Toggle(settings.SpotLightsOn, "SpotLights On", "SpotLights Off");
            break;
        case 'T':
        case 't':
            Toggle(settings.TexturesOn, "Textures On", "Textures Off");
            break;
        case 'U':
        case 'u':
            Toggle(settings.UniverseOn, "Universe On", "Universe Off");
            break;
        case 'W':
        case 'w':
            settings.PolyMode = settings.PolyMode == kPolyModes - 1 ? 0 : settings.PolyMode + 1;
            textOverlay.ShowMessage(kPolyModeNames[settings.PolyMode]);
            break;
        default:
            break;
    }
}
}  // namespace

void SceneKeyboard(unsigned char key, int, int) {
    if (!ApplyStepKey(kCharacterSteps, key)) StandardKey(key);
    SimulationKeys(key);  // every key, matched or not
}

void SimulationKeys(unsigned char key) {
    switch (key) {
        case '<':
            SetTesselation(settings.Tesselation == kTesselationMin ? kTesselationMin
                                                                   : settings.Tesselation - 1);
            break;
        case '>':
            SetTesselation(settings.Tesselation == kTesselationMax ? kTesselationMax
                                                                   : settings.Tesselation + 1);
            break;
        case 'O':
        case 'o':
            settings.SmokeOption =
                settings.SmokeOption == kSmokeOptions - 1 ? 0 : settings.SmokeOption + 1;
            textOverlay.ShowMessage(kSmokeOptionNames[settings.SmokeOption]);
            if (settings.SmokeOption == 0) glClearColor(0, 0, 0, 1);
            break;
        default:
            break;
    }
}

void SceneSpecial(int key, int, int) {
    ApplyStepKey(kArrowSteps, key);
}

void SceneMouse(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON) return;  // other buttons neither start nor end a drag
    if (state == GLUT_DOWN) MouseDragging = 1;
    if (state == GLUT_UP) MouseDragging = 0;
    TrackPointer(x, y);
}

void SceneMotion(int x, int y) {
    TrackPointer(x, y);
}
