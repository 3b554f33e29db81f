// The sprite's reach by alpha level: measured from texels alone, it must hold every point where a
// linear sample can read a texel of that alpha, whichever way the sprite is turned.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "motion/random.h"
#include "particles/sprite_profile.h"

namespace {
constexpr double kPi = 3.141592653589793;

size_t Count(int n) {
    return static_cast<size_t>(n);
}

struct Image {
    int width, height;
    std::vector<unsigned char> rgba;
    size_t Offset(int x, int y) const { return (Count(y) * Count(width) + Count(x)) * 4; }
    int Alpha(int x, int y) const {  // with repeat, as the sprite texture wraps
        return rgba[Offset((x % width + width) % width, (y % height + height) % height) + 3];
    }
    void Set(int x, int y, int alpha) {
        unsigned char* t = &rgba[Offset(x, y)];
        t[0] = t[1] = t[2] = t[3] = static_cast<unsigned char>(alpha);
    }
};

Image Blank(int width, int height) {
    return {width, height, std::vector<unsigned char>(Count(width) * Count(height) * 4)};
}

// A soft blob with noise and a dented outline, like the smoke sprite, from the seeded generator.
Image NoisyBlob(int width, int height) {
    Image image = Blank(width, height);
    SeedRandom(7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5) / width - 0.4, dy = (y + 0.5) / height - 0.55;
            const double fall = std::max(0.0, 1.0 - 2.2 * std::hypot(dx * 1.3, dy));
            image.Set(x, y, static_cast<int>(255 * fall * (0.4 + RandomUpTo(0.6))));
        }
    }
    return image;
}

SpriteProfile Measure(const Image& image, int borderAlpha = 0) {
    return MeasureSpriteProfile(image.rgba.data(), image.width, image.height, borderAlpha);
}

// The brightest texel a linear sample at (s, t) reads.
int BrightestRead(const Image& image, double s, double t) {
    const int x = static_cast<int>(std::floor(s * image.width - 0.5));
    const int y = static_cast<int>(std::floor(t * image.height - 0.5));
    return std::max({image.Alpha(x, y), image.Alpha(x + 1, y), image.Alpha(x, y + 1),
                     image.Alpha(x + 1, y + 1)});
}

// Every sample point of the quad, on a grid four times finer than the texels, that reads a texel
// of `level` or more lies inside the box for `turn`. Returns the points checked that read one.
int ExpectBoxHoldsEveryReadingPoint(const Image& image, const SpriteProfile& profile, int level,
                                    double turn) {
    double sides[4];
    const bool any = SpriteBox(profile, level, turn, sides);
    int reading = 0;
    const int steps = 4 * std::max(image.width, image.height);
    for (int j = 0; j <= steps; ++j) {
        for (int i = 0; i <= steps; ++i) {
            const double s = i / static_cast<double>(steps), t = j / static_cast<double>(steps);
            if (BrightestRead(image, s, t) < level) continue;
            ++reading;
            EXPECT_TRUE(any) << "level " << level << " has no box but (" << s << ", " << t
                             << ") reads it";
            if (!any) return reading;
            // The point as it lies on the screen once the sprite is turned.
            const double x = (s - 0.5) * std::cos(turn) - (t - 0.5) * std::sin(turn);
            const double y = (s - 0.5) * std::sin(turn) + (t - 0.5) * std::cos(turn);
            const double slack = 1e-6;
            EXPECT_TRUE(x <= sides[0] + slack && y <= sides[1] + slack && -x <= sides[2] + slack &&
                        -y <= sides[3] + slack)
                << "level " << level << ", turn " << turn << ": (" << s << ", " << t
                << ") lies outside the box";
        }
    }
    return reading;
}
}  // namespace

TEST(SpriteProfile, BoxHoldsEveryPointThatCanReadTheLevelAtAnyTurn) {
    for (const Image& image : {NoisyBlob(32, 32), NoisyBlob(24, 16)}) {
        const SpriteProfile profile = Measure(image);
        ASSERT_TRUE(profile.trusted);
        for (int level : {1, 20, 60, 120, 180, 230}) {
            for (double turn : {0.0, 0.3, 1.0, kPi / 2, 2.5, -0.7, 4.0}) {
                ExpectBoxHoldsEveryReadingPoint(image, profile, level, turn);
            }
        }
        for (int v = 1; v < kAlphaLevels; ++v) EXPECT_LE(profile.reach[v], profile.reach[v - 1]);
    }
}

TEST(SpriteProfile, OneBrightTexelGivesATightBoxThatTurnsWithTheSprite) {
    Image image = Blank(16, 16);
    image.Set(12, 8, 200);  // right of the centre, on the middle row
    const SpriteProfile profile = Measure(image);
    // Its samples lie within a texel of its centre (12.5, 8.5) / 16 along each axis.
    const double centre = 12.5 / 16 - 0.5, texel = 1.0 / 16;
    EXPECT_NEAR(profile.reach[200], std::hypot(centre, texel / 2) + std::hypot(texel, texel), 1e-6);
    EXPECT_LT(profile.reach[201], 0.0);
    double sides[4];
    EXPECT_FALSE(SpriteBox(profile, 201, 0, sides));
    ASSERT_TRUE(SpriteBox(profile, 200, 0, sides));
    const double tolerance = 0.01;                         // the blend between sampled directions
    EXPECT_NEAR(sides[0], centre + texel, tolerance);      // right
    EXPECT_NEAR(sides[2], -(centre - texel), tolerance);   // left: the box starts right of centre
    EXPECT_NEAR(sides[1], texel / 2 + texel, tolerance);   // up
    EXPECT_NEAR(sides[3], -texel / 2 + texel, tolerance);  // down
    ASSERT_TRUE(SpriteBox(profile, 200, kPi / 2, sides));  // a quarter turn: now above the centre
    EXPECT_NEAR(sides[1], centre + texel, tolerance);
    EXPECT_NEAR(sides[3], -(centre - texel), tolerance);
    EXPECT_EQ(ExpectBoxHoldsEveryReadingPoint(image, profile, 200, kPi / 2) > 0, true);
}

TEST(SpriteProfile, EdgesReadTheOppositeEdgeTheSameEdgeAndTheBorder) {
    Image image = Blank(16, 16);
    image.Set(0, 3, 90);  // on the left edge: repeat reads it at the right edge too
    SpriteProfile profile = Measure(image);
    double sides[4];
    ASSERT_TRUE(SpriteBox(profile, 90, 0, sides));
    EXPECT_GE(sides[0], 0.5);  // reaches the right edge of the quad
    ExpectBoxHoldsEveryReadingPoint(image, profile, 90, 0.4);

    // A border alpha reaches every edge, even of a black image.
    profile = Measure(Blank(16, 16), 120);
    ASSERT_TRUE(profile.trusted);
    ASSERT_TRUE(SpriteBox(profile, 120, 0, sides));
    for (double side : sides) EXPECT_GE(side, 0.5);
    EXPECT_FALSE(SpriteBox(profile, 121, 0, sides));
}

TEST(SpriteProfile, ChannelPerAlphaBoundsEveryTexelsColourByItsAlpha) {
    Image image = NoisyBlob(8, 8);
    EXPECT_EQ(Measure(image).channelPerAlpha, 1.0f);  // grey: alpha is the brightness
    unsigned char* t = &image.rgba[image.Offset(3, 4)];
    t[0] = 255, t[1] = t[2] = 0, t[3] = 85;  // pure red, alpha its mean
    EXPECT_EQ(Measure(image).channelPerAlpha, 3.0f);
    t[0] = 2, t[3] = 0;  // colour without alpha: no ratio holds
    EXPECT_EQ(Measure(image).channelPerAlpha, 0.0f);
}

TEST(SpriteProfile, NothingToMeasureIsNotTrusted) {
    const unsigned char texel[4] = {255, 255, 255, 255};
    double sides[4];
    for (const SpriteProfile& profile :
         {MeasureSpriteProfile(nullptr, 4, 4, 0), MeasureSpriteProfile(texel, 0, 1, 0),
          MeasureSpriteProfile(texel, 1, -1, 0), SpriteProfile()}) {
        EXPECT_FALSE(profile.trusted);
        EXPECT_FALSE(SpriteBox(profile, 1, 0, sides));
    }
    const SpriteProfile one = MeasureSpriteProfile(texel, 1, 1, 0);
    ASSERT_TRUE(one.trusted && SpriteBox(one, 255, 0, sides));
    for (double side : sides) EXPECT_GE(side, 0.5);  // a single white texel fills the quad
}
