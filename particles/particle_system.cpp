// The particle pool: construction with the style tables, emission, motion and the additive
// sprite pass.
//
// Draw expects: the modulate texture environment; depth testing and lighting as the caller wants
// them (the scene has both off); the caller's scissor box, if the test is on, is kept. Leaves:
// texturing, blending and alpha testing off, the scissor test and box as the caller had them, the
// blend function GL_SRC_ALPHA / GL_ONE_MINUS_SRC_ALPHA, the alpha function at the pass's cutoff,
// the sprite texture bound.
#include "particles/particle_system.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/texels.h"
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
// A fragment of alpha A adds colour x A to the buffer. Its colour is at most brightest x A x R:
// the vertex colour is the particle's base colour times its scale times a, the vertex alpha is
// a, and a texel's channel is at most R times its alpha. R is measured from the sprite (1 for a
// grey one); without a measure it is 3, as the alpha is the channels' mean. So below the cutoff
// a fragment adds less than a quarter of the buffer's smallest step, which rounding drops: the
// picture is the same as without the test.
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

float InvisibleAlpha(double brightest, const SpriteProfile& sprite) {
    if (brightest <= 0.0) return 0.0f;
    const double channelPerAlpha = sprite.trusted && sprite.channelPerAlpha > 0.0f
                                       ? static_cast<double>(sprite.channelPerAlpha)
                                       : kTexelChannelPerAlpha;
    return StoreFloat(
        std::sqrt(SmallestColourStep() * kDroppedStepFraction / (channelPerAlpha * brightest)));
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

// Each particle is drawn as the whole quad, so every fragment keeps the texture coordinates the
// quad gives it, but only inside a scissor box around the part of the sprite that can pass the
// cutoff at the particle's fade. (Drawing a smaller polygon instead would move samples: the
// rasterizer derives each triangle's interpolation from its own vertices, and even the same quad
// started at another corner changes a few pixels by one step.)
constexpr GLint kUnlimited = 1 << 24;   // a box side longer than any window's
constexpr double kPixelSlack = 0.0625;  // pixels added around a box for the transform's rounding
constexpr double kLevelSlack = 1e-3;    // relative: a fragment this close to the cutoff may pass
constexpr double kSimilarity = 1e-4;    // relative deviation from a turn and scale still allowed
constexpr double kNearestW = 1e-6;      // clip w in front of the eye still trusted
constexpr double kDegrees = 0.017453292519943295;  // radians per degree
constexpr double kHalfTurn = 3.141592653589793;    // radians
constexpr int kBoxSides = 4;

// What the boxes need to know of the transform, taken once per pass.
struct ScreenBoxes {
    bool active = false;  // boxes are computed; false: the scissor is left to the caller
    double m[16] = {};    // projection x modelview, column-major
    double vx = 0, vy = 0, hw = 0, hh = 0;  // viewport origin and half size, pixels
    // The sprite's plane maps to the screen by a turn and a scale: the reach by direction can be
    // turned instead of bounding a disc. Then scale x sprite units / w gives pixels, turned by
    // `turn` radians.
    bool similar = false;
    double scale = 0, turn = 0, widen = 0;  // widen: pixels per pixel of reach for the deviation
    bool callerScissor = false;
    GLint caller[kBoxSides] = {};  // the caller's scissor box, restored at the end
};

ScreenBoxes SetUpBoxes(bool trusted, float camX, float camY) {
    ScreenBoxes s;
    s.callerScissor = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    glGetIntegerv(GL_SCISSOR_BOX, s.caller);
    // Only an untilted sprite stays in the plane z = const of its particle.
    s.active = trusted && camX == 0.0f && camY == 0.0f;
    if (!s.active) return s;
    double mv[16], pj[16];
    GLint vp[kBoxSides];
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    glGetDoublev(GL_PROJECTION_MATRIX, pj);
    glGetIntegerv(GL_VIEWPORT, vp);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += pj[k * 4 + r] * mv[c * 4 + k];
            s.m[c * 4 + r] = sum;
        }
    }
    s.vx = vp[0];
    s.vy = vp[1];
    s.hw = vp[2] * 0.5;
    s.hh = vp[3] * 0.5;
    // Pixels per scene unit (times w) along the sprite plane's x and y.
    const double ax = s.m[0] * s.hw, ay = s.m[1] * s.hh, bx = s.m[4] * s.hw, by = s.m[5] * s.hh;
    s.scale = std::hypot(ax, ay);
    const double deviation = std::hypot(ax - by, ay + bx);
    s.similar =
        s.m[3] == 0.0 && s.m[7] == 0.0 && s.scale > 0.0 && deviation <= kSimilarity * s.scale;
    s.turn = std::atan2(ay, ax);
    s.widen = s.scale > 0.0 ? deviation / s.scale * std::sqrt(2.0) : 0.0;
    return s;
}

GLint PixelFloor(double v) {
    return TruncInt(std::floor(v));
}

// Box of the pixels whose centres lie in [x0, x1] x [y0, y1], widened for rounding and cut to the
// caller's box; false when it is empty.
bool PixelBox(const ScreenBoxes& s, double x0, double x1, double y0, double y1, GLint box[4]) {
    GLint left = PixelFloor(x0 - 0.5 - kPixelSlack) + 1,
          bottom = PixelFloor(y0 - 0.5 - kPixelSlack) + 1;
    GLint right = PixelFloor(x1 - 0.5 + kPixelSlack) + 1,
          top = PixelFloor(y1 - 0.5 + kPixelSlack) + 1;
    if (s.callerScissor) {
        left = std::max(left, s.caller[0]);
        bottom = std::max(bottom, s.caller[1]);
        right = std::min(right, s.caller[0] + s.caller[2]);
        top = std::min(top, s.caller[1] + s.caller[3]);
    }
    box[0] = left;
    box[1] = bottom;
    box[2] = right - left;
    box[3] = top - bottom;
    return box[2] > 0 && box[3] > 0;
}

// The caller's own box: for a quad part of which lies behind the eye.
bool CallerBox(const ScreenBoxes& s, GLint box[4]) {
    return PixelBox(s, -kUnlimited, kUnlimited, -kUnlimited, kUnlimited, box);
}

// Window position of the scene point (x, y, z) whose clip w is `w`.
void ToWindow(const ScreenBoxes& s, double x, double y, double z, double w, double& px,
              double& py) {
    const double* m = s.m;
    px = s.vx + ((m[0] * x + m[4] * y + m[8] * z + m[12]) / w + 1.0) * s.hw;
    py = s.vy + ((m[1] * x + m[5] * y + m[9] * z + m[13]) / w + 1.0) * s.hh;
}

// The scissor box of a particle at (x, y, z) whose quad has half side h, turned by `turn`
// radians, of which only the points reading texels of alpha `level` or more can pass. False when
// nothing of it can show.
bool ParticleBox(const ScreenBoxes& s, const SpriteProfile& profile, int level, double x, double y,
                 double z, double h, double turn, GLint box[4]) {
    const double* m = s.m;
    const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
    const double side = 2.0 * std::fabs(h);  // scene units per texture coordinate
    // A quad of negative half side shows the sprite turned by half a turn.
    const double spriteTurn = s.turn + turn + (h < 0.0 ? kHalfTurn : 0.0);
    double sides[kBoxSides];  // right, up, left, down, in texture coordinates
    if (!SpriteBox(profile, level, spriteTurn, sides)) return false;
    const double reach = std::min(static_cast<double>(profile.reach[level]), 1.0);
    if (w < kNearestW) return CallerBox(s, box);  // the centre is behind the eye
    if (s.similar) {
        double cx, cy;
        ToWindow(s, x, y, z, w, cx, cy);
        const double pixels = s.scale * side / w, widen = s.widen * reach * pixels;
        return PixelBox(s, cx - sides[2] * pixels - widen, cx + sides[0] * pixels + widen,
                        cy - sides[3] * pixels - widen, cy + sides[1] * pixels + widen, box);
    }
    // Any other projection: the corners of the square around the disc of the reach, each
    // projected, bound its picture as long as all lie in front of the eye.
    const double r = reach * side;
    double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
    for (int corner = 0; corner < 4; ++corner) {
        const double dx = (corner & 1) ? r : -r, dy = (corner & 2) ? r : -r;
        const double cw = w + m[3] * dx + m[7] * dy;
        if (cw < kNearestW) return CallerBox(s, box);
        double px, py;
        ToWindow(s, x + dx, y + dy, z, cw, px, py);
        x0 = std::min(x0, px);
        x1 = std::max(x1, px);
        y0 = std::min(y0, py);
        y1 = std::max(y1, py);
    }
    return PixelBox(s, x0, x1, y0, y1, box);
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
      colourScaleB{1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
      profiledTexture(0),
      spriteProfile() {}

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

void ParticleSystem::ProfileSprite() {
    if (profiledTexture == spriteTexture) return;  // once per sprite, not per frame
    glBindTexture(GL_TEXTURE_2D, spriteTexture);
    spriteProfile = ReadSpriteProfile(spriteTexture);
    profiledTexture = spriteTexture;
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
    ProfileSprite();
    glEnable(GL_ALPHA_TEST);
    const float cutoff = InvisibleAlpha(brightest, spriteProfile);
    glAlphaFunc(GL_GREATER, cutoff);
    const ScreenBoxes screen = SetUpBoxes(spriteProfile.trusted, camX, camY);
    if (screen.active) glEnable(GL_SCISSOR_TEST);
    // A texel of alpha v can pass only if v / 255 x a > cutoff: below this many levels over a,
    // none does.
    const double levelsAtCutoff = static_cast<double>(cutoff) * kTopLevel * (1.0 - kLevelSlack);

    for (int i = 0; i < capacity && i < kParticlePool; ++i) {
        const Particle& p = particles[i];
        if (p.alive != 1) continue;
        const float h = StoreFloat(static_cast<double>(sizeScale) * p.size);
        const double f = (time - p.birthTime) / p.life;
        const double a = Fade(s, f) * brightness;
        // No texel is brighter than 1: every fragment of this particle would be discarded.
        if (StoreFloat(a) <= cutoff) continue;
        if (screen.active) {
            const double level = std::floor(levelsAtCutoff / a) + 1.0;
            GLint box[kBoxSides];
            if (level >= kAlphaLevels ||
                !ParticleBox(screen, spriteProfile, static_cast<int>(level), p.x, p.y, p.z, h,
                             (static_cast<double>(p.angle) - camZ) * kDegrees, box)) {
                continue;  // no texel is bright enough, or nothing that can pass is in view
            }
            glScissor(box[0], box[1], box[2], box[3]);
        }
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

    if (screen.active) {
        glScissor(screen.caller[0], screen.caller[1], screen.caller[2], screen.caller[3]);
        if (!screen.callerScissor) glDisable(GL_SCISSOR_TEST);
    }
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // the scene's normal blend function
}
