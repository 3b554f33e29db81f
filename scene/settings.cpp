// The defaults every run starts from, and the reset that restores them.
#include "scene/settings.h"

#include <GL/gl.h>

#include "host/host_state.h"
#include "motion/oscillators.h"
#include "motion/random.h"
#include "particles/particle_system.h"
#include "scene/scene_state.h"

namespace {
constexpr int kDefaultFov = 100;
constexpr int kDefaultTesselation = 20;
constexpr int kDefaultSmokeOption = 2;
constexpr float kDefaultCameraZ = -0.3f;
}  // namespace

SceneSettings::~SceneSettings() {}

void ResetScene() {
    SeedRandom(ElapsedMs);
    glClearColor(0, 0, 0, 1);

    settings.Fov = kDefaultFov;
    settings.Letterbox = 0;
    settings.Tesselation = kDefaultTesselation;
    settings.UniverseOn = 1;
    settings.Blanking = 1;
    settings.SpotLightsOn = 1;
    settings.TexturesOn = 1;
    settings.PolyMode = 0;
    settings.SmokeOption = kDefaultSmokeOption;
    settings.FpsClockOn = 0;
    settings.RotateSpeed = 1.0f;
    settings.MovementSpeed = 1.0f;
    settings.CameraZ = kDefaultCameraZ;
    settings.ObjectSize = 1.0f;
    settings.MainSpeed = 1.0f;
    settings.ArrowY = 1.0f;
    settings.LightRotateSpeed = 1.0f;
    Brightness = 1.0f;
    PauseMotion = 0;

    particleSystem.Clear();
}

void StepOscillators(int count, float dt, const SceneSettings& speeds) {
    const OscillatorSpeeds bank{speeds.RotateSpeed, speeds.MovementSpeed, speeds.MainSpeed,
                                speeds.LightRotateSpeed};
    StepOscillatorBank(count, dt, bank);
}
