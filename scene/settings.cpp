// The defaults every run starts from, and the reset that restores them.
#include "scene/settings.h"

#include <GL/gl.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "common/widths.h"
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

constexpr const char* kDrawWords[] = {"fill", "wireframe", "points"};  // PolyMode 0, 1, 2

// The order of each table is the order of the options' list.
constexpr FloatSetting kFloatSettings[] = {
    {&SceneSettings::MainSpeed,
     1.0f,
     kLeastFactor,
     kGreatestFactor,
     {"speed", OptionForm::kValue, "main flow speed: the smoke's speed and size, most motion"}},
    {&SceneSettings::ArrowY,
     1.0f,
     kLeastFactor,
     kGreatestFactor,
     {"trail", OptionForm::kValue, "smoke trail length (upward drift)"}},
    {&SceneSettings::ObjectSize,
     1.0f,
     kLeastFactor,
     kGreatestFactor,
     {"smoke-size", OptionForm::kValue, "smoke size"}},
    {&SceneSettings::RotateSpeed,
     1.0f,
     kLeastFactor,
     kGreatestFactor,
     {"star-spin", OptionForm::kValue, "universe rotation speed"}},
    {&SceneSettings::MovementSpeed,
     1.0f,
     kLeastFactor,
     kGreatestFactor,
     {"star-drift", OptionForm::kValue, "universe movement speed"}},
    {&SceneSettings::LightRotateSpeed,
     1.0f,
     kLeastFactor,
     kGreatestFactor,
     {"light-speed", OptionForm::kValue, "spot light speed"}},
    // The eye looks from z = CameraZ + 0.5 towards -z. At -0.5 it reaches the lit end; beyond,
    // only stars lie ahead (within 2 of the centre), fewer the further it goes and none by about
    // -2.5. At -1 they still fill the view sparsely.
    {&SceneSettings::CameraZ,
     -0.3f,
     -1.0,
     100.0,
     {"camera", OptionForm::kValue, "camera distance, larger is further away"}},
};

constexpr IntSetting kIntSettings[] = {
    {&SceneSettings::Fov,
     100,
     10,
     178,  // degrees
     {"fov", OptionForm::kValue, "field of view, degrees"},
     0,
     nullptr},
    {&SceneSettings::Tesselation,
     20,
     5,
     40,  // slices and stacks of the cigarette
     {"tessellation", OptionForm::kValue, "cigarette tessellation"},
     0,
     nullptr},
    {&SceneSettings::Letterbox,
     0,
     0,
     6,  // 0.05 of the height per step, each bar
     {"letterbox", OptionForm::kValue, "letterbox bars, a twentieth of the height each"},
     0,
     nullptr},
    {&SceneSettings::PolyMode,
     0,
     0,
     2,  // fill, lines, points
     {"draw", OptionForm::kWord, "polygons, wireframe or points"},
     0,
     kDrawWords},
    {&SceneSettings::UniverseOn,
     1,
     0,
     1,  // flag
     {"no-stars", OptionForm::kFlag, "no universe of stars"},
     0,
     nullptr},
    {&SceneSettings::SpotLightsOn,
     1,
     0,
     1,  // flag
     {"no-spot-lights", OptionForm::kFlag, "no colour spot lights on the stars"},
     0,
     nullptr},
    {&SceneSettings::FpsClockOn,
     0,
     0,
     1,  // flag
     {"fps", OptionForm::kFlag, "the frames-per-second clock"},
     1,
     nullptr},
    {&SceneSettings::Blanking,
     1,
     0,
     1,  // flag; 0 is Hyperspace
     {"hyperspace", OptionForm::kFlag, "hyperspace: frames drawn over each other"},
     0,
     nullptr},
    {&SceneSettings::TexturesOn,
     1,
     0,
     1,
     {nullptr, OptionForm::kNone, nullptr},
     0,
     nullptr},  // flag, reported only
    {&SceneSettings::SmokeOption,
     2,
     0,
     2,
     {nullptr, OptionForm::kNone, nullptr},
     0,
     nullptr},  // Flame, Cloud, Random Color Cloud; reported only
};
static_assert(std::size(kIntSettings) == kIntSettingCount &&
                  std::size(kFloatSettings) == kFloatSettingCount,
              "every row has a start in SettingStarts");

// The row whose option is `name`, or null.
template <typename Row, size_t N>
const Row* RowNamed(const Row (&table)[N], const char* name) {
    for (const Row& row : table) {
        if (row.option.name != nullptr && std::strcmp(row.option.name, name) == 0) return &row;
    }
    return nullptr;
}

template <typename Row, size_t N>
size_t IndexOf(const Row (&table)[N], const Row& row) {
    return static_cast<size_t>(&row - table);
}

// A decimal number: an optional sign, digits with at most one point, an optional exponent; no
// space, no hexadecimal, no infinity. Its value in `number`.
bool ParseDecimal(const char* text, double& number) {
    const char* p = text;
    if (*p == '+' || *p == '-') ++p;
    int digits = 0;
    int points = 0;
    for (; (*p >= '0' && *p <= '9') || *p == '.'; ++p) (*p == '.' ? points : digits) += 1;
    if (digits == 0 || points > 1) return false;
    if (*p == 'e' || *p == 'E') {
        ++p;
        if (*p == '+' || *p == '-') ++p;
        if (*p < '0' || *p > '9') return false;
        while (*p >= '0' && *p <= '9') ++p;
    }
    if (*p != '\0') return false;
    char* end = nullptr;
    number = std::strtod(text, &end);
    return end == p && std::isfinite(number);
}

// A whole number of decimal digits with an optional minus sign.
bool ParseWholeNumber(const char* text, long long& number) {
    const char* p = text + (*text == '-' ? 1 : 0);
    if (*p == '\0') return false;
    long long sum = 0;
    for (; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9' || sum > 1000000000LL) return false;  // far beyond any range
        sum = sum * 10 + (*p - '0');
    }
    number = *text == '-' ? -sum : sum;
    return true;
}

std::string RangeText(const char* kind, double lowest, double highest) {
    char text[96];
    std::snprintf(text, sizeof text, "%s from %g to %g", kind, lowest, highest);
    return text;
}

SettingGiven GiveWhole(const IntSetting& row, const char* value, int& start,
                       std::string& expected) {
    if (row.option.form == OptionForm::kFlag) {
        if (value != nullptr) return SettingGiven::kTakesNoValue;
        start = row.flagValue;
        return SettingGiven::kSet;
    }
    if (row.option.form == OptionForm::kWord) {
        expected = "one of";
        for (int i = 0; i <= row.highest - row.lowest; ++i)
            expected += std::string(i == 0 ? " " : ", ") + row.words[i];
        if (value == nullptr) return SettingGiven::kNeedsValue;
        for (int i = 0; i <= row.highest - row.lowest; ++i) {
            if (std::strcmp(value, row.words[i]) != 0) continue;
            start = row.lowest + i;
            return SettingGiven::kSet;
        }
        return SettingGiven::kBadValue;
    }
    expected = RangeText("a whole number", row.lowest, row.highest);
    if (value == nullptr) return SettingGiven::kNeedsValue;
    long long number = 0;
    if (!ParseWholeNumber(value, number) || number < row.lowest || number > row.highest)
        return SettingGiven::kBadValue;
    start = static_cast<int>(number);
    return SettingGiven::kSet;
}

SettingGiven GiveReal(const FloatSetting& row, const char* value, float& start,
                      std::string& expected) {
    expected = RangeText("a number", row.lowest, row.highest);
    if (value == nullptr) return SettingGiven::kNeedsValue;
    double number = 0;
    if (!ParseDecimal(value, number) || number < row.lowest || number > row.highest)
        return SettingGiven::kBadValue;
    start = StoreFloat(number);
    return SettingGiven::kSet;
}

template <typename Row, typename Field, size_t N>
const Row& FindRow(const Row (&table)[N], Field field) {
    for (const Row& row : table) {
        if (row.field == field) return row;
    }
    std::abort();  // every field has a row: a missing one is a programming error
}
}  // namespace

SceneSettings::~SceneSettings() {}

SettingRows<IntSetting> IntSettings() {
    return {kIntSettings, std::size(kIntSettings)};
}

SettingRows<FloatSetting> FloatSettings() {
    return {kFloatSettings, std::size(kFloatSettings)};
}

SettingStarts DefaultSettingStarts() {
    SettingStarts starts{};
    for (const IntSetting& row : kIntSettings) starts.whole[IndexOf(kIntSettings, row)] = row.start;
    for (const FloatSetting& row : kFloatSettings)
        starts.real[IndexOf(kFloatSettings, row)] = row.start;
    return starts;
}

int StartOf(const SettingStarts& starts, const IntSetting& row) {
    return starts.whole[IndexOf(kIntSettings, row)];
}

float StartOf(const SettingStarts& starts, const FloatSetting& row) {
    return starts.real[IndexOf(kFloatSettings, row)];
}

SettingGiven GiveSetting(const char* name, const char* value, SettingStarts& starts,
                         std::string& expected) {
    if (const IntSetting* row = RowNamed(kIntSettings, name))
        return GiveWhole(*row, value, starts.whole[IndexOf(kIntSettings, *row)], expected);
    if (const FloatSetting* row = RowNamed(kFloatSettings, name))
        return GiveReal(*row, value, starts.real[IndexOf(kFloatSettings, *row)], expected);
    return SettingGiven::kNotASetting;
}

bool SettingTakesValue(const char* name) {
    const IntSetting* whole = RowNamed(kIntSettings, name);
    return RowNamed(kFloatSettings, name) != nullptr ||
           (whole != nullptr && whole->option.form != OptionForm::kFlag);
}

std::string SettingValueText(const FloatSetting&, float value) {
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {  // 9 significant digits hold any float
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    return text;
}

std::string SettingValueText(const IntSetting& row, int value) {
    if (row.option.form == OptionForm::kWord) return row.words[value - row.lowest];
    return std::to_string(value);
}

const IntSetting& SettingOf(int SceneSettings::*field) {
    return FindRow(kIntSettings, field);
}

const FloatSetting& SettingOf(float SceneSettings::*field) {
    return FindRow(kFloatSettings, field);
}

void ResetScene() {
    SeedRandom(ElapsedMs);
    glClearColor(0, 0, 0, 1);
    for (const IntSetting& row : kIntSettings) settings.*row.field = StartOf(settingStarts, row);
    for (const FloatSetting& row : kFloatSettings)
        settings.*row.field = StartOf(settingStarts, row);
    Brightness = 1.0f;
    SetQuitWhenUndrawn(0);  // no fade-out any more
    PauseMotion = 0;
    particleSystem.Clear();
}

void StepOscillators(int count, float dt, const SceneSettings& speeds) {
    const OscillatorSpeeds bank{speeds.RotateSpeed, speeds.MovementSpeed, speeds.MainSpeed,
                                speeds.LightRotateSpeed};
    StepOscillatorBank(count, dt, bank);
}
