// The particles' additive sprite pass: every live particle as a view-facing textured square,
// faded by its age, each kept to a scissor box around the part of its sprite that can pass the
// alpha cutoff (alpha_cutoff.h, screen_box.h). The sprite's reach is measured here, once per
// texture.
//
// Expects/Leaves: the scene defaults (SetSceneGlDefaults in scene/gl_defaults.h), except that it
// leaves the alpha function at the pass's cutoff and the sprite texture bound. A scissor box the
// caller has switched on is kept, and each particle's box lies inside it.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/texels.h"
#include "common/widths.h"
#include "motion/random.h"
#include "particles/alpha_cutoff.h"
#include "particles/particle_system.h"
#include "particles/screen_box.h"

namespace {
constexpr double kStyle1FadeIn = 0.1;  // of the life
constexpr double kStyle2FadeIn = 0.3;  // of the life
constexpr double kRadiansPerDegree = 0.017453292519943295;

// Opacity over the life fraction f, before the caller's brightness.
double Fade(int style, double f) {
    switch (style) {
        case 0:
            return std::sqrt((0.5 - std::fabs(f - 0.5)) * 2.0);
        case 1:
            if (f < kStyle1FadeIn) return CosineBlend(0, 1, StoreFloat(f / kStyle1FadeIn));
            if (f > kStyle1FadeIn) {
                return CosineBlend(1, 0, StoreFloat((f - kStyle1FadeIn) / (1.0 - kStyle1FadeIn)));
            }
            return 1.0;
        default:
            if (f < kStyle2FadeIn) return CosineBlend(0, 1, StoreFloat(f / kStyle2FadeIn));
            return 1.0;
    }
}

// The sprite's profile, read back from the bound texture `texture`. Untrusted for a texture
// without an image and for one whose minification reads other levels than the first.
constexpr GLint kLargestProfiledSide = 2048;
constexpr double kTopLevel = kAlphaLevels - 1;
SpriteProfile ReadSpriteProfile(unsigned int texture) {
    if (texture == 0 || glIsTexture(texture) != GL_TRUE) return SpriteProfile();
    GLint width = 0, height = 0, minFilter = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    if (width <= 0 || height <= 0 || width > kLargestProfiledSide ||
        height > kLargestProfiledSide || (minFilter != GL_LINEAR && minFilter != GL_NEAREST)) {
        return SpriteProfile();
    }
    GLfloat border[4] = {};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    std::vector<unsigned char> texels(static_cast<size_t>(width) * static_cast<size_t>(height) *
                                      kTexelBytes);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    const int borderAlpha =
        TruncInt(std::ceil(std::clamp(static_cast<double>(border[3]), 0.0, 1.0) * kTopLevel));
    return MeasureSpriteProfile(texels.data(), width, height, borderAlpha);
}

// The brightest colour channel of the live particles, base colour times the style's scale.
double BrightestChannel(const ParticleSystem& system, int style) {
    double brightest = 0.0;
    for (int i = 0; i < system.capacity && i < kParticlePool; ++i) {
        const Particle& p = system.particles[i];
        if (p.alive != 1) continue;
        brightest = std::max({brightest, static_cast<double>(p.r) * system.colourScaleR[style],
                              static_cast<double>(p.g) * system.colourScaleG[style],
                              static_cast<double>(p.b) * system.colourScaleB[style]});
    }
    return brightest;
}

int ColourBits() {
    GLint red = 0, green = 0, blue = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    return std::max({red, green, blue});
}

SpritePlaneView CurrentSpritePlaneView() {
    double modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    return ViewSpritePlane(projection, modelview, viewport);
}

// What the optimised pass switches on beyond blending and texturing, and the caller's scissor
// state it puts back.
struct SmokePassState {
    bool culled = false;  // the alpha cutoff is on; false for the plain pass
    float cutoff = 0.0f;  // alpha at or below which a fragment is discarded
    bool boxes = false;   // each particle gets a scissor box
    SpritePlaneView view;
    bool callerScissor = false;       // the caller had the scissor test on
    GLint callerBox[4] = {};          // the caller's scissor box, put back at the end
    ScreenBox limit = kUnlimitedBox;  // what the particles' boxes are cut to
};

SmokePassState BeginSmokePassState(const ParticleSystem& system, int style, bool upright) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive
    glBindTexture(GL_TEXTURE_2D, system.spriteTexture);
    glEnable(GL_TEXTURE_2D);
    SmokePassState pass;
    pass.culled = !system.wholeQuads;
    if (!pass.culled) return pass;
    pass.cutoff =
        InvisibleAlpha(BrightestChannel(system, style), system.spriteProfile, ColourBits());
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, pass.cutoff);
    // Only an upright sprite stays in the plane z = const of its particle.
    if (upright && system.spriteProfile.trusted) pass.view = CurrentSpritePlaneView();
    pass.boxes = pass.view.turnAndScale;
    if (!pass.boxes) return pass;
    pass.callerScissor = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    glGetIntegerv(GL_SCISSOR_BOX, pass.callerBox);
    const GLint* box = pass.callerBox;
    if (pass.callerScissor) pass.limit = {box[0], box[1], box[2], box[3]};
    glEnable(GL_SCISSOR_TEST);
    return pass;
}

void EndSmokePassState(const SmokePassState& pass) {
    if (pass.boxes) {
        glScissor(pass.callerBox[0], pass.callerBox[1], pass.callerBox[2], pass.callerBox[3]);
        if (!pass.callerScissor) glDisable(GL_SCISSOR_TEST);
    }
    if (pass.culled) glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // the scene's normal blend function
}

// Sets the scissor box around the part of `particle` that can pass the cutoff at `fade`; false
// when nothing of it can show.
bool ScissorToVisiblePart(const SmokePassState& pass, const SpriteProfile& sprite,
                          const Particle& particle, double fade, float halfSide, float camZ) {
    const int level = LowestPassingLevel(pass.cutoff, fade);
    if (level == kAlphaLevels) return false;  // not even the brightest texel can pass
    if (!pass.boxes) return true;
    const SpriteQuad quad = {particle.x, particle.y, particle.z, halfSide,
                             (static_cast<double>(particle.angle) - camZ) * kRadiansPerDegree};
    ScreenBox box;
    if (!ParticleScreenBox(pass.view, sprite, level, quad, pass.limit, box)) return false;
    glScissor(box.left, box.bottom, box.width, box.height);
    return true;
}

// The particle's quad, turned back by the camera's angles so that it faces the viewer.
void DrawSprite(const Particle& particle, const float colourScale[3], double fade, float halfSide,
                float camX, float camY, float camZ) {
    // The colour is premultiplied by the fade as well as blended with it: the contribution falls
    // with the fade squared.
    glColor4f(StoreFloat(static_cast<double>(particle.r) * colourScale[0] * fade),
              StoreFloat(static_cast<double>(particle.g) * colourScale[1] * fade),
              StoreFloat(static_cast<double>(particle.b) * colourScale[2] * fade),
              StoreFloat(fade));
    glPushMatrix();
    glTranslatef(particle.x, particle.y, particle.z);
    glRotatef(StoreFloat(static_cast<double>(particle.angle) - camZ), 0, 0, 1);
    glRotatef(-camY, 0, 1, 0);
    glRotatef(-camX, 1, 0, 0);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-halfSide, -halfSide);
    glTexCoord2f(1, 0);
    glVertex2f(halfSide, -halfSide);
    glTexCoord2f(1, 1);
    glVertex2f(halfSide, halfSide);
    glTexCoord2f(0, 1);
    glVertex2f(-halfSide, halfSide);
    glEnd();
    glPopMatrix();
}
}  // namespace

void ParticleSystem::ProfileSprite() {
    if (profiledTexture == spriteTexture) return;  // once per sprite, not per frame
    glBindTexture(GL_TEXTURE_2D, spriteTexture);
    spriteProfile = ReadSpriteProfile(spriteTexture);
    profiledTexture = spriteTexture;
}

void ParticleSystem::Draw(int style, float sizeScale, float brightness, float camX, float camY,
                          float camZ, double time) {
    if (!KnownStyle(style)) return;
    ProfileSprite();
    const SmokePassState pass = BeginSmokePassState(*this, style, camX == 0.0f && camY == 0.0f);
    const float colourScale[3] = {colourScaleR[style], colourScaleG[style], colourScaleB[style]};
    for (int i = 0; i < capacity && i < kParticlePool; ++i) {
        const Particle& particle = particles[i];
        if (particle.alive != 1) continue;
        const float halfSide = StoreFloat(static_cast<double>(sizeScale) * particle.size);
        const double fade = Fade(style, (time - particle.birthTime) / particle.life) * brightness;
        if (pass.culled &&
            !ScissorToVisiblePart(pass, spriteProfile, particle, fade, halfSide, camZ)) {
            continue;
        }
        DrawSprite(particle, colourScale, fade, halfSide, camX, camY, camZ);
    }
    EndSmokePassState(pass);
}
