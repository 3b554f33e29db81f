// Lighting set-up and the per-frame placement of the colour spot lights.
//
// Expects/Leaves: the scene defaults (SetSceneGlDefaults). PlaceSpotLights expects the modelview
// matrix under which the lights are to be placed and leaves it as it was. Neither routine switches
// GL_LIGHTING; the drawing passes do.
#include "scene/lights.h"

#include <GL/gl.h>

#include <algorithm>

#include "common/widths.h"
#include "motion/oscillators.h"

namespace {
constexpr GLenum kLightNames[] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                  GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};
constexpr int kFirstLightSlot = 50;
constexpr int kSlotsPerLight = 5;  // red, green, blue, yaw, pitch
constexpr int kYawSlot = 3;
constexpr int kPitchSlot = 4;
constexpr double kColourFrequency = 30.0;
constexpr double kColourRange = 0.5;  // levels 0.5..1.0
constexpr double kColourFrom = 0.5;
constexpr double kPathFrequency = 5.0;
constexpr double kPathRange = 720.0;  // degrees
constexpr float kSpotExponent = 30.0f;
constexpr float kSpotCutoff = 30.0f;  // degrees

static_assert(kMaxSpotLights <= static_cast<int>(sizeof kLightNames / sizeof kLightNames[0]),
              "every light needs a GL light name");
static_assert(kFirstLightSlot + kSlotsPerLight * kMaxSpotLights <= kOscillatorSlots,
              "every light needs its five oscillator slots");

int UsableCount(int count) {
    return std::clamp(count, 0, kMaxSpotLights);
}
}  // namespace

void SetupLights(int count, float ambient, float specular) {
    const int lights = UsableCount(count);
    if (lights == 0) return;
    const GLfloat ambientColour[] = {ambient, ambient, ambient, 1.0f};
    const GLfloat specularColour[] = {specular, specular, specular, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientColour);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specularColour);
    for (int i = 0; i < lights; ++i) {
        glLightf(kLightNames[i], GL_SPOT_EXPONENT, kSpotExponent);
        glLightf(kLightNames[i], GL_SPOT_CUTOFF, kSpotCutoff);
        glEnable(kLightNames[i]);
    }
}

void PlaceSpotLights(int count, float ambient, float diffuse, float specular, float brightness,
                     float distance) {
    const int lights = UsableCount(count);
    if (lights == 0) return;
    const GLfloat position[] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat direction[] = {0.0f, 0.0f, -1.0f};
    for (int i = 0; i < lights; ++i) {
        const int base = kFirstLightSlot + kSlotsPerLight * i;
        const GLenum light = kLightNames[i];
        GLfloat ambientColour[] = {0.0f, 0.0f, 0.0f, 1.0f};
        GLfloat diffuseColour[] = {0.0f, 0.0f, 0.0f, 1.0f};
        GLfloat specularColour[] = {0.0f, 0.0f, 0.0f, 1.0f};
        for (int c = 0; c < 3; ++c) {
            // A single light keeps plain grey levels; several wander in colour.
            const double level =
                lights == 1 ? 1.0
                            : Oscillate(base + c, kColourFrequency, kColourRange, kColourFrom);
            ambientColour[c] = StoreFloat(level * ambient * brightness);
            diffuseColour[c] = StoreFloat(level * diffuse * brightness);
            specularColour[c] = StoreFloat(level * specular * brightness);
        }
        if (i == 0) glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientColour);
        glLightfv(light, GL_AMBIENT, ambientColour);
        glLightfv(light, GL_DIFFUSE, diffuseColour);
        glLightfv(light, GL_SPECULAR, specularColour);

        glPushMatrix();
        glRotatef(StoreFloat(Oscillate(base + kYawSlot, kPathFrequency, kPathRange, 0)), 0, 1, 0);
        glRotatef(StoreFloat(Oscillate(base + kPitchSlot, kPathFrequency, kPathRange, 0)), 1, 0, 0);
        glTranslatef(0, 0, distance);
        glLightfv(light, GL_POSITION, position);
        glLightfv(light, GL_SPOT_DIRECTION, direction);
        glPopMatrix();
    }
}
