#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gl_harness.h"
#include "particles/particle_system.h"

namespace {
// A fresh pool, none of the scene's tests, and one scene unit per pixel from the bottom left.
void Begin() {
    ResetProgramState();
    const GLenum off[] = {GL_LIGHTING, GL_CULL_FACE, GL_DEPTH_TEST, GL_ALPHA_TEST};
    for (GLenum cap : off) glDisable(cap);
    glViewport(0, 0, kTestWindowWidth, kTestWindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kTestWindowWidth, 0, kTestWindowHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// A live particle of colour (0.8, 0.6, 0.4) born at 0 with a 1 s life: the time is its age
// fraction.
void Place(int slot, float x, float y, float size, float angle) {
    particleSystem.particles[slot] = {x,    y,    0,    0,    0, 0, angle, 0,
                                      size, 0.8f, 0.6f, 0.4f, 1, 0, 1,     1};
}
}  // namespace

TEST(ParticleDrawFade, AlphaFollowsTheStyleEnvelopeAndPremultipliesTheColour) {
    Begin();
    const float scale[3] = {0.5f, 0.75f, 1}, base[3] = {0.8f, 0.6f, 0.4f};
    std::fill_n(particleSystem.colourScaleR, kStyleSlots, scale[0]);
    std::fill_n(particleSystem.colourScaleG, kStyleSlots, scale[1]);
    Place(0, 320, 240, 10, 0);
    const float cases[][3] = {
        {1, 0.05f, 0.5f},  {1, 0.55f, 0.5f}, {1, 0.1f, 1},      {1, 1, 0}, {1, 0.025f, 0.1464466f},
        {0, 0.125f, 0.5f}, {0, 0.5f, 1},     {0, 0.875f, 0.5f}, {2, 0, 0}, {2, 0.15f, 0.5f},
        {2, 0.3f, 1},      {2, 1, 1}};  // style, f, a
    for (const auto& c : cases) {
        const int style = static_cast<int>(c[0]);
        const float a = c[2] * 0.8f;  // with a brightness of 0.8
        const auto drawn =
            CaptureFeedback([&] { particleSystem.Draw(style, 1, 0.8f, 0, 0, 0, c[1]); });
        if (a == 0) {  // a particle that can add nothing is not drawn at all
            EXPECT_TRUE(drawn.empty()) << "style " << style << " at " << c[1];
            continue;
        }
        ASSERT_EQ(drawn.size(), 2u);  // one colour for the whole quad
        const FeedbackVertex& v = drawn[1].vertices[2];
        const float rgba[4] = {v.r, v.g, v.b, v.a};
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(rgba[i], i < 3 ? base[i] * scale[i] * a : a, 1e-4)
                << "style " << style << " at " << c[1] << ", component " << i;
        }
    }
}

TEST(ParticleDrawQuad, HalfSideIsScaleTimesSizeTurnedBackByTheCamera) {
    Begin();
    Place(0, 320, 240, 10, 30);
    Place(1, 100, 100, 10, 30);
    particleSystem.particles[1].alive = 0;
    Place(2, 100, 50, 5, 30);
    const auto drawn = CaptureFeedback([] { particleSystem.Draw(1, 2, 1, 0, 0, 30, 0.1f); });
    ASSERT_EQ(drawn.size(), 4u);                                // the free slot draws nothing
    const float quads[2][3] = {{320, 240, 20}, {100, 50, 10}};  // centre and half side
    for (size_t i = 0; i < drawn.size(); ++i) {
        const float* q = quads[i / 2];
        for (const FeedbackVertex& v : drawn[i].vertices) {
            // The sprite's angle less the camera's leaves the square upright.
            EXPECT_NEAR(std::fabs(v.x - q[0]), q[2], 1e-3) << i;
            EXPECT_NEAR(std::fabs(v.y - q[1]), q[2], 1e-3) << i;
            EXPECT_EQ(v.s, v.x > q[0] ? 1.0f : 0.0f) << i;
            EXPECT_EQ(v.t, v.y > q[1] ? 1.0f : 0.0f) << i;
        }
    }
    EXPECT_TRUE(CaptureFeedback([] { particleSystem.Draw(3, 2, 1, 0, 0, 30, 0.1f); }).empty());
}

TEST(ParticleDrawState, AddsToThePictureAndRestoresTheNormalBlend) {
    Begin();
    particleSystem.spriteTexture = 7;  // an empty texture: the drawing colour passes unchanged
    Place(0, 320, 240, 20, 0);
    glClearColor(0.25f, 0.25f, 0.25f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBlendFunc(GL_ONE, GL_ZERO);
    particleSystem.Draw(1, 1, 1, 0, 0, 0, 0.05f);  // a = 0.5
    // Additive: the background plus colour x a, where the colour already carries a.
    const Picture picture = ReadPicture();
    const unsigned char* centre = picture.At(320, 240);
    const float base[3] = {0.8f, 0.6f, 0.4f};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(centre[i], (0.25f + base[i] * 0.25f) * 255, 3) << i;
    GLint src = 0, dst = 0, bound = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(src, static_cast<GLint>(GL_SRC_ALPHA));
    EXPECT_EQ(dst, static_cast<GLint>(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(bound, 7);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    glDeleteTextures(1, &particleSystem.spriteTexture);
    glClearColor(0, 0, 0, 1);
}
