// The cigarette's display list: one at a time, subdivided by Tesselation when it is built, and
// kept through a settings reset.
#define GL_GLEXT_PROTOTYPES
#include <gtest/gtest.h>

#include <utility>

#include "gl_harness.h"
#include "scene/cigarette.h"
#include "scene/scene_state.h"
#include "scene/settings.h"

namespace {
// Primitives GL assembles from the list, by the pipeline's own count: Mesa 22.3 crashes feeding
// back a list that mixes fans and quad strips.
GLuint64 ListPrimitives() {
    GLuint query = 0;
    GLuint64 count = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_SUBMITTED_ARB, query);
    glCallList(static_cast<GLuint>(cigaretteList));
    glEndQuery(GL_PRIMITIVES_SUBMITTED_ARB);
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}

// Primitives of the list at a tessellation T: each disk a fan of T triangles and trunc(0.3 T) - 1
// rings of T quads, the paper T rings and the filter trunc(0.2 T) rings of T quads. At 8 the
// fractions truncate (2.4 loops, 1.6 stacks); at 5 each disk is a bare fan and the filter one ring.
constexpr std::pair<int, GLuint64> kPrimitivesAt[] = {{20, 720}, {40, 2880}, {8, 104}, {5, 40}};
}  // namespace

TEST(Cigarette, OneListSubdividedAsBuiltAndKeptThroughAReset) {
    StartScene();
    EXPECT_EQ(ListPrimitives(), kPrimitivesAt[0].second);
    for (const auto& [t, primitives] : kPrimitivesAt) {
        const GLuint before = static_cast<GLuint>(cigaretteList);
        settings.Tesselation = t;
        BuildCigarette();
        const GLuint after = static_cast<GLuint>(cigaretteList);
        EXPECT_TRUE(glIsList(after)) << t;
        if (after != before) {
            EXPECT_FALSE(glIsList(before)) << t;  // the old list is deleted
        }
        EXPECT_EQ(ListPrimitives(), primitives) << t;
    }
    const int32_t list = cigaretteList;
    ResetScene();  // Tesselation 20 again, but the cigarette is not rebuilt
    EXPECT_EQ(cigaretteList, list);
    EXPECT_EQ(ListPrimitives(), kPrimitivesAt[3].second);  // still the last one built, at 5
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
