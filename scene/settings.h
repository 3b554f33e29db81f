// The viewer's adjustable parameters and the reset to defaults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

// How the command line and the settings file give a setting, by its option's name (without the
// dashes on the command line).
enum class OptionForm {
    kNone,   // no option: only its keys change it
    kValue,  // name=VALUE, or name VALUE on the command line: a number within the row's range
    kWord,   // name=WORD: one of the row's words, which stand for lowest, lowest + 1, ...
    kFlag,   // name alone: gives the row's flag value
};
struct SettingOption {
    const char* name;  // null with kNone
    OptionForm form;
    const char* help;  // what the setting is, for the options' list
};

// One row of the settings table: a field, the value it starts from (ResetScene gives it unless the
// options or the settings file gave another), the range the controls and the options keep it in,
// and its option. Whole-number fields (flags are 0..1) and real ones have a table each; between
// them they hold every field of SceneSettings once.
struct IntSetting {
    int SceneSettings::*field;
    int start;
    int lowest, highest;
    SettingOption option;
    int flagValue;             // kFlag: the value the option gives
    const char* const* words;  // kWord: highest - lowest + 1 names
};
struct FloatSetting {
    float SceneSettings::*field;
    float start;
    double lowest, highest;  // a change is formed and kept in range in double, then stored
    SettingOption option;
};

// A table's rows, in order.
template <typename Row>
struct SettingRows {
    const Row* first;
    size_t count;
    const Row* begin() const { return first; }
    const Row* end() const { return first + count; }
};
SettingRows<IntSetting> IntSettings();
SettingRows<FloatSetting> FloatSettings();

constexpr size_t kIntSettingCount = 10;
constexpr size_t kFloatSettingCount = 7;

// The value each setting starts from and a reset returns to, by its row in its table.
struct SettingStarts {
    int whole[kIntSettingCount];
    float real[kFloatSettingCount];
};
// Every row's own start.
SettingStarts DefaultSettingStarts();
// `row`'s value in `starts`.
int StartOf(const SettingStarts& starts, const IntSetting& row);
float StartOf(const SettingStarts& starts, const FloatSetting& row);

// The generator's first seed when none was given: ElapsedMs at Init, as every reset seeds it.
constexpr int64_t kSeedFromClock = -1;

// What giving a setting by its option's name did.
enum class SettingGiven { kNotASetting, kSet, kNeedsValue, kTakesNoValue, kBadValue };
// Gives the setting whose option is `name` the text `value` (null when none came) in `starts`.
// Pure. On kNeedsValue and kBadValue, `expected` says what the option takes ("a number from 0.001
// to 1000").
SettingGiven GiveSetting(const char* name, const char* value, SettingStarts& starts,
                         std::string& expected);
// Whether `name` is a setting's option that takes a value (kValue or kWord).
bool SettingTakesValue(const char* name);
// `value` of `row` as its option writes it: the shortest decimal text that reads back as the same
// float, a whole number, or the row's word.
std::string SettingValueText(const FloatSetting& row, float value);
std::string SettingValueText(const IntSetting& row, int value);

// The row of `field`.
const IntSetting& SettingOf(int SceneSettings::*field);
const FloatSetting& SettingOf(float SceneSettings::*field);

// Seeds the generator with ElapsedMs, restores every setting to its start (settingStarts), the
// pause and the brightness, and removes all smoke.
void ResetScene();

// One step of the oscillator bank with the four speed factors of `speeds`.
void StepOscillators(int count, float dt, const SceneSettings& speeds);
