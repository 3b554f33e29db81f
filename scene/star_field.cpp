// The star field: random points in a hollow cube or a shell, compiled once into a display list,
// and the scene's universe, which turns on three oscillators.
//
// Draw and DrawUniverse expect/leave: the scene defaults (SetSceneGlDefaults), lighting as the
// caller chose, the modelview at the camera (Draw: already turned); the matrix comes back as it
// was, the current colour is left white and the point size 2.
#include "scene/star_field.h"

#include <GL/gl.h>

#include <cmath>

#include "common/widths.h"
#include "motion/oscillators.h"
#include "motion/random.h"
#include "scene/scene_state.h"

namespace {
constexpr int kHollowCube = 1;
constexpr int kUpperShell = 2;
constexpr double kCubeMargin = 0.01;  // the empty core is inner + 0.01 on each side
// A region with no room (or none that random candidates can hit) must not hang the build.
constexpr int kMaxCandidates = 1000000;
constexpr double kWideColourChance = 0.1;
constexpr double kWideColourRange = 0.5;  // 0.3..0.8
constexpr double kWideColourFrom = 0.3;
constexpr double kPaleColourRange = 0.3;  // 0.5..0.8
constexpr double kPaleColourFrom = 0.5;
constexpr float kSecondCopyTurn = 120.0f;  // degrees about y
constexpr float kFirstPointSize = 1.0f;
constexpr float kSecondPointSize = 2.0f;

// The scene's universe.
constexpr int kUniverseStars = 1000;
constexpr float kUniverseOuter = 2.0f;
constexpr float kUniverseInner = 0.5f;
// Oscillators 1, 2 and 3 turn it about y, x and z, each within -360..360 degrees.
constexpr int kTurnSlotY = 1;
constexpr int kTurnSlotX = 2;
constexpr int kTurnSlotZ = 3;
constexpr double kTurnFrequency = 0.01;
constexpr double kTurnRange = 720.0;
constexpr double kTurnFrom = -360.0;

float TurnAngle(int slot) {
    return StoreFloat(Oscillate(slot, kTurnFrequency, kTurnRange, kTurnFrom));
}

struct Star {
    double x, y, z;
};

Star Candidate(double outer) {
    Star s;
    s.x = RandomUpTo(2.0 * outer) - outer;
    s.y = RandomUpTo(2.0 * outer) - outer;
    s.z = RandomUpTo(2.0 * outer) - outer;
    return s;
}

bool InsideCore(const Star& s, double inner) {
    const double core = inner + kCubeMargin;
    return std::fabs(s.x) < core && std::fabs(s.y) < core && std::fabs(s.z) < core;
}

bool InsideShell(const Star& s, double outer, double inner, bool upperOnly) {
    const double r = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
    return inner <= r && r <= outer && (!upperOnly || s.y >= 0);
}

// Draws candidates until one lies in the region; false if none did within the limit.
bool PlaceStar(double outer, double inner, int shape, Star& star) {
    if (shape == kHollowCube) {
        star = Star{0, 0, 0};  // the origin is tested first: a core of size 0 or less keeps it
        for (int tries = 0; InsideCore(star, inner); ++tries) {
            if (tries == kMaxCandidates) return false;
            star = Candidate(outer);
        }
        return true;
    }
    for (int tries = 0; tries < kMaxCandidates; ++tries) {
        star = Candidate(outer);
        if (InsideShell(star, outer, inner, shape == kUpperShell)) return true;
    }
    return false;
}

// Components are drawn blue first, then green, then red.
void EmitStarColour() {
    const bool wide = RandomUpTo(1.0) < kWideColourChance;
    const double range = wide ? kWideColourRange : kPaleColourRange;
    const double from = wide ? kWideColourFrom : kPaleColourFrom;
    const double blue = RandomUpTo(range) + from;
    const double green = RandomUpTo(range) + from;
    const double red = RandomUpTo(range) + from;
    glColor3f(StoreFloat(red), StoreFloat(green), StoreFloat(blue));
}
}  // namespace

StarField::StarField() : listId(-1) {}

StarField::~StarField() {}

void StarField::Build(int count, float outer, float inner, int shape) {
    Release();
    listId = static_cast<int32_t>(glGenLists(1));
    glNewList(static_cast<GLuint>(listId), GL_COMPILE);
    glBegin(GL_POINTS);
    for (int i = 0; i < count; ++i) {
        Star star;
        // An unplaceable star ends the build; the list keeps the stars placed so far.
        if (!PlaceStar(outer, inner, shape, star)) break;
        EmitStarColour();
        glVertex3d(star.x, star.y, star.z);
    }
    glEnd();
    glEndList();
}

void StarField::Draw() {
    glColor3f(1, 1, 1);
    glPushMatrix();
    glPointSize(kFirstPointSize);
    glCallList(static_cast<GLuint>(listId));
    glRotatef(kSecondCopyTurn, 0, 1, 0);
    glPointSize(kSecondPointSize);  // not restored: later point drawing sees size 2
    glCallList(static_cast<GLuint>(listId));
    glPopMatrix();
}

void StarField::Release() {
    if (listId != -1) glDeleteLists(static_cast<GLuint>(listId), 1);
    listId = -1;
}

void BuildUniverse() {
    universe.Build(kUniverseStars, kUniverseOuter, kUniverseInner, kHollowCube);
}

void DrawUniverse() {
    glPushMatrix();
    glRotatef(TurnAngle(kTurnSlotY), 0, 1, 0);
    glRotatef(TurnAngle(kTurnSlotX), 1, 0, 0);
    glRotatef(TurnAngle(kTurnSlotZ), 0, 0, 1);
    universe.Draw();
    glPopMatrix();
}
