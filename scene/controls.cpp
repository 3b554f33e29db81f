// Key and mouse controls: each key changes one setting and most confirm it with a status message.
#include "scene/controls.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

#include "common/keys.h"
#include "common/widths.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/input.h"
#include "host/window_system.h"
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
constexpr int kFovStep = 2;
constexpr int kLetterboxTurn = -5;  // the cycle grows to the largest size, then shrinks back
constexpr int kWindowedSide = 512;

constexpr const char* kPolyModeNames[] = {"PolyMode 1/3: Polygons", "PolyMode 2/3: Lines",
                                          "PolyMode 3/3: Points"};
constexpr const char* kSmokeOptionNames[] = {"Option 0/2: Flame", "Option 1/2: Cloud",
                                             "Option 2/2: Random Color Cloud"};

// A key that scales a real setting by a factor or shifts it by a step, then shows the new value.
// The field is kept within its range from the settings table.
enum class Change { kScale, kShift };

struct StepKey {
    int key;  // a character, or a SpecialKey in the arrow table
    float SceneSettings::*field;
    Change change;
    double amount;  // the factor or the step
    const char* format;
};

constexpr StepKey kCharacterSteps[] = {
    {'-', &SceneSettings::RotateSpeed, Change::kScale, kSlower, "Rotate Speed: %4.2f\n"},
    {'=', &SceneSettings::RotateSpeed, Change::kScale, kFaster, "Rotate Speed: %4.2f\n"},
    {'_', &SceneSettings::MovementSpeed, Change::kScale, kSlower, "Movement Speed: %4.2f\n"},
    {'+', &SceneSettings::MovementSpeed, Change::kScale, kFaster, "Movement Speed: %4.2f\n"},
    {'(', &SceneSettings::LightRotateSpeed, Change::kScale, kSlower, "Light Rotate Speed: %4.2f\n"},
    {')', &SceneSettings::LightRotateSpeed, Change::kScale, kFaster, "Light Rotate Speed: %4.2f\n"},
    {'{', &SceneSettings::CameraZ, Change::kShift, -kCameraStep, "CameraZ: %4.2f\n"},
    {'}', &SceneSettings::CameraZ, Change::kShift, kCameraStep, "CameraZ: %4.2f\n"},
    {'[', &SceneSettings::ObjectSize, Change::kScale, kSmaller, "Object Size: %4.2f\n"},
    {']', &SceneSettings::ObjectSize, Change::kScale, kLarger, "Object Size: %4.2f\n"},
};

constexpr StepKey kArrowSteps[] = {
    {kKeyLeft, &SceneSettings::MainSpeed, Change::kScale, kSmaller, "Main Speed: %4.2f\n"},
    {kKeyRight, &SceneSettings::MainSpeed, Change::kScale, kLarger, "Main Speed: %4.2f\n"},
    {kKeyUp, &SceneSettings::ArrowY, Change::kScale, kLarger, "ArrowY: %4.2f\n"},
    {kKeyDown, &SceneSettings::ArrowY, Change::kScale, kSmaller, "ArrowY: %4.2f\n"},
};

// A key that flips a 0/1 flag and reports its new state; no texts: it reports nothing. Letters
// are listed in lower case and act in both cases.
struct ToggleKey {
    unsigned char key;
    int* flag;
    const char* onText;
    const char* offText;
};

constexpr ToggleKey kToggles[] = {
    {' ', &settings.Blanking, nullptr, nullptr},  // 0 is Hyperspace
    {'c', &settings.FpsClockOn, "Frame/Second Clock On", "Frame/Second Clock Off"},
    {'p', &PauseMotion, "Pause Camera Motion", "Continue Camera Motion"},
    {'s', &settings.SpotLightsOn, "SpotLights On", "SpotLights Off"},
    {'t', &settings.TexturesOn, "Textures On", "Textures Off"},
    {'u', &settings.UniverseOn, "Universe On", "Universe Off"},
};

// The change is formed in double, kept in range and stored back as a float; the message shows the
// double.
void ApplyStep(const StepKey& step) {
    float& field = settings.*step.field;
    const FloatSetting& row = SettingOf(step.field);
    const double changed =
        step.change == Change::kScale ? field * step.amount : field + step.amount;
    const double value = std::clamp(changed, row.lowest, row.highest);
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

bool ApplyToggleKey(unsigned char key) {
    for (const ToggleKey& toggle : kToggles) {
        if (toggle.key != key) continue;
        *toggle.flag = !*toggle.flag;
        if (toggle.onText != nullptr) {
            textOverlay.ShowMessage(*toggle.flag ? toggle.onText : toggle.offText);
        }
        return true;
    }
    return false;
}

// A whole-number setting moved by `step` and held at the ends of its range.
int Stepped(int SceneSettings::*field, int step) {
    const IntSetting& row = SettingOf(field);
    return std::clamp(settings.*field + step, row.lowest, row.highest);
}

// The next value of a cycling setting: from the last back to the first.
int Cycled(int SceneSettings::*field) {
    const IntSetting& row = SettingOf(field);
    return settings.*field == row.highest ? row.lowest : settings.*field + 1;
}

void StepFov(int step) {
    settings.Fov = Stepped(&SceneSettings::Fov, step);
    textOverlay.ShowMessage("FOV: %3.0f Degrees\n", static_cast<double>(settings.Fov));
}

void StepLetterbox() {
    // A reset may have changed Letterbox since the last press: continue from there.
    if (std::abs(LetterboxPhase) != settings.Letterbox) LetterboxPhase = settings.Letterbox;
    const int largest = SettingOf(&SceneSettings::Letterbox).highest;
    LetterboxPhase = LetterboxPhase == largest ? kLetterboxTurn : LetterboxPhase + 1;
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
        RequestFullScreen();
    } else {
        RequestWindowSize(kWindowedSide, kWindowedSide);
    }
}

void StepTesselation(int step) {
    settings.Tesselation = Stepped(&SceneSettings::Tesselation, step);
    textOverlay.ShowMessage("Tesselation: %d\n", settings.Tesselation);
    BuildCigarette();  // also at a limit, where the value stays
}

// Offsets from the window centre, truncated toward zero.
void TrackPointer(int x, int y) {
    MouseX = TruncInt(x - UnsignedSize(WindowWidth) * 0.5);
    MouseY = TruncInt(y - UnsignedSize(WindowHeight) * 0.5);
}

// The standard controls that are not rows of a table; letters in lower case.
void StandardKey(unsigned char key) {
    switch (key) {
        case kEscape:
            settings.Blanking = 1;
            HelpShown = 0;
            // Once only: a held key's repeats must not keep restarting the fade.
            if (Brightness >= 1.0f) Brightness = kQuitBrightness;
            SetQuitWhenUndrawn(1);  // a window that draws no frame cannot carry the fade
            break;
        case ',':
            StepFov(kFovStep);
            break;
        case '.':
            StepFov(-kFovStep);
            break;
        case '?':
        case '/':
            ToggleHelp();
            break;
        case 'f':
            ToggleFullScreen();
            break;
        case 'l':
            StepLetterbox();
            break;
        case 'r':
            ResetKeySequence();
            break;
        case 'w':
            settings.PolyMode = Cycled(&SceneSettings::PolyMode);
            textOverlay.ShowMessage(kPolyModeNames[settings.PolyMode]);
            break;
        default:
            break;
    }
}
}  // namespace

void SceneKeyboard(unsigned char key, int, int) {
    const unsigned char lower = LowerCaseLetter(key);
    if (!ApplyStepKey(kCharacterSteps, lower) && !ApplyToggleKey(lower)) StandardKey(lower);
    SimulationKeys(key);  // every key, matched or not
}

void SimulationKeys(unsigned char key) {
    switch (LowerCaseLetter(key)) {
        case '<':
            StepTesselation(-1);
            break;
        case '>':
            StepTesselation(1);
            break;
        case 'o':
            settings.SmokeOption = Cycled(&SceneSettings::SmokeOption);
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

void SceneMouse(MouseButton button, ButtonAction action, int x, int y) {
    if (button != MouseButton::kLeft) return;  // other buttons neither start nor end a drag
    MouseDragging = action == ButtonAction::kPress ? 1 : 0;
    TrackPointer(x, y);
}

void SceneMotion(int x, int y) {
    TrackPointer(x, y);
}
