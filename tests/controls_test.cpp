// The keyboard, arrow-key and mouse handlers, called as GLUT calls them between frames.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gl_harness.h"
#include "host/clock.h"
#include "host/host.h"
#include "host/host_state.h"
#include "scene/cigarette.h"
#include "scene/controls.h"
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

struct Field {
    Field(int* p) : i(p) {}
    Field(float* p) : f(p) {}
    float Get() const { return i != nullptr ? static_cast<float>(*i) : *f; }
    int* i = nullptr;
    float* f = nullptr;
};

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

TEST(ControlsKeys, EachKeyChangesItsFieldAndShowsItsMessage) {
    StartScene();
    struct KeyCase {
        std::vector<int> keys;
        Field field;
        float value;
        const char* message;  // nullptr: none
    };
    const KeyCase cases[] = {
        {{'-'}, &settings.RotateSpeed, 0.9f, "Rotate Speed: 0.90\n"},
        {{'='}, &settings.RotateSpeed, 1.111111f, "Rotate Speed: 1.11\n"},
        {{'_'}, &settings.MovementSpeed, 0.9f, "Movement Speed: 0.90\n"},
        {{'+'}, &settings.MovementSpeed, 1.111111f, "Movement Speed: 1.11\n"},
        {{'('}, &settings.LightRotateSpeed, 0.9f, "Light Rotate Speed: 0.90\n"},
        {{')'}, &settings.LightRotateSpeed, 1.111111f, "Light Rotate Speed: 1.11\n"},
        {{'{'}, &settings.CameraZ, -0.35f, "CameraZ: -0.35\n"},
        {{'}'}, &settings.CameraZ, -0.25f, "CameraZ: -0.25\n"},
        {{'['}, &settings.ObjectSize, 0.95f, "Object Size: 0.95\n"},
        {{']'}, &settings.ObjectSize, 1.055555f, "Object Size: 1.06\n"},
        {{kArrow + GLUT_KEY_LEFT}, &settings.MainSpeed, 0.95f, "Main Speed: 0.95\n"},
        {{kArrow + GLUT_KEY_RIGHT}, &settings.MainSpeed, 1.055555f, "Main Speed: 1.06\n"},
        {{kArrow + GLUT_KEY_UP}, &settings.ArrowY, 1.055555f, "ArrowY: 1.06\n"},
        {{kArrow + GLUT_KEY_DOWN}, &settings.ArrowY, 0.95f, "ArrowY: 0.95\n"},
        {{','}, &settings.Fov, 102, "FOV: 102 Degrees\n"},
        {{'.'}, &settings.Fov, 98, "FOV:  98 Degrees\n"},
        {{'L'}, &settings.Letterbox, 1, "Letterbox: 1"},
        {{'>'}, &settings.Tesselation, 21, "Tesselation: 21\n"},
        {{'<'}, &settings.Tesselation, 19, "Tesselation: 19\n"},
        {{'c'}, &settings.FpsClockOn, 1, "Frame/Second Clock On"},
        {{'c', 'C'}, &settings.FpsClockOn, 0, "Frame/Second Clock Off"},
        {{'P'}, &PauseMotion, 1, "Pause Camera Motion"},
        {{'p', 'p'}, &PauseMotion, 0, "Continue Camera Motion"},
        {{'s'}, &settings.SpotLightsOn, 0, "SpotLights Off"},
        {{'s', 'S'}, &settings.SpotLightsOn, 1, "SpotLights On"},
        {{'T'}, &settings.TexturesOn, 0, "Textures Off"},
        {{'t', 't'}, &settings.TexturesOn, 1, "Textures On"},
        {{'u'}, &settings.UniverseOn, 0, "Universe Off"},
        {{'U', 'U'}, &settings.UniverseOn, 1, "Universe On"},
        {{'W'}, &settings.PolyMode, 1, "PolyMode 2/3: Lines"},
        {{'w', 'w'}, &settings.PolyMode, 2, "PolyMode 3/3: Points"},
        {{'w', 'W', 'w'}, &settings.PolyMode, 0, "PolyMode 1/3: Polygons"},
        {{'O'}, &settings.SmokeOption, 0, "Option 0/2: Flame"},
        {{'o', 'o'}, &settings.SmokeOption, 1, "Option 1/2: Cloud"},
        {{'o', 'O', 'o'}, &settings.SmokeOption, 2, "Option 2/2: Random Color Cloud"},
        {{' '}, &settings.Blanking, 0, nullptr},
        {{' ', ' '}, &settings.Blanking, 1, nullptr},
    };
    SetUptimeMs(4000);
    for (const KeyCase& c : cases) {
        ResetScene();
        LetterboxPhase = 0;
        textOverlay.message[0] = '\0';
        textOverlay.expiry = 0.0;
        Press(c.keys);
        EXPECT_FLOAT_EQ(c.field.Get(), c.value) << c.keys[0];
        EXPECT_STREQ(textOverlay.message, c.message != nullptr ? c.message : "");
        EXPECT_EQ(textOverlay.expiry, c.message != nullptr ? 7.0 : 0.0) << c.keys[0];
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
           kArrow + GLUT_KEY_LEFT, kArrow + GLUT_KEY_UP});
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
    Press({27});  // again during the fade: it starts afresh
    EXPECT_EQ(Brightness, 0.999f);
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
    SceneMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_EQ(state(), std::vector<int>({1, -320, -240}));
    SceneMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 50, 50);  // neither ends the drag nor moves
    EXPECT_EQ(state(), std::vector<int>({1, -320, -240}));
    SceneMotion(100, 301);
    EXPECT_EQ(state(), std::vector<int>({1, -220, 61}));
    SceneMouse(GLUT_LEFT_BUTTON, GLUT_UP, 640, 480);
    SceneMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);  // does not start one either
    EXPECT_EQ(state(), std::vector<int>({0, 320, 240}));
    WindowWidth = 641;  // centre at 320.5: offsets of -320.5 and 240.5 truncate toward zero
    WindowHeight = 481;
    SceneMotion(0, 481);
    EXPECT_EQ(state(), std::vector<int>({0, -320, 240}));
    WindowWidth = kStartWindowWidth;
    WindowHeight = kStartWindowHeight;
}
