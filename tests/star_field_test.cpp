// The star field: one display list at a time, the state Draw leaves, stars inside their region,
// and regions that no star can reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "gl_harness.h"
#include "scene/scene_state.h"
#include "scene/star_field.h"

namespace {
// The stars of the list in the field's own coordinates: an orthographic view at 100 pixels per
// unit holds the cube of half-size 2.5 and is mapped back from window coordinates.
std::vector<std::array<double, 3>> Stars(const StarField& field) {
    glViewport(0, 0, 500, 500);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2.5, 2.5, -2.5, 2.5, -2.5, 2.5);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<std::array<double, 3>> stars;
    for (const auto& p : CaptureFeedback([&] { glCallList(static_cast<GLuint>(field.listId)); })) {
        const FeedbackVertex& v = p.vertices[0];
        stars.push_back({v.x / 100.0 - 2.5, v.y / 100.0 - 2.5, 2.5 - 5.0 * v.z});
    }
    return stars;
}
}  // namespace

TEST(StarField, HoldsOneListAtATimeAndDrawLeavesWhiteAtPointSizeTwo) {
    ResetProgramState();
    StarField field;
    field.Build(10, 2.0f, 0.5f, 1);
    const GLuint first = static_cast<GLuint>(field.listId);
    field.Build(0, 2.0f, 0.5f, 1);
    const GLuint second = static_cast<GLuint>(field.listId);
    EXPECT_TRUE(glIsList(second));
    if (second != first) {
        EXPECT_FALSE(glIsList(first));  // the old list is deleted
    }
    glColor3f(0.2f, 0.3f, 0.4f);
    field.Draw();  // nothing to draw, but the colour and point size are set all the same
    GLfloat state[5];
    glGetFloatv(GL_CURRENT_COLOR, state);
    glGetFloatv(GL_POINT_SIZE, state + 4);
    EXPECT_EQ(std::vector<GLfloat>(state, state + 5), std::vector<GLfloat>({1, 1, 1, 1, 2}));
    field.Release();
    EXPECT_FALSE(glIsList(second));
    field.Release();  // nothing held: nothing to do
    EXPECT_EQ(field.listId, -1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(StarField, StarsLieInsideTheirRegionOrThereAreNone) {
    ResetProgramState();
    StarField field;
    // {shape, outer, inner, stars expected}: the scene's hollow cube (empty inside +-0.51), the
    // upper half shell, the whole shell; then regions no candidate reaches: cube cores that fill
    // the cube, shells whose inner size exceeds the outer.
    const std::array<float, 4> regions[] = {
        {1, 2, 0.5f, 1000}, {2, 2, 1.5f, 500}, {0, 2, 1.5f, 500}, {1, 1, 1, 0},
        {1, 1, 0.995f, 0},  {2, 1, 1.5f, 0},   {0, 1, 1.5f, 0}};
    for (const auto& [shape, outer, inner, count] : regions) {
        field.Build(count > 0 ? static_cast<int>(count) : 5, outer, inner, static_cast<int>(shape));
        const auto stars = Stars(field);
        EXPECT_EQ(stars.size(), static_cast<size_t>(count))
            << shape << " " << outer << " " << inner;
        const double core = shape == 1 ? inner + 0.01 : inner;
        double lowest = 0;
        for (const auto& [x, y, z] : stars) {
            const double reach = shape == 1 ? std::max({std::fabs(x), std::fabs(y), std::fabs(z)})
                                            : std::sqrt(x * x + y * y + z * z);
            EXPECT_GE(reach, core - 1e-4) << shape;
            EXPECT_LE(reach, outer + 1e-4) << shape;
            lowest = std::min(lowest, y);
        }
        // The upper half shell stays above the centre; the whole shell reaches below it.
        if (shape == 2 && count > 0) {
            EXPECT_GE(lowest, -1e-4);
        } else if (shape == 0 && count > 0) {
            EXPECT_LT(lowest, -1e-4);
        }
    }
    field.Release();
}
