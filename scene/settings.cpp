// The defaults every run starts from, and the reset that restores them.
#include "scene/settings.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdlib>

#include "host/host.h"
#include "host/host_state.h"
#include "motion/oscillators.h"
#include "motion/random.h"
#include "particles/particle_system.h"
#include "scene/scene_state.h"

namespace {
// Every stepped factor stays where it is finite and a step back changes it, far beyond anything
// seen in use: a factor of 1000 either way takes over 120 presses.
constexpr double kLeastFactor = 0.001;
constexpr double kGreatestFactor = 1000.0;

constexpr IntSetting kIntSettings[] = {
    {&SceneSettings::Fov, 100, 10, 178},       // degrees
    {&SceneSettings::Letterbox, 0, 0, 6},      // 0.05 of the height per step, each bar
    {&SceneSettings::Tesselation, 20, 5, 40},  // slices and stacks of the cigarette
    {&SceneSettings::UniverseOn, 1, 0, 1},     // flag
    {&SceneSettings::Blanking, 1, 0, 1},       // flag; 0 is Hyperspace
    {&SceneSettings::SpotLightsOn, 1, 0, 1},   // flag
    {&SceneSettings::TexturesOn, 1, 0, 1},     // flag, reported only
    {&SceneSettings::PolyMode, 0, 0, 2},       // fill, lines, points
    {&SceneSettings::SmokeOption, 2, 0, 2},    // Flame, Cloud, Random Color Cloud; reported only
    {&SceneSettings::FpsClockOn, 0, 0, 1},     // flag
};

constexpr FloatSetting kFloatSettings[] = {
    {&SceneSettings::RotateSpeed, 1.0f, kLeastFactor, kGreatestFactor},
    {&SceneSettings::MovementSpeed, 1.0f, kLeastFactor, kGreatestFactor},
    // The eye looks from z = CameraZ + 0.5 towards -z. At -0.5 it reaches the lit end; beyond,
    // only stars lie ahead (within 2 of the centre), fewer the further it goes and none by about
    // -2.5. At -1 they still fill the view sparsely.
    {&SceneSettings::CameraZ, -0.3f, -1.0, 100.0},
    {&SceneSettings::ObjectSize, 1.0f, kLeastFactor, kGreatestFactor},
    {&SceneSettings::MainSpeed, 1.0f, kLeastFactor, kGreatestFactor},
    {&SceneSettings::ArrowY, 1.0f, kLeastFactor, kGreatestFactor},
    {&SceneSettings::LightRotateSpeed, 1.0f, kLeastFactor, kGreatestFactor},
};

template <typename Row, typename Field, size_t N>
const Row& FindRow(const Row (&table)[N], Field field) {
    for (const Row& row : table) {
        if (row.field == field) return row;
    }
    std::abort();  // every field has a row: a missing one is a programming error
}
}  // namespace

SceneSettings::~SceneSettings() {}

const IntSetting& SettingOf(int SceneSettings::*field) {
    return FindRow(kIntSettings, field);
}

const FloatSetting& SettingOf(float SceneSettings::*field) {
    return FindRow(kFloatSettings, field);
}

void ResetScene() {
    SeedRandom(ElapsedMs);
    glClearColor(0, 0, 0, 1);
    for (const IntSetting& row : kIntSettings) settings.*row.field = row.start;
    for (const FloatSetting& row : kFloatSettings) settings.*row.field = row.start;
    Brightness = 1.0f;
    SetQuitWhenHidden(0);  // no fade-out any more
    PauseMotion = 0;
    particleSystem.Clear();
}

void StepOscillators(int count, float dt, const SceneSettings& speeds) {
    const OscillatorSpeeds bank{speeds.RotateSpeed, speeds.MovementSpeed, speeds.MainSpeed,
                                speeds.LightRotateSpeed};
    StepOscillatorBank(count, dt, bank);
}
