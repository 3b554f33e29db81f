// The cigarette's display list: one at a time, subdivided by Tesselation when it is built, and
// kept through a settings reset.
#define GL_GLEXT_PROTOTYPES
#include <gtest/gtest.h>

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

// gluDisk (inner radius 0) with S slices and L loops: a fan of S triangles and L - 1 rings of S
// quads; gluCylinder with K stacks: K rings of S quads. Two disks, the paper and the filter.
GLuint64 ExpectedPrimitives(int s) {
    const int loops = static_cast<int>(s * 0.3), filterStacks = static_cast<int>(s * 0.2);
    return static_cast<GLuint64>(2 * (s + s * (loops - 1)) + s * s + s * filterStacks);
}
}  // namespace

TEST(Cigarette, OneListSubdividedAsBuiltAndKeptThroughAReset) {
    StartScene();
    EXPECT_EQ(ListPrimitives(), ExpectedPrimitives(20));
    for (int t : {40, 8, 5}) {
        const GLuint before = static_cast<GLuint>(cigaretteList);
        settings.Tesselation = t;
        BuildCigarette();
        const GLuint after = static_cast<GLuint>(cigaretteList);
        EXPECT_TRUE(glIsList(after)) << t;
        if (after != before) {
            EXPECT_FALSE(glIsList(before)) << t;  // the old list is deleted
        }
        EXPECT_EQ(ListPrimitives(), ExpectedPrimitives(t)) << t;
    }
    const int32_t list = cigaretteList;
    ResetScene();  // Tesselation 20 again, but the cigarette is not rebuilt
    EXPECT_EQ(cigaretteList, list);
    EXPECT_EQ(ListPrimitives(), ExpectedPrimitives(5));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
