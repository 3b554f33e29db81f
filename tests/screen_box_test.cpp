// A particle's scissor box from the transform alone: it holds every pixel whose centre reads a
// texel of the level asked for, and little more, whichever way the view and the sprite turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "particles/screen_box.h"

namespace {
constexpr double kPi = 3.141592653589793;
constexpr int kViewport[4] = {0, 0, 640, 480};
constexpr double kAspect = 640.0 / 480.0;

// gluPerspective(60, aspect, 0.01, 10) and, after it, a step of 0.5 back from the plane z = 0
// turned by `turn` radians about the view axis (or, `tilt`, about x): column-major.
struct View {
    double projection[16] = {}, modelview[16] = {};
    View(double aspect, double turn, double tilt = 0) {
        const double f = 1 / std::tan(kPi / 6), near = 0.01, far = 10;
        double* p = projection;
        p[0] = f / aspect, p[5] = f, p[10] = (far + near) / (near - far), p[11] = -1;
        p[14] = 2 * far * near / (near - far);
        double* m = modelview;
        m[0] = std::cos(turn), m[1] = std::sin(turn), m[4] = -m[1], m[5] = m[0];
        m[5] *= std::cos(tilt), m[6] = std::sin(tilt), m[9] = -m[6], m[10] = std::cos(tilt);
        m[14] = -0.5, m[15] = 1;
    }
    SpritePlaneView Plane() const { return ViewSpritePlane(projection, modelview, kViewport); }
};

// A 16 x 16 sprite, dark but for a bright disc off its centre with a soft edge.
constexpr int kSide = 16;
std::vector<unsigned char> Sprite() {
    std::vector<unsigned char> rgba(size_t{kSide} * kSide * 4);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const double fall = std::max(0.0, 1 - std::hypot(x - 10.5, y - 5.5) / 4.5);
            std::fill_n(&rgba[static_cast<size_t>(y * kSide + x) * 4], 4,
                        static_cast<unsigned char>(255 * fall));
        }
    }
    return rgba;
}

// The brightest texel a linear sample at (s, t) reads, with repeat.
int BrightestRead(const std::vector<unsigned char>& rgba, double s, double t) {
    const int x = static_cast<int>(std::floor(s * kSide - 0.5));
    const int y = static_cast<int>(std::floor(t * kSide - 0.5));
    int brightest = 0;
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            const int texel = ((y + dy + kSide) % kSide) * kSide + (x + dx + kSide) % kSide;
            brightest = std::max<int>(brightest, rgba[static_cast<size_t>(texel) * 4 + 3]);
        }
    }
    return brightest;
}

// Every pixel whose centre lies on `quad` and reads `level` or more is inside the box, and the
// box reaches at most two pixels beyond the outermost of them.
void ExpectBoxFitsTheReadingPixels(const View& view, const SpriteQuad& quad, int level) {
    const std::vector<unsigned char> rgba = Sprite();
    const SpriteProfile sprite = MeasureSpriteProfile(rgba.data(), kSide, kSide, 0);
    const SpritePlaneView plane = view.Plane();
    ScreenBox box;
    ASSERT_TRUE(ParticleScreenBox(plane, sprite, level, quad, kUnlimitedBox, box));
    // Window position = origin + a x (x, y) on the plane z = quad.z, where w is constant.
    const double* m = plane.clipFromScene;
    const double w = m[11] * quad.z + m[15];
    const double a[4] = {m[0] / w * 320, m[4] / w * 320, m[1] / w * 240, m[5] / w * 240};
    const double ox = (m[8] * quad.z + m[12]) / w * 320 + 320;
    const double oy = (m[9] * quad.z + m[13]) / w * 240 + 240;
    const double det = a[0] * a[3] - a[1] * a[2];
    const double c = std::cos(quad.turn), s = std::sin(quad.turn);
    int left = 1 << 20, right = -left, bottom = left, top = -left;
    for (int py = 0; py < 480; ++py) {
        for (int px = 0; px < 640; ++px) {
            const double wx = px + 0.5 - ox, wy = py + 0.5 - oy;
            const double x = (a[3] * wx - a[1] * wy) / det - quad.x;
            const double y = (a[0] * wy - a[2] * wx) / det - quad.y;
            const double u = (c * x + s * y) / (2 * quad.halfSide) + 0.5;
            const double v = (c * y - s * x) / (2 * quad.halfSide) + 0.5;
            if (u < 0 || u > 1 || v < 0 || v > 1 || BrightestRead(rgba, u, v) < level) continue;
            left = std::min(left, px), right = std::max(right, px);
            bottom = std::min(bottom, py), top = std::max(top, py);
        }
    }
    ASSERT_LE(left, right) << "no pixel reads level " << level;
    EXPECT_LE(box.left, left);
    EXPECT_GE(box.left + box.width - 1, right);
    EXPECT_LE(box.bottom, bottom);
    EXPECT_GE(box.bottom + box.height - 1, top);
    EXPECT_GE(box.left, left - 2);
    EXPECT_LE(box.left + box.width - 1, right + 2);
    EXPECT_GE(box.bottom, bottom - 2);
    EXPECT_LE(box.bottom + box.height - 1, top + 2);
}
}  // namespace

TEST(ScreenBox, TheSceneViewAndATurnedOneMapThePlaneByATurnAndAScale) {
    const SpritePlaneView scene = View(kAspect, 0).Plane();
    EXPECT_TRUE(scene.turnAndScale);
    EXPECT_NEAR(scene.pixelsPerUnit, 415.692194, 1e-5);  // 240 / tan(30 degrees)
    EXPECT_NEAR(scene.planeTurn, 0, 1e-12);
    const SpritePlaneView turned = View(kAspect, 0.5).Plane();
    EXPECT_TRUE(turned.turnAndScale);
    EXPECT_NEAR(turned.planeTurn, 0.5, 1e-12);
    EXPECT_FALSE(View(kAspect * 1.7, 0).Plane().turnAndScale);     // stretched unevenly
    EXPECT_FALSE(View(kAspect, 0, 0.2).Plane().turnAndScale);      // tilted away
    EXPECT_FALSE(View(kAspect, 0, kPi / 2).Plane().turnAndScale);  // seen edge on
}

TEST(ScreenBox, HoldsEveryPixelThatReadsTheLevelAndLittleMore) {
    const SpriteQuad quads[] = {
        {0.05, -0.02, 0, 0.03, 0}, {-0.1, 0.08, 0.01, 0.02, 1.1}, {0, 0, -0.05, -0.025, 2.5}};
    for (const double viewTurn : {0.0, 0.4}) {
        for (const SpriteQuad& quad : quads) {
            for (const int level : {1, 128, 200}) {
                SCOPED_TRACE(testing::Message() << "view " << viewTurn << ", quad at " << quad.x
                                                << ", level " << level);
                ExpectBoxFitsTheReadingPixels(View(kAspect, viewTurn), quad, level);
            }
        }
    }
}

TEST(ScreenBox, CutToTheLimitAndTheWholeLimitForAQuadBehindTheEye) {
    const std::vector<unsigned char> rgba = Sprite();
    const SpriteProfile sprite = MeasureSpriteProfile(rgba.data(), kSide, kSide, 0);
    const SpritePlaneView plane = View(kAspect, 0).Plane();
    const ScreenBox limit = {330, 240, 40, 30};
    ScreenBox box;
    ASSERT_TRUE(ParticleScreenBox(plane, sprite, 1, {0, 0, 0, 0.05, 0}, limit, box));
    // The disc lies right of the quad's centre and below it, so it ends inside the limit there.
    EXPECT_EQ(box.left, limit.left);
    EXPECT_EQ(box.bottom, limit.bottom);
    EXPECT_LT(box.left + box.width, limit.left + limit.width);
    EXPECT_LT(box.bottom + box.height, limit.bottom + limit.height);
    EXPECT_FALSE(ParticleScreenBox(plane, sprite, 1, {-0.1, 0, 0, 0.05, 0}, limit, box));
    ASSERT_TRUE(ParticleScreenBox(plane, sprite, 1, {0, 0, 0.7, 0.05, 0}, limit, box));
    EXPECT_EQ(std::vector<int>({box.left, box.bottom, box.width, box.height}),
              std::vector<int>({330, 240, 40, 30}));
    EXPECT_FALSE(ParticleScreenBox(plane, sprite, 1, {0, 0, 0, 0.05, 0}, {0, 0, 0, 0}, box));
}
