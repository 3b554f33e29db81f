// The spot lights: fixed lighting state, colours scaled by brightness, oscillator colours for two
// lights, the place on the path, and the clamp of the light count.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gl_harness.h"
#include "motion/oscillators.h"
#include "scene/lights.h"
#include "scene/scene_state.h"

namespace {
// GL's colour `name` of `light` (or the global ambient) is level x scale, fourth component 1.
void ExpectColour(GLenum light, GLenum name, const double level[3], double scale) {
    GLfloat c[4];
    if (name == GL_LIGHT_MODEL_AMBIENT) glGetFloatv(name, c);
    if (name != GL_LIGHT_MODEL_AMBIENT) glGetLightfv(light, name, c);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(c[i], level[i] * scale, 1e-6) << light << " " << name;
    EXPECT_EQ(c[3], 1.0f) << light << " " << name;
}

// Light i's colours, and its place: 9.8 from the modelview origin, which PlaceSpotLights saw at
// (1, 2, 3) in the eye, with the spot axis through that origin.
void ExpectPlaced(int i, const double level[3], double brightness) {
    const GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
    ExpectColour(light, GL_AMBIENT, level, 0.25 * brightness);
    ExpectColour(light, GL_DIFFUSE, level, 0.4 * brightness);
    ExpectColour(light, GL_SPECULAR, level, 0.6 * brightness);
    GLfloat at[4], axis[3];
    glGetLightfv(light, GL_POSITION, at);
    glGetLightfv(light, GL_SPOT_DIRECTION, axis);
    EXPECT_EQ(at[3], 1.0f);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(at[k] + 9.8 * axis[k], k + 1, 1e-4) << k;
    EXPECT_NEAR(std::hypot(at[0] - 1, at[1] - 2, at[2] - 3), 9.8, 1e-4);
}
}  // namespace

TEST(Lights, SetupPlacementBrightnessAndTheClampedCount) {
    ResetProgramState();
    for (int k = 50; k < kOscillatorSlots; ++k) OscillatorBank::phase[k] = 0.37 * k;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    const double grey[3] = {1, 1, 1}, mark[3] = {0.125, 0.25, 0.375};
    const GLfloat markColour[4] = {0.125f, 0.25f, 0.375f, 1.0f};
    for (GLenum light : {GLenum{GL_LIGHT0}, GLenum{GL_LIGHT1}, GLenum{GL_LIGHT2}}) {
        glDisable(light);
        glLightfv(light, GL_AMBIENT, markColour);
    }
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, markColour);
    SetupLights(0, 0.4f, 0.6f);  // count 0 changes nothing
    PlaceSpotLights(0, 0.25f, 0.4f, 0.6f, 1.0f, 9.8f);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    ExpectColour(GL_LIGHT0, GL_AMBIENT, mark, 1);
    ExpectColour(0, GL_LIGHT_MODEL_AMBIENT, mark, 1);

    SetupLights(1, 0.4f, 0.6f);  // the scene's set-up
    ExpectColour(0, GL_LIGHT_MODEL_AMBIENT, grey, 0.4);
    GLfloat c[6];
    glGetMaterialfv(GL_BACK, GL_SPECULAR, c);
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, c + 4);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, c + 5);
    EXPECT_EQ(std::vector<GLfloat>(c, c + 6), std::vector<GLfloat>({0.6f, 0.6f, 0.6f, 1, 30, 30}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    // One light keeps grey levels whatever its colour oscillators hold; the global ambient
    // follows its ambient colour.
    for (float brightness : {1.0f, 0.5f, 0.0f}) {
        PlaceSpotLights(1, 0.25f, 0.4f, 0.6f, brightness, 9.8f);
        ExpectPlaced(0, grey, brightness);
        ExpectColour(0, GL_LIGHT_MODEL_AMBIENT, grey, 0.25 * brightness);
    }
    // Larger counts drive two lights, both coloured by their oscillators; a third is not touched.
    SetupLights(5, 0.4f, 0.6f);
    PlaceSpotLights(5, 0.25f, 0.4f, 0.6f, 0.5f, 9.8f);
    for (int i = 0; i < 2; ++i) {
        double level[3];
        for (int k = 0; k < 3; ++k) level[k] = Oscillate(50 + 5 * i + k, 30, 0.5, 0.5);
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + static_cast<GLenum>(i)));
        ExpectPlaced(i, level, 0.5);
    }
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    ExpectColour(GL_LIGHT2, GL_AMBIENT, mark, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDisable(GL_LIGHT1);
}
