// The particle pool: construction with the style tables, emission, motion and the additive
// sprite pass.
//
// Draw expects: the modulate texture environment; depth testing and lighting as the caller wants
// them (the scene has both off). Leaves: texturing, blending and alpha testing off, the blend
// function GL_SRC_ALPHA / GL_ONE_MINUS_SRC_ALPHA, the alpha function at the pass's cutoff, the
// sprite texture bound.
#include "particles/particle_system.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/widths.h"
#include "motion/random.h"

namespace {
constexpr double kMotionScale = 0.2;
constexpr double kDepthSpread = 0.2;  // vz's range is a fifth of vx's and vy's
constexpr double kAngleRange = 360.0;
constexpr double kSpinRange = 160.0;  // spin is uniform in [-80, 80) degrees per second
constexpr double kStyle2ColourRange = 0.7;
constexpr double kStyle2ColourMin = 0.3;
constexpr float kSmokeGrey = 0.66f;
constexpr double kStyle1FadeIn = 0.1;  // of the life
constexpr double kStyle2FadeIn = 0.3;  // of the life

// Fragments that cannot change a pixel are discarded before blending, which saves most of the
// pass's fill work (the sprite's dark corners, the long faint tail of each particle's life).
// A fragment of alpha A adds colour x A to the buffer. Its colour is at most brightest x A x 3:
// the vertex colour is the particle's base colour times its scale times a, the vertex alpha is
// a, and a texel's channel is at most 3 times its alpha (the alpha is the channels' mean). So
// below the cutoff a fragment adds less than a quarter of the buffer's smallest step, which
// rounding drops: the picture is the same as without the test.
constexpr double kTexelChannelPerAlpha = 3.0;
constexpr double kDroppedStepFraction = 0.25;

double SmallestColourStep() {
    GLint red = 0, green = 0, blue = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    const int bits = std::max(red, std::max(green, blue));
    return 1.0 / ((1u << std::min(std::max(bits, 1), 16)) - 1);
}

float InvisibleAlpha(double brightest) {
    if (brightest <= 0.0) return 0.0f;
    return StoreFloat(std::sqrt(SmallestColourStep() * kDroppedStepFraction /
                                (kTexelChannelPerAlpha * brightest)));
}

bool KnownStyle(int style) {
    return style >= 0 && style <= 2;
}

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
}  // namespace

ParticleSystem::ParticleSystem()
    : particles{},
      capacity(kParticlePool),
      spriteTexture(0),
      accelY{0.0f, 0.0f, 0.01f},
      spread{0.004f, 0.006f},
      sizeBase{0.1f, 0.1f},
      lifeBase{4.0f, 50.0f, 2.25f},
      growth{},
      windX{0.0f, 0.03f},
      windY{0.02f, 0.05f},
      windZ{},
      pull(2.0f),
      lastEmitTime(0.0),
      timedSpeed(0.0f),
      colourScaleR{1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
      colourScaleG{1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
      colourScaleB{1.0f, 1.0f, 1.0f, 1.0f, 1.0f} {}

ParticleSystem::~ParticleSystem() {}

void ParticleSystem::Clear() {
    for (Particle& p : particles) p.alive = 0;
}

void ParticleSystem::Emit(int style, float x, float y, float z, double time, float speed) {
    if (time < lastEmitTime + kEmitInterval) return;
    if (!KnownStyle(style)) return;
    Particle* slot = nullptr;
    for (int i = 0; i < capacity && i < kParticlePool; ++i) {
        if (particles[i].alive == 0) {
            slot = &particles[i];
            break;
        }
    }
    if (slot == nullptr) return;  // a full pool refuses; lastEmitTime stays
    Particle& p = *slot;
    const int s = style;

    // The random draws come in this order: velocity and size (or colour), then angle and spin.
    if (s == 2) {
        p.vx = StoreFloat(-pull * static_cast<double>(x));
        p.vy = 0.0f;
        p.vz = StoreFloat(-pull * static_cast<double>(z));
        p.size = 0.0f;
        p.r = StoreFloat(RandomUpTo(kStyle2ColourRange) + kStyle2ColourMin);
        p.g = StoreFloat(RandomUpTo(kStyle2ColourRange) + kStyle2ColourMin);
        p.b = StoreFloat(RandomUpTo(kStyle2ColourRange) + kStyle2ColourMin);
    } else {
        const double h = spread[s] * 0.5;
        p.vx = StoreFloat(RandomUpTo(spread[s]) - h);
        p.vy = StoreFloat(RandomUpTo(spread[s]) - h);
        p.vz = StoreFloat((RandomUpTo(spread[s]) - h) * kDepthSpread);
        p.size = StoreFloat(RandomUpTo(sizeBase[s]) + sizeBase[s]);
        if (s == 0) {
            p.r = 1.0f;
            p.g = 0.5f;
            p.b = 0.25f;
        } else {
            p.r = p.g = p.b = kSmokeGrey;
        }
    }

    lastEmitTime = time;
    p.alive = 1;
    p.x = x;
    p.y = y;
    p.z = z;
    p.angle = StoreFloat(RandomUpTo(kAngleRange));
    p.spin = StoreFloat(RandomUpTo(kSpinRange) - kSpinRange * 0.5);
    p.birthTime = time;
    p.life = StoreFloat(lifeBase[s] / static_cast<double>(speed));
    p.deathTime = time + p.life;
}

void ParticleSystem::RetimeLives(double time, float speed) {
    if (speed == timedSpeed || !(speed > 0.0f)) return;
    if (timedSpeed > 0.0f) {
        const double scale = static_cast<double>(timedSpeed) / speed;
        for (Particle& p : particles) {
            if (p.alive != 1) continue;
            const double lived = (time - p.birthTime) / p.life;
            p.life = StoreFloat(p.life * scale);
            p.birthTime = time - lived * p.life;
            p.deathTime = p.birthTime + p.life;
        }
    }
    timedSpeed = speed;
}

void ParticleSystem::Update(int style, double time, float dt, float speed) {
    const double k = static_cast<double>(dt) * kMotionScale * speed;
    const int s = style;
    for (int i = 0; i < capacity && i < kParticlePool; ++i) {
        Particle& p = particles[i];
        if (p.alive != 1) continue;
        if (time > p.deathTime) {  // still live at exactly its death time
            p.alive = 0;
            continue;
        }
        if (!KnownStyle(s)) continue;
        // Positions move with the velocity from before this step's acceleration.
        p.x = StoreFloat(p.x + (static_cast<double>(p.vx) + windX[s]) * k);
        p.y = StoreFloat(p.y + (static_cast<double>(p.vy) + windY[s]) * k);
        p.z = StoreFloat(p.z + (static_cast<double>(p.vz) + windZ[s]) * k);
        p.vy = StoreFloat(static_cast<double>(p.vy) + accelY[s]);  // per call, not scaled by dt
        p.angle = StoreFloat(p.angle + static_cast<double>(dt) * p.spin);
        p.size = StoreFloat(p.size + static_cast<double>(dt) * growth[s]);
    }
}

void ParticleSystem::Draw(int style, float sizeScale, float brightness, float camX, float camY,
                          float camZ, double time) {
    if (!KnownStyle(style)) return;
    const int s = style;

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive
    glBindTexture(GL_TEXTURE_2D, spriteTexture);
    glEnable(GL_TEXTURE_2D);
    double brightest = 0.0;
    for (int i = 0; i < capacity && i < kParticlePool; ++i) {
        const Particle& p = particles[i];
        if (p.alive != 1) continue;
        brightest = std::max({brightest, static_cast<double>(p.r) * colourScaleR[s],
                              static_cast<double>(p.g) * colourScaleG[s],
                              static_cast<double>(p.b) * colourScaleB[s]});
    }
    glEnable(GL_ALPHA_TEST);
    const float cutoff = InvisibleAlpha(brightest);
    glAlphaFunc(GL_GREATER, cutoff);

    for (int i = 0; i < capacity && i < kParticlePool; ++i) {
        const Particle& p = particles[i];
        if (p.alive != 1) continue;
        const float h = StoreFloat(static_cast<double>(sizeScale) * p.size);
        const double f = (time - p.birthTime) / p.life;
        const double a = Fade(s, f) * brightness;
        // No texel is brighter than 1: every fragment of this particle would be discarded.
        if (StoreFloat(a) <= cutoff) continue;
        // The colour is premultiplied by a as well as blended with it: the contribution falls
        // with a squared.
        glColor4f(StoreFloat(static_cast<double>(p.r) * colourScaleR[s] * a),
                  StoreFloat(static_cast<double>(p.g) * colourScaleG[s] * a),
                  StoreFloat(static_cast<double>(p.b) * colourScaleB[s] * a), StoreFloat(a));
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        // Turned back by the camera's angles, in this order, so the sprite faces the viewer.
        glRotatef(StoreFloat(static_cast<double>(p.angle) - camZ), 0, 0, 1);
        glRotatef(-camY, 0, 1, 0);
        glRotatef(-camX, 1, 0, 0);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(-h, -h);
        glTexCoord2f(1, 0);
        glVertex2f(h, -h);
        glTexCoord2f(1, 1);
        glVertex2f(h, h);
        glTexCoord2f(0, 1);
        glVertex2f(-h, h);
        glEnd();
        glPopMatrix();
    }

    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // the scene's normal blend function
}
