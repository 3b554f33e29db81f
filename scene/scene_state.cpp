// The scene's four global objects and its scene-wide globals, defined together. The objects are
// constructed in this order (and destroyed in the reverse order) before the program entry runs.
#include "scene/scene_state.h"

#include "particles/particle_system.h"
#include "scene/settings.h"
#include "scene/star_field.h"
#include "text/text_overlay.h"

TextOverlay textOverlay;
SceneSettings settings;
StarField universe;
ParticleSystem particleSystem;

// No initialisers here: the start values have one home, ResetSceneState, which sets them before
// the program entry runs (below) and again for every test that needs a fresh start.
SettingStarts settingStarts;
int64_t FirstSeed;
int PauseMotion;
float Brightness;
uint64_t SceneMs;
uint64_t PreviousUptimeMs;
double CurrentTime;
float FrameDelta;
int FramesThisSecond;
double NextSecond;
int FramesPerSecond;
double CameraAngleX;
double CameraAngleY;
double CameraAngleZ;
int HelpShown;
int FullScreen;
int LetterboxPhase;
int MouseDragging;
int MouseX;
int MouseY;
int32_t cigaretteList;
unsigned int textureIds[kTextureSlots];
int textureCount;

void ResetSceneState() {
    textOverlay = TextOverlay();
    settings = SceneSettings();  // every field 0 until the first ResetScene
    universe = StarField();
    particleSystem = ParticleSystem();

    settingStarts = DefaultSettingStarts();
    FirstSeed = kSeedFromClock;
    PauseMotion = 0;
    Brightness = 1.0f;
    SceneMs = 0;
    PreviousUptimeMs = 0;
    CurrentTime = 0;
    FrameDelta = 0;
    FramesThisSecond = 0;
    NextSecond = 1.0;
    FramesPerSecond = 30;  // shown until the first whole second has been counted
    CameraAngleX = CameraAngleY = CameraAngleZ = 0;
    HelpShown = 0;
    FullScreen = 1;  // Init goes full screen unless the window was asked for
    LetterboxPhase = 0;
    MouseDragging = MouseX = MouseY = 0;
    cigaretteList = -1;
    for (unsigned int& name : textureIds) name = 0;
    textureCount = 0;
}

namespace {
// Runs after the four objects above are constructed: definitions in one file initialise in order.
[[maybe_unused]] const bool sceneStateStarted = (ResetSceneState(), true);
}  // namespace
