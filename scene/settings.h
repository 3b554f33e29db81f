// The viewer's adjustable parameters and the reset to defaults.
#pragma once

// Every parameter the viewer can change. The constructor sets nothing: the one global instance is
// zero until the first ResetScene. The controls change the fields within the ranges of the
// settings table below.
class SceneSettings {
  public:
    SceneSettings() = default;
    virtual ~SceneSettings();

    int Fov;                 // field of view, degrees, 10..178
    int Letterbox;           // letterbox bar size, 0..6 (0.05 of the height per step)
    int Tesselation;         // cigarette subdivision, 5..40; read when the cigarette is built
    int UniverseOn;          // 0/1: the star field is drawn
    int Blanking;            // 0/1: each frame clears first; 0 is Hyperspace
    int SpotLightsOn;        // 0/1: the star field is lit
    int TexturesOn;          // 0/1: toggled and reported only
    int PolyMode;            // 0 fill, 1 lines, 2 points
    int SmokeOption;         // 0..2: cycled and reported only
    int FpsClockOn;          // 0/1: the frames-per-second line is drawn
    float RotateSpeed;       // universe rotation speed factor, > 0
    float MovementSpeed;     // speed factor of oscillator slots 4..6, > 0
    float CameraZ;           // eye position on the z axis, scene units, unbounded
    float ObjectSize;        // smoke size factor, > 0
    float MainSpeed;         // speed factor of the smoke and most oscillators, > 0
    float ArrowY;            // smoke drift factor: upward drift is ArrowY - 0.6, > 0
    float LightRotateSpeed;  // spot light path speed factor, > 0
};

// One row of the settings table: a field, the value ResetScene gives it and the range the controls
// keep it in. Whole-number fields (flags are 0..1) and real ones have a table each; between them
// they hold every field of SceneSettings once.
struct IntSetting {
    int SceneSettings::*field;
    int start;
    int lowest, highest;
};
struct FloatSetting {
    float SceneSettings::*field;
    float start;
    double lowest, highest;  // a change is formed and kept in range in double, then stored
};

// The row of `field`.
const IntSetting& SettingOf(int SceneSettings::*field);
const FloatSetting& SettingOf(float SceneSettings::*field);

// Seeds the generator with ElapsedMs, restores every default, the pause and the brightness, and
// removes all smoke.
void ResetScene();

// One step of the oscillator bank with the four speed factors of `speeds`.
void StepOscillators(int count, float dt, const SceneSettings& speeds);
