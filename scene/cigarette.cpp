// The cigarette's display list and its sway.
//
// BuildCigarette leaves the modelview matrix as it was.
// DrawCigarette expects/leaves: the scene defaults (SetSceneGlDefaults), except lighting and depth
// testing on, with the modelview at the cigarette's place; the matrix comes back as it was, the
// current colour and normal stay as the list's last piece set them.
#include "scene/cigarette.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "common/widths.h"
#include "motion/oscillators.h"
#include "scene/scene_state.h"
#include "scene/settings.h"

namespace {
constexpr double kRadius = 0.01;
constexpr float kLitEndZ = 0.01f;  // the lit-end disk sits just inside the origin
constexpr double kPaperLength = 0.2;
constexpr double kFilterLength = 0.05;
constexpr double kDiskLoopsPerSlice = 0.3;
constexpr double kFilterStacksPerSlice = 0.2;

constexpr int kYawSlot = 16;
constexpr int kPitchSlot = 17;
constexpr double kSwayFrequency = 10.0;
constexpr double kYawRange = 180.0;  // yaw 90..270: the tube never points at the viewer
constexpr double kYawFrom = 90.0;
constexpr double kPitchRange = 60.0;
constexpr double kPitchFrom = -30.0;
}  // namespace

void BuildCigarette() {
    GLUquadric* quadric = gluNewQuadric();
    if (quadric == nullptr) return;  // out of memory: keep the list we have
    if (cigaretteList != -1) glDeleteLists(static_cast<GLuint>(cigaretteList), 1);
    cigaretteList = -1;
    gluQuadricTexture(quadric, GL_TRUE);

    const int slices = settings.Tesselation;
    const int diskLoops = TruncInt(slices * kDiskLoopsPerSlice);
    const int filterStacks = TruncInt(slices * kFilterStacksPerSlice);

    glPushMatrix();
    cigaretteList = static_cast<int32_t>(glGenLists(1));
    glNewList(static_cast<GLuint>(cigaretteList), GL_COMPILE);
    // The translations stay in the list; DrawCigarette's push and pop undo them.
    glTranslatef(0, 0, kLitEndZ);
    glColor3f(0.8f, 0, 0);
    gluDisk(quadric, 0.0, kRadius, slices, diskLoops);
    glColor3f(1, 1, 1);
    gluCylinder(quadric, kRadius, kRadius, kPaperLength, slices, slices);
    glTranslatef(0, 0, StoreFloat(kPaperLength));
    glColor3f(1, 0.5f, 0.25f);
    gluCylinder(quadric, kRadius, kRadius, kFilterLength, slices, filterStacks);
    glTranslatef(0, 0, StoreFloat(kFilterLength));
    glColor3f(1, 0.75f, 0.5f);
    gluDisk(quadric, 0.0, kRadius, slices, diskLoops);
    glEndList();
    glPopMatrix();
    gluDeleteQuadric(quadric);
}

void DrawCigarette() {
    glPushMatrix();
    glRotatef(StoreFloat(Oscillate(kYawSlot, kSwayFrequency, kYawRange, kYawFrom)), 0, 1, 0);
    glRotatef(StoreFloat(Oscillate(kPitchSlot, kSwayFrequency, kPitchRange, kPitchFrom)), 1, 0, 0);
    glCallList(static_cast<GLuint>(cigaretteList));
    glPopMatrix();
}
