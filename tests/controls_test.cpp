// The keyboard, arrow-key and mouse handlers, called as GLUT calls them between frames.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gl_harness.h"
#include "glyph_capture.h"
#include "host/clock.h"
#include "host/host.h"
#include "host/host_state.h"
#include "scene/cigarette.h"
#include "scene/controls.h"
#include "scene/help_screen.h"
#include "scene/scene_state.h"
#include "scene/settings.h"
#include "text/text_overlay.h"

namespace {
constexpr int kArrow = 1000;  // marks an arrow key among the keys

void Press(const std::vector<int>& keys) {
    for (int key : keys) {
        if (key >= kArrow) SceneSpecial(key - kArrow, 0, 0);
        if (key < kArrow) SceneKeyboard(static_cast<unsigned char>(key), 0, 0);
    }
}

// Everything a key may change, as one comparable record.
struct ControlState {
    std::vector<double> values;
    std::string message;
    bool operator==(const ControlState& other) const {
        return values == other.values && message == other.message;
    }
};
ControlState Snapshot() {
    const SceneSettings& s = settings;
    return {{double(s.Fov),
             double(s.Letterbox),
             double(s.Tesselation),
             double(s.UniverseOn),
             double(s.Blanking),
             double(s.SpotLightsOn),
             double(s.TexturesOn),
             double(s.PolyMode),
             double(s.SmokeOption),
             double(s.FpsClockOn),
             s.RotateSpeed,
             s.MovementSpeed,
             s.CameraZ,
             s.ObjectSize,
             s.MainSpeed,
             s.ArrowY,
             s.LightRotateSpeed,
             double(PauseMotion),
             Brightness,
             double(HelpShown),
             double(FullScreen),
             double(LetterboxPhase)},
            textOverlay.message};
}

// The values of two snapshots agree within `share` of each (a step down and up of the 0.95 and
// 1.055555 factors leaves 1.0028 times the value, as described).
void ExpectNear(const ControlState& after, const ControlState& before, double share,
                const std::string& keys) {
    ASSERT_EQ(after.values.size(), before.values.size());
    for (size_t i = 0; i < after.values.size(); ++i) {
        EXPECT_NEAR(after.values[i], before.values[i], share * std::abs(before.values[i]))
            << "value " << i << " after " << keys;
    }
}

std::string Describe(const std::vector<int>& keys) {
    std::string text;
    for (int key : keys)
        text += (key >= kArrow ? "arrow " + std::to_string(key - kArrow)
                               : std::string(1, static_cast<char>(key))) +
                " ";
    return text;
}

// Makes cigaretteList a stand-in list whose one command is a clear colour; true while it is one.
void MarkCigaretteList() {
    glDeleteLists(static_cast<GLuint>(cigaretteList), 1);
    cigaretteList = static_cast<int32_t>(glGenLists(1));
    glNewList(static_cast<GLuint>(cigaretteList), GL_COMPILE);
    glClearColor(0.25f, 0, 0, 1);
    glEndList();
}
bool StillTheMarker() {
    GLfloat clear[4];
    glCallList(static_cast<GLuint>(cigaretteList));
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(0, 0, 0, 1);
    return clear[0] == 0.25f;
}
}  // namespace

TEST(ControlsKeys, EachKeyAndItsOppositeComeBackToTheStart) {
    StartScene();
    // A key, then what undoes it: its opposite, or itself again for toggles and cycles.
    const std::vector<std::vector<int>> roundTrips = {
        {'-', '='},
        {'_', '+'},
        {'(', ')'},
        {'{', '}'},
        {'[', ']'},
        {kArrow + kKeyLeft, kArrow + kKeyRight},
        {kArrow + kKeyDown, kArrow + kKeyUp},
        {',', '.'},
        {'<', '>'},
        {'c', 'C'},
        {'p', 'P'},
        {'s', 'S'},
        {'t', 'T'},
        {'u', 'U'},
        {' ', ' '},
        {'?', '/'},
        {'w', 'W', 'w'},
        {'o', 'O', 'o'},
        {'l', 'l', 'l', 'l', 'l', 'l', 'l', 'l', 'l', 'l', 'l', 'L'},
    };
    for (const std::vector<int>& keys : roundTrips) {
        ResetScene();
        LetterboxPhase = 0;
        const ControlState before = Snapshot();
        Press({keys.front()});
        EXPECT_FALSE(Snapshot().values == before.values) << Describe(keys) << "changed nothing";
        Press(std::vector<int>(keys.begin() + 1, keys.end()));
        ExpectNear(Snapshot(), before, 0.003, Describe(keys));
    }
}

TEST(ControlsKeys, EveryKeyTheHelpScreenNamesChangesSomething) {
    StartScene();
    // In the "f" key's 512 x 512 window the help's last line lies inside the window.
    ResizeWindow(512, 512);
    const std::string help = TextOf(GlyphsDrawnBy(DrawHelpScreen));  // spaces are not drawn
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
    const std::pair<const char*, std::vector<int>> named[] = {
        {"<Left/Right>", {kArrow + kKeyLeft, kArrow + kKeyRight}},
        {"<Up/Down>", {kArrow + kKeyUp, kArrow + kKeyDown}},
        {"[]AdjustSmoke", {'[', ']'}},
        {"shift<>", {'<', '>', 'O'}},
        {"unshifted<>", {',', '.'}},
        {"-=Adjust", {'-', '='}},
        {"_+Adjust", {'_', '+'}},
        {"{}Adjust", {'{', '}'}},
        {"cToggle", {'c', 'C'}},
        {"fToggle", {'f', 'F'}},
        {"lAdjust", {'l', 'L'}},
        {"pToggle", {'p', 'P'}},
        {"rReset", {'r', 'R'}},
        {"sToggle", {'s', 'S'}},
        {"tToggle", {'t', 'T'}},
        {"uToggle", {'u', 'U'}},
        {"wToggle", {'w', 'W'}},
        {"<SPACE>", {' '}},
        {"<ESC>", {27}},
        {"<?>", {'?', '/'}},
    };
    for (const auto& [name, keys] : named) {
        EXPECT_NE(help.find(name), std::string::npos) << name << " is not on the help screen";
        for (int key : keys) {
            ResetScene();
            SetUptimeMs(1000);
            textOverlay.message[0] = '\0';
            const ControlState before = Snapshot();
            Press({key});
            EXPECT_FALSE(Snapshot() == before) << name << ": " << Describe({key}) << "did nothing";
        }
    }
    FullScreen = 1;
    glutFullScreen();
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
}

TEST(ControlsKeys, MessagesNameTheNewValueAndLastThreeSeconds) {
    StartScene();
    const std::pair<std::vector<int>, const char*> cases[] = {
        {{'-'}, "Rotate Speed: 0.90\n"},
        {{'='}, "Rotate Speed: 1.11\n"},
        {{'_'}, "Movement Speed: 0.90\n"},
        {{'+'}, "Movement Speed: 1.11\n"},
        {{'('}, "Light Rotate Speed: 0.90\n"},
        {{')'}, "Light Rotate Speed: 1.11\n"},
        {{'{'}, "CameraZ: -0.35\n"},
        {{'}'}, "CameraZ: -0.25\n"},
        {{'['}, "Object Size: 0.95\n"},
        {{']'}, "Object Size: 1.06\n"},
        {{kArrow + kKeyLeft}, "Main Speed: 0.95\n"},
        {{kArrow + kKeyRight}, "Main Speed: 1.06\n"},
        {{kArrow + kKeyUp}, "ArrowY: 1.06\n"},
        {{kArrow + kKeyDown}, "ArrowY: 0.95\n"},
        {{','}, "FOV: 102 Degrees\n"},
        {{'.'}, "FOV:  98 Degrees\n"},
        {{'L'}, "Letterbox: 1"},
        {{'>'}, "Tesselation: 21\n"},
        {{'<'}, "Tesselation: 19\n"},
        {{'c'}, "Frame/Second Clock On"},
        {{'c', 'C'}, "Frame/Second Clock Off"},
        {{'P'}, "Pause Camera Motion"},
        {{'p', 'p'}, "Continue Camera Motion"},
        {{'s'}, "SpotLights Off"},
        {{'s', 'S'}, "SpotLights On"},
        {{'T'}, "Textures Off"},
        {{'t', 't'}, "Textures On"},
        {{'u'}, "Universe Off"},
        {{'U', 'U'}, "Universe On"},
        {{'W'}, "PolyMode 2/3: Lines"},
        {{'w', 'w'}, "PolyMode 3/3: Points"},
        {{'w', 'W', 'w'}, "PolyMode 1/3: Polygons"},
        {{'O'}, "Option 0/2: Flame"},
        {{'o', 'o'}, "Option 1/2: Cloud"},
        {{'o', 'O', 'o'}, "Option 2/2: Random Color Cloud"},
        {{' '}, ""},
    };
    SetUptimeMs(4000);
    textOverlay.now = 4.0;  // the scene's time, as a frame at 4 s leaves it
    for (const auto& [keys, message] : cases) {
        ResetScene();
        LetterboxPhase = 0;
        textOverlay.message[0] = '\0';
        textOverlay.expiry = 0.0;
        Press(keys);
        EXPECT_STREQ(textOverlay.message, message) << Describe(keys);
        EXPECT_EQ(textOverlay.expiry, *message != '\0' ? 7.0 : 0.0) << Describe(keys);
    }
}

TEST(ControlsKeys, FovAndTesselationHoldTheirLimitsAndStillAnswer) {
    StartScene();
    for (const auto& [key, limit] : {std::pair<int, int>{',', 178}, {'.', 10}}) {
        for (int i = 0; i < 90; ++i) Press({key});
        EXPECT_EQ(settings.Fov, limit);
        EXPECT_EQ(textOverlay.message, "FOV: " + std::string(limit < 100 ? " " : "") +
                                           std::to_string(limit) + " Degrees\n");
    }
    // At a limit the key still rebuilds the cigarette: the stand-in list gets replaced.
    for (const auto& [key, limit] : {std::pair<int, int>{'<', 5}, {'>', 40}}) {
        settings.Tesselation = limit;
        MarkCigaretteList();
        ASSERT_TRUE(StillTheMarker());
        Press({key});
        EXPECT_EQ(settings.Tesselation, limit);
        EXPECT_EQ(textOverlay.message, "Tesselation: " + std::to_string(limit) + "\n");
        EXPECT_TRUE(glIsList(static_cast<GLuint>(cigaretteList)));
        EXPECT_FALSE(StillTheMarker());
    }
}

TEST(ControlsKeys, LetterboxCyclesUpAndDownAndRealignsAfterReset) {
    StartScene();
    for (int e : {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6, 5, 4, 3}) {
        Press({'l'});
        EXPECT_EQ(settings.Letterbox, e);
        EXPECT_EQ(std::abs(LetterboxPhase), e);
        EXPECT_EQ(textOverlay.message, "Letterbox: " + std::to_string(e));
    }
    EXPECT_EQ(LetterboxPhase, -3);  // shrinking
    Press({'r', 'L'});
    EXPECT_EQ(settings.Letterbox, 1);
}

TEST(ControlsKeys, ResetRestoresDefaultsAndLeavesViewState) {
    StartScene();
    Press({'-', '_', '(', '{', '[', ',', 'L', '>', 'O', 'w', 'c', 'p', 's', 't', 'u', ' ',
           kArrow + kKeyLeft, kArrow + kKeyUp});
    Brightness = 0.5f;  // mid-fade
    HelpShown = 1;
    FullScreen = 0;
    MouseX = 5;
    MouseY = 7;
    MouseDragging = 1;
    const std::vector<int> view = {1, 0, LetterboxPhase, 5, 7, 1, cigaretteList};
    const GLfloat dull[] = {0.2f, 0.2f, 0.2f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, dull);
    SetUptimeMs(7000);
    textOverlay.now = 7.0;
    Press({'R'});
    ExpectSceneDefaults();
    EXPECT_STREQ(textOverlay.message, "Reset");
    EXPECT_DOUBLE_EQ(textOverlay.expiry, 10.0);
    EXPECT_EQ(std::vector<int>({HelpShown, FullScreen, LetterboxPhase, MouseX, MouseY,
                                MouseDragging, cigaretteList}),
              view);
    GLfloat specular[4], ambient[4];
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(specular[0], 0.9f);
    EXPECT_FLOAT_EQ(ambient[0], 0.5f);
}

TEST(ControlsKeys, EscapeStartsTheFadeAndHelpTogglesWithClearing) {
    StartScene();
    const std::string hint = textOverlay.message;
    HelpShown = 1;
    settings.Blanking = 0;
    Press({27});
    EXPECT_EQ(std::vector<float>({static_cast<float>(settings.Blanking),
                                  static_cast<float>(HelpShown), Brightness}),
              std::vector<float>({1, 0, 0.999f}));
    Brightness = 0.4f;
    Press({27});  // again during the fade, as a held key repeats: the fade goes on
    EXPECT_EQ(Brightness, 0.4f);
    EXPECT_EQ(textOverlay.message, hint);
    // The picture's centre after painting it white: showing the help clears nothing, hiding it
    // clears at once, except in Hyperspace.
    auto centreAfter = [](int blanking, const std::vector<int>& keys) {
        settings.Blanking = blanking;
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 1);
        Press(keys);
        return ReadPicture().At(320, 240)[0];
    };
    EXPECT_EQ(centreAfter(1, {'?'}), 255);
    EXPECT_EQ(HelpShown, 1);
    EXPECT_EQ(centreAfter(1, {'/'}), 0);
    EXPECT_EQ(HelpShown, 0);
    EXPECT_EQ(centreAfter(0, {'?', '?'}), 255);
}

TEST(ControlsMouse, LeftButtonDragsAndOffsetsTruncateTowardZero) {
    StartScene();
    auto state = [] { return std::vector<int>({MouseDragging, MouseX, MouseY}); };
    SceneMouse(MouseButton::kLeft, ButtonAction::kPress, 0, 0);
    EXPECT_EQ(state(), std::vector<int>({1, -320, -240}));
    SceneMouse(MouseButton::kRight, ButtonAction::kRelease, 50,
               50);  // neither ends the drag nor moves
    EXPECT_EQ(state(), std::vector<int>({1, -320, -240}));
    SceneMotion(100, 301);
    EXPECT_EQ(state(), std::vector<int>({1, -220, 61}));
    SceneMouse(MouseButton::kLeft, ButtonAction::kRelease, 640, 480);
    SceneMouse(MouseButton::kRight, ButtonAction::kPress, 0, 0);  // does not start one either
    EXPECT_EQ(state(), std::vector<int>({0, 320, 240}));
    WindowWidth = 641;  // centre at 320.5: offsets of -320.5 and 240.5 truncate toward zero
    WindowHeight = 481;
    SceneMotion(0, 481);
    EXPECT_EQ(state(), std::vector<int>({0, -320, 240}));
    WindowWidth = kStartWindowWidth;
    WindowHeight = kStartWindowHeight;
}
