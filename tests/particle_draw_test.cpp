// The particle pass: fades and colours, the quad and its turn, the blend state it leaves, and the
// scissor box that keeps each particle's drawing to what its cutoff can let through.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "common/widths.h"
#include "gl_harness.h"
#include "particles/particle_system.h"
#include "scene/scene_state.h"
#include "scene/textures.h"

namespace {
// A fresh pool, none of the scene's tests, and one scene unit per pixel from the bottom left.
void Begin() {
    ResetProgramState();
    const GLenum off[] = {GL_LIGHTING, GL_CULL_FACE, GL_DEPTH_TEST, GL_ALPHA_TEST};
    for (GLenum cap : off) glDisable(cap);
    glViewport(0, 0, kStartWindowWidth, kStartWindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kStartWindowWidth, 0, kStartWindowHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// A live particle of colour (0.8, 0.6, 0.4) born at 0 with a 1 s life: the time is its age
// fraction.
void Place(int slot, float x, float y, float size, float angle) {
    Particle p{};  // at rest, not spinning, at z = 0
    p.x = x;
    p.y = y;
    p.size = size;
    p.angle = angle;
    p.r = 0.8f;
    p.g = 0.6f;
    p.b = 0.4f;
    p.life = 1;
    p.birthTime = 0;
    p.deathTime = 1;
    p.alive = 1;
    particleSystem.particles[slot] = p;
}

// The scene's smoke sprite, measured by the pass on first use.
GLuint LoadSmokeSprite() {
    const GLuint sprite = LoadBmpTexture("smoke128.bmp", -1, 0, false);
    particleSystem.spriteTexture = sprite;
    particleSystem.profiledTexture = 0;
    return sprite;
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
    // Without a sprite, and with the measured smoke sprite, whose boxes only cut what is
    // rasterized: the quads, corners and texture coordinates, stay whole either way.
    for (const bool measured : {false, true}) {
        const GLuint sprite = measured ? LoadSmokeSprite() : 0;
        Place(0, 320, 240, 10, 30);
        Place(1, 100, 100, 10, 30);
        particleSystem.particles[1].alive = 0;
        Place(2, 100, 50, 5, 30);
        const auto drawn = CaptureFeedback([] { particleSystem.Draw(1, 2, 1, 0, 0, 30, 0.1f); });
        EXPECT_EQ(particleSystem.spriteProfile.trusted, measured);
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
        glDeleteTextures(1, &sprite);
    }
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

namespace {
// A perspective view down -z onto the plane z = 0, like the scene's: 0.5 units away.
void LookAtThePlane(double aspectStretch) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, aspectStretch * kStartWindowWidth / kStartWindowHeight, 0.01, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -0.5f);
}

// A grid of particles of every fade along the style-1 envelope, large and small, turned every
// way, overlapping, some half out of the window.
constexpr int kGridParticles = 160;
void PlaceFadingParticles() {
    for (int i = 0; i < kGridParticles; ++i) {
        const double x = -0.36 + 0.048 * (i % 16), y = -0.25 + 0.055 * (i / 16);
        Place(i, StoreFloat(x), StoreFloat(y), StoreFloat(0.015 + 0.004 * (i % 9)),
              StoreFloat(37.0 * i));
        particleSystem.particles[i].birthTime = -std::fmod(0.37 * i, 1.0);  // the age fraction
    }
}

GLuint64 ShadedFragments(const std::function<void()>& draw) {
    GLuint query = 0;
    GLuint64 shaded = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, query);
    draw();
    glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &shaded);
    glDeleteQueries(1, &query);
    return shaded;
}

struct Pass {
    Picture picture;
    GLuint64 shaded;
};

// One pass over a black window: the optimised one or, `whole`, the plain one.
Pass DrawPass(bool whole, float sizeScale, float camZ) {
    particleSystem.wholeQuads = whole;
    glClear(GL_COLOR_BUFFER_BIT);
    const GLuint64 shaded = ShadedFragments(
        [sizeScale, camZ] { particleSystem.Draw(1, sizeScale, 1, 0, 0, camZ, 0.5); });
    particleSystem.wholeQuads = false;
    return {ReadPicture(), shaded};
}
}  // namespace

TEST(ParticleDrawClipped, SamePictureAsWholeQuadsFromFewerFragments) {
    Begin();
    const GLuint sprite = LoadSmokeSprite();
    ASSERT_NE(sprite, 0u);
    PlaceFadingParticles();
    particleSystem.Draw(1, 1, 1, 0, 0, 0, 0.5);  // measures the sprite
    ASSERT_TRUE(particleSystem.spriteProfile.trusted);
    // The scene's projection (the sprite's plane seen square on), a turn of the camera about
    // the view axis, quads of negative size, which show the sprite turned by half a turn, and a
    // projection that stretches the plane unevenly, where no boxes are cut.
    const std::tuple<double, float, float> views[] = {
        {1.0, 1.0f, 0.0f}, {1.0, 1.0f, 25.0f}, {1.0, -1.0f, 0.0f}, {1.7, 1.0f, 0.0f}};
    for (const auto& [stretch, sizeScale, camZ] : views) {
        LookAtThePlane(stretch);
        const Pass clipped = DrawPass(false, sizeScale, camZ);
        const Pass whole = DrawPass(true, sizeScale, camZ);
        const auto view = ::testing::Message()
                          << "stretch " << stretch << ", size " << sizeScale << ", turn " << camZ;
        EXPECT_TRUE(clipped.picture.rgb == whole.picture.rgb) << view;
        if (stretch == 1.0) {
            EXPECT_LT(clipped.shaded, whole.shaded * 3 / 4) << view;
        } else {  // no boxes: only the particles too faint to show are skipped
            EXPECT_LE(clipped.shaded, whole.shaded) << view;
        }
        EXPECT_GT(*std::max_element(clipped.picture.rgb.begin(), clipped.picture.rgb.end()), 40);
    }
    glDeleteTextures(1, &sprite);
}

TEST(ParticleDrawClipped, KeepsTheCallersScissorAndSkipsWhatCannotShow) {
    Begin();
    const GLuint sprite = LoadSmokeSprite();
    LookAtThePlane(1.0);
    PlaceFadingParticles();
    GLint box[4] = {};
    for (bool callerScissor : {false, true}) {
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(100, 50, 200, 150);
        if (callerScissor) glEnable(GL_SCISSOR_TEST);
        particleSystem.Draw(1, 1, 1, 0, 0, 0, 0.5);
        glGetIntegerv(GL_SCISSOR_BOX, box);
        EXPECT_EQ(std::vector<GLint>(box, box + 4), std::vector<GLint>({100, 50, 200, 150}));
        EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), callerScissor ? GL_TRUE : GL_FALSE);
        glDisable(GL_SCISSOR_TEST);
        const Picture picture = ReadPicture();
        int outside = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (x < 100 || x >= 300 || y < 50 || y >= 200) outside += picture.At(x, y)[0];
        EXPECT_EQ(outside > 0, !callerScissor);
    }
    // The cutoff: a quarter step of colour from the brightest channel, 0.8, and the grey
    // sprite's channel-to-alpha ratio of 1 (3, the mean's bound, without a measured sprite).
    Place(0, 0, 0, 0.1f, 0);
    for (int i = 1; i < kGridParticles; ++i) particleSystem.particles[i].alive = 0;
    const auto cutoffFor = [](double ratio) { return std::sqrt(0.25 / 255 / (ratio * 0.8)); };
    GLfloat reference = 0;
    particleSystem.Draw(2, 1, 1, 0, 0, 0, 1);
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_NEAR(particleSystem.spriteProfile.channelPerAlpha, 1.0, 1e-6);
    EXPECT_NEAR(reference, cutoffFor(1), 1e-6);
    // The sprite's brightest texel is 225 of 255: at a fade that only a brighter texel could
    // pass the cutoff with, the measured pass skips the particle; without the measure the
    // cutoff is lower, and the pass draws it.
    const float brightness = static_cast<float>(cutoffFor(1) * 1.06);
    const auto drawn = [&] {
        return CaptureFeedback([&] { particleSystem.Draw(2, 1, brightness, 0, 0, 0, 1); }).size();
    };
    EXPECT_EQ(drawn(), 0u);
    particleSystem.spriteProfile = SpriteProfile();
    EXPECT_EQ(drawn(), 2u);
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_NEAR(reference, cutoffFor(3), 1e-6);
    glDeleteTextures(1, &sprite);
}

TEST(ParticleDrawClipped, MeasuresTheSpriteOncePerTextureAndTrustsOnlyAPlainImage) {
    Begin();
    const auto measure = [](GLuint name) {
        particleSystem.spriteTexture = name;
        particleSystem.Draw(1, 1, 1, 0, 0, 0, 0.5);
        EXPECT_EQ(particleSystem.profiledTexture, name);
        return particleSystem.spriteProfile.trusted;
    };
    EXPECT_FALSE(measure(0));  // no texture
    GLuint names[2] = {};
    glGenTextures(2, names);
    const unsigned char white[4] = {255, 255, 255, 255};
    for (GLuint name : names) {
        glBindTexture(GL_TEXTURE_2D, name);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    EXPECT_TRUE(measure(names[0]));
    EXPECT_GT(particleSystem.spriteProfile.reach[255], 0.7f);  // white fills the whole quad
    // Minification from other levels than the first could read anything.
    glBindTexture(GL_TEXTURE_2D, names[1]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_FALSE(measure(names[1]));
    // Measured once: a changed filter under the same name is not looked at again.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    EXPECT_FALSE(measure(names[1]));
    glDeleteTextures(2, names);
}
