// Build-time generator for the two textures Wispra loads at run time, and its desktop icon:
//   font.bmp     - a 16 x 8 grid of 8 x 16 glyph cells for the text overlay
//   smoke128.bmp - a soft, noisy smoke puff sprite for the particles
//   icons/NxN/wispra.png - the icon at 48, 64, 128 and 256 pixels: smoke rising from a cigarette
//                          among stars
//   generated/window_icon_pixels.h - the 64 x 64 icon as C++ source, for the window's icon
// Usage: make_images <output directory> <monospaced font file>
// The output is fully deterministic so rebuilding never changes the files.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <limits>
#include <string>
#include <system_error>

#include "bmp_writer.h"
#include "png_writer.h"

namespace {

constexpr const char* kProgramName = "make_images";
constexpr const char* kFontFileName = "font.bmp";
constexpr const char* kSmokeFileName = "smoke128.bmp";
constexpr const char* kIconFileName = "wispra.png";
constexpr const char* kWindowIconFileName = "window_icon_pixels.h";
constexpr const char* kIconFolder = "icons";           // holds one NxN folder for each size
constexpr const char* kGeneratedFolder = "generated";  // C++ source for the program

constexpr int kMaxByte = 255;

// ---------------------------------------------------------------------------
// Small numeric helpers, so narrowing happens in one visible place.

std::uint8_t ClampToByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, kMaxByte));
}

// Rounds to nearest; anything below one half becomes exactly 0.
std::uint8_t UnitToByte(double unit) {
    const double scaled = std::clamp(unit, 0.0, 1.0) * kMaxByte;
    return ClampToByte(static_cast<int>(std::lround(scaled)));
}

double ByteToUnit(std::uint8_t value) {
    return static_cast<double>(value) / kMaxByte;
}

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

int ToInt(unsigned value) {
    return value > static_cast<unsigned>(kIntMax) ? kIntMax : static_cast<int>(value);
}

int ToInt(long value) {
    return static_cast<int>(std::clamp<long>(value, kIntMin, kIntMax));
}

std::uint32_t ToU32(int value) {
    return static_cast<std::uint32_t>(value);
}

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << kProgramName << ": " << message << '\n';
    std::exit(1);
}

void WriteOrFail(const std::filesystem::path& path, const GreyImage& image) {
    std::string reason;
    if (!WriteGreyBmp(path.string(), image, reason)) {
        Fail("cannot write '" + path.string() + "': " + reason);
    }
}

// ---------------------------------------------------------------------------
// Font sheet.

constexpr int kSheetSize = 128;
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
constexpr int kCellsPerRow = kSheetSize / kCellWidth;  // 16 columns of cells
constexpr int kFirstCode = 32;                         // cell 0 holds the space
constexpr int kFirstDrawnCode = 33;                    // the space stays blank
constexpr int kLastDrawnCode = 126;                    // 127..159 stay blank

// The overlay samples each cell about 1.3 texels right and 1.3 stored rows
// further on, so the first two columns and rows of a cell must stay empty.
constexpr int kBlankLeftColumns = 2;
constexpr int kBlankLeadingRows = 2;
constexpr int kGlyphAreaWidth = kCellWidth - kBlankLeftColumns;    // 6
constexpr int kGlyphAreaHeight = kCellHeight - kBlankLeadingRows;  // 14

// 10 px wide gives DejaVu Sans Mono an advance of exactly 6 px. Rendering 12 px
// tall stretches the glyphs a little to use the tall cell: capitals become 9
// rows, the tallest glyphs reach 10 rows above the baseline and descenders 3
// rows below, 13 rows in all, inside the 14 row area.
constexpr FT_UInt kGlyphPixelWidth = 10;
constexpr FT_UInt kGlyphPixelHeight = 12;

// Cell-relative stored row of the first scanline below the baseline. Three rows
// (13, 14, 15) remain for descenders; tops land on row 3 at the highest.
constexpr int kBaselineRow = 13;

// Tiny anti-aliased glyphs look faint once scaled up; lift the mid-tones and
// gain the coverage so stems read as solid. Zero coverage stays zero.
constexpr double kCoverageGamma = 0.8;
constexpr double kCoverageGain = 1.3;

constexpr int kFreeTypeFixedShift = 6;  // 26.6 fixed point

using CoverageTable = std::array<std::uint8_t, kMaxByte + 1>;

CoverageTable MakeCoverageTable() {
    CoverageTable table{};
    for (int i = 0; i <= kMaxByte; ++i) {
        const double unit = ByteToUnit(ClampToByte(i));
        table[static_cast<std::size_t>(i)] =
            UnitToByte(kCoverageGain * std::pow(unit, kCoverageGamma));
    }
    return table;
}

// FreeType builds often omit their error message table (FT_Error_String then
// returns null), so the few failures likely here are named by hand.
std::string FreeTypeReason(FT_Error error) {
    const char* text = FT_Error_String(error);
    if (text == nullptr) {
        switch (error) {
            case FT_Err_Cannot_Open_Resource:
                text = "cannot open resource";
                break;
            case FT_Err_Unknown_File_Format:
                text = "unknown file format";
                break;
            case FT_Err_Invalid_File_Format:
                text = "broken or invalid font file";
                break;
            case FT_Err_Out_Of_Memory:
                text = "out of memory";
                break;
            default:
                break;
        }
    }
    const std::string code = "FreeType error " + std::to_string(error);
    return text != nullptr ? code + " (" + text + ")" : code;
}

// Owns the FreeType library and face so every exit path releases them.
class FontFace {
  public:
    explicit FontFace(const char* path) {
        // Probe with the C library first: its errno text ("No such file or
        // directory") is clearer than FreeType's generic error code.
        if (std::FILE* probe = std::fopen(path, "rb")) {
            std::fclose(probe);
        } else {
            Fail(std::string("cannot open font '") + path + "': " + std::strerror(errno));
        }
        FT_Error error = FT_Init_FreeType(&library);
        if (error != 0) Fail("cannot initialise FreeType: " + FreeTypeReason(error));
        error = FT_New_Face(library, path, 0, &face);
        if (error != 0) {
            Fail(std::string("cannot open font '") + path + "': " + FreeTypeReason(error));
        }
        error = FT_Set_Pixel_Sizes(face, kGlyphPixelWidth, kGlyphPixelHeight);
        if (error != 0) {
            Fail(std::string("cannot size font '") + path + "': " + FreeTypeReason(error));
        }
    }
    ~FontFace() {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_Face Face() const { return face; }

  private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

struct GlyphBitmap {
    const FT_Bitmap* bitmap = nullptr;
    int left = 0;     // bearing from the pen position
    int top = 0;      // rows above the baseline
    int advance = 0;  // pixels

    int Width() const { return ToInt(bitmap->width); }
    int Rows() const { return ToInt(bitmap->rows); }
    std::uint8_t Coverage(int x, int y) const {
        return bitmap->buffer[static_cast<long>(y) * bitmap->pitch + x];
    }
};

int ColumnInk(const GlyphBitmap& glyph, int column) {
    int sum = 0;
    for (int y = 0; y < glyph.Rows(); ++y) sum += glyph.Coverage(column, y);
    return sum;
}

// Returns the area column of the bitmap's column 0 (may be negative when the
// bitmap is wider than the area and must lose a column or two).
int HorizontalOffset(const GlyphBitmap& glyph) {
    const int slack = kGlyphAreaWidth - glyph.Width();
    if (slack >= 0) {
        // Centre; when the slack is odd, lean the way the font itself placed
        // the glyph inside its advance box.
        const int centred = slack / 2;
        const int fontOffset = glyph.left + (kGlyphAreaWidth - glyph.advance) / 2;
        return (slack % 2 != 0 && fontOffset > centred) ? centred + 1 : centred;
    }
    // Too wide: keep the window holding the most ink, preferring the centre on ties.
    const int excess = -slack;
    int bestStart = excess / 2;
    int bestInk = -1;
    for (int start = 0; start <= excess; ++start) {
        int ink = 0;
        for (int c = start; c < start + kGlyphAreaWidth; ++c) ink += ColumnInk(glyph, c);
        const bool better =
            ink > bestInk ||
            (ink == bestInk && std::abs(start - excess / 2) < std::abs(bestStart - excess / 2));
        if (better) {
            bestInk = ink;
            bestStart = start;
        }
    }
    return -bestStart;
}

void DrawGlyph(GreyImage& sheet, int code, const GlyphBitmap& glyph, const CoverageTable& boost) {
    const int index = code - kFirstCode;
    const int cellX = (index % kCellsPerRow) * kCellWidth;
    const int cellY = (index / kCellsPerRow) * kCellHeight;
    const int areaX = cellX + kBlankLeftColumns;
    const int offsetX = HorizontalOffset(glyph);
    const int glyphTopRow = kBaselineRow - glyph.top;  // cell-relative, top scanline first

    for (int y = 0; y < glyph.Rows(); ++y) {
        const int cellRow = glyphTopRow + y;
        const int areaRow = cellRow - kBlankLeadingRows;
        if (areaRow < 0 || areaRow >= kGlyphAreaHeight) continue;  // clip
        for (int x = 0; x < glyph.Width(); ++x) {
            const int areaColumn = offsetX + x;
            if (areaColumn < 0 || areaColumn >= kGlyphAreaWidth) continue;  // clip
            const std::uint8_t value = boost[glyph.Coverage(x, y)];
            sheet.Set(areaX + areaColumn, cellY + cellRow, value);
        }
    }
}

GreyImage MakeFontSheet(const char* fontPath) {
    GreyImage sheet(kSheetSize, kSheetSize);  // starts all black
    const FontFace font(fontPath);
    const CoverageTable boost = MakeCoverageTable();

    for (int code = kFirstDrawnCode; code <= kLastDrawnCode; ++code) {
        const FT_Error error = FT_Load_Char(font.Face(), ToU32(code), FT_LOAD_RENDER);
        if (error != 0) {
            Fail(std::string("cannot render character ") + std::to_string(code) + " from '" +
                 fontPath + "': " + FreeTypeReason(error));
        }
        const FT_GlyphSlot slot = font.Face()->glyph;
        // Only top-down 8-bit coverage is handled by GlyphBitmap::Coverage.
        if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || slot->bitmap.pitch < 0) {
            Fail(std::string("unexpected bitmap format for character ") + std::to_string(code) +
                 " from '" + fontPath + "'");
        }
        GlyphBitmap glyph;
        glyph.bitmap = &slot->bitmap;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.advance = ToInt(slot->advance.x >> kFreeTypeFixedShift);
        DrawGlyph(sheet, code, glyph, boost);
    }
    return sheet;
}

// ---------------------------------------------------------------------------
// Smoke sprite.

constexpr int kSmokeSize = 128;
constexpr double kSmokeRadius = kSmokeSize / 2.0;
constexpr double kPixelCentre = 0.5;

// Fractal value noise: kNoiseOctaves layers, each twice the frequency and half
// the weight of the previous. The base lattice spacing is in pixels.
constexpr double kNoiseBaseSpacing = 32.0;
constexpr int kNoiseOctaves = 5;
constexpr double kNoiseLacunarity = 2.0;
constexpr double kNoisePersistence = 0.5;
// Each octave is rotated against the previous one so the square lattice does
// not show up as horizontal and vertical streaks.
constexpr double kOctaveRotationRadians = 0.61;

// Independent noise fields are taken from the same hash with different seeds.
constexpr std::uint32_t kSeedDensity = 0x5EED0001u;
constexpr std::uint32_t kSeedWarpX = 0x5EED0002u;
constexpr std::uint32_t kSeedWarpY = 0x5EED0003u;
constexpr std::uint32_t kSeedOutline = 0x5EED0004u;

// Domain warping (sampling the density noise at a position pushed around by
// two other noise fields) turns round blobs into curling wisps.
constexpr double kWarpStrengthPixels = 28.0;
constexpr double kOutlineSpacing = 48.0;  // coarse noise that dents the outline
constexpr double kOutlineWobble = 0.35;   // relative radius change from that noise

// Radial profile and shading.
constexpr double kFalloffPower = 1.4;  // higher keeps the density nearer the centre
constexpr double kNoiseMidpoint = 0.5;
constexpr double kBodyDensity = 0.4;  // density kept even where the noise is lowest
constexpr double kNoiseLow = 0.3;     // noise values mapped smoothly onto 0..1 density
constexpr double kNoiseHigh = 0.75;
constexpr double kPeakBrightness = 0.9;  // of full white, at the densest point
constexpr double kEdgeFadeStart = 0.7;   // fraction of the radius where the forced fade starts

// Integer hash of a lattice point; a xor-shift/multiply mixer so neighbouring
// lattice points get unrelated values.
std::uint32_t HashLattice(int x, int y, std::uint32_t seed) {
    constexpr std::uint32_t kMulX = 0x9E3779B1u;
    constexpr std::uint32_t kMulY = 0x85EBCA77u;
    constexpr std::uint32_t kMix1 = 0x7FEB352Du;
    constexpr std::uint32_t kMix2 = 0x846CA68Bu;
    constexpr unsigned kShift1 = 16;
    constexpr unsigned kShift2 = 15;
    std::uint32_t h = seed;
    h ^= ToU32(x) * kMulX;
    h ^= ToU32(y) * kMulY;
    h ^= h >> kShift1;
    h *= kMix1;
    h ^= h >> kShift2;
    h *= kMix2;
    h ^= h >> kShift1;
    return h;
}

double LatticeValue(int x, int y, std::uint32_t seed) {
    constexpr double kHashRange = 4294967295.0;  // 2^32 - 1
    return static_cast<double>(HashLattice(x, y, seed)) / kHashRange;
}

double SmoothStep(double t) {
    return t * t * (3.0 - 2.0 * t);
}

double SmoothStep(double edge0, double edge1, double x) {
    return SmoothStep(std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0));
}

double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

int FloorToInt(double value) {
    return static_cast<int>(std::floor(value));
}

// Value noise in [0, 1], smoothly interpolated between lattice points.
double ValueNoise(double x, double y, std::uint32_t seed) {
    const int x0 = FloorToInt(x);
    const int y0 = FloorToInt(y);
    const double tx = SmoothStep(x - x0);
    const double ty = SmoothStep(y - y0);
    const double top = Lerp(LatticeValue(x0, y0, seed), LatticeValue(x0 + 1, y0, seed), tx);
    const double bottom =
        Lerp(LatticeValue(x0, y0 + 1, seed), LatticeValue(x0 + 1, y0 + 1, seed), tx);
    return Lerp(top, bottom, ty);
}

// Fractal sum of octaves, normalised back to [0, 1]. Each octave gets its own
// seed so the layers do not line up on shared lattice points.
double FractalNoise(double x, double y, double spacing, std::uint32_t seed) {
    double sum = 0.0;
    double weightSum = 0.0;
    double weight = 1.0;
    double frequency = 1.0 / spacing;
    const double cosStep = std::cos(kOctaveRotationRadians);
    const double sinStep = std::sin(kOctaveRotationRadians);
    double u = x;
    double v = y;
    for (int octave = 0; octave < kNoiseOctaves; ++octave) {
        sum += weight * ValueNoise(u * frequency, v * frequency, seed + ToU32(octave));
        const double rotatedU = cosStep * u - sinStep * v;
        v = sinStep * u + cosStep * v;
        u = rotatedU;
        weightSum += weight;
        weight *= kNoisePersistence;
        frequency *= kNoiseLacunarity;
    }
    return sum / weightSum;
}

double SmokeDensity(double px, double py, double radiusFraction) {
    const double warpX = (FractalNoise(px, py, kNoiseBaseSpacing, kSeedWarpX) - kNoiseMidpoint) *
                         2.0 * kWarpStrengthPixels;
    const double warpY = (FractalNoise(px, py, kNoiseBaseSpacing, kSeedWarpY) - kNoiseMidpoint) *
                         2.0 * kWarpStrengthPixels;
    const double noise = FractalNoise(px + warpX, py + warpY, kNoiseBaseSpacing, kSeedDensity);

    const double outline = FractalNoise(px, py, kOutlineSpacing, kSeedOutline);
    const double dentedRadius =
        radiusFraction * (1.0 + kOutlineWobble * 2.0 * (outline - kNoiseMidpoint));
    const double falloff =
        std::pow(std::max(0.0, 1.0 - dentedRadius * dentedRadius), kFalloffPower);

    const double modulation = Lerp(kBodyDensity, 1.0, SmoothStep(kNoiseLow, kNoiseHigh, noise));
    // Whatever the noise does, the sprite fades to nothing at the inscribed circle.
    const double edgeFade = 1.0 - SmoothStep(kEdgeFadeStart, 1.0, radiusFraction);
    return kPeakBrightness * falloff * modulation * edgeFade;
}

GreyImage MakeSmoke() {
    GreyImage smoke(kSmokeSize, kSmokeSize);
    for (int y = 0; y < kSmokeSize; ++y) {
        for (int x = 0; x < kSmokeSize; ++x) {
            const double px = x + kPixelCentre;
            const double py = y + kPixelCentre;
            const double distance = std::hypot(px - kSmokeRadius, py - kSmokeRadius);
            if (distance > kSmokeRadius) continue;  // outside the circle: stays black
            smoke.Set(x, y, UnitToByte(SmokeDensity(px, py, distance / kSmokeRadius)));
        }
    }
    return smoke;
}

// ---------------------------------------------------------------------------
// Icon.
//
// The icon is drawn as a picture on a 128-unit square and sampled at each size the desktop asks
// for, with kIconSamples x kIconSamples samples a pixel, so that every size is drawn, not scaled.

constexpr int kIconUnits = 128;  // side of the square the icon is drawn on
constexpr std::array<int, 4> kIconSizes = {48, 64, 128, 256};  // pixels, one PNG each
constexpr int kWindowIconSize = 64;   // pixels, the icon the window carries for taskbars
constexpr int kIconSamples = 4;       // per pixel and axis
constexpr double kIconCorner = 22.0;  // radius of the rounded square's corners, units
constexpr std::array<double, 3> kIconBackground = {0.04, 0.05, 0.10};
constexpr int kIconStars = 40;
constexpr std::uint32_t kSeedStars = 0x5EED0005u;

// The cigarette: a bar across the lower part, its lit end on the left under the smoke.
constexpr double kBarLeft = 22;
constexpr double kBarRight = 108;
constexpr double kBarTop = 94;
constexpr double kBarBottom = 104;
constexpr double kEmberWidth = 7;
constexpr double kFilterWidth = 24;
constexpr std::array<double, 3> kPaper = {0.93, 0.93, 0.90};
constexpr std::array<double, 3> kFilter = {0.85, 0.60, 0.35};
constexpr std::array<double, 3> kEmber = {1.0, 0.38, 0.10};

// The smoke sprite, scaled onto a square that rises from the lit end.
constexpr double kPlumeLeft = 2;
constexpr double kPlumeTop = 6;
constexpr double kPlumeSize = 92;
constexpr double kPlumeGain = 1.4;
constexpr std::array<double, 3> kPlumeColour = {0.85, 0.88, 0.95};

using Colour = std::array<double, 3>;

// Whether the point lies inside the rounded square.
bool InsideRoundedSquare(double u, double v) {
    const double inner = kIconUnits / 2.0 - kIconCorner;
    const double du = std::max(0.0, std::abs(u - kIconUnits / 2.0) - inner);
    const double dv = std::max(0.0, std::abs(v - kIconUnits / 2.0) - inner);
    return std::hypot(du, dv) <= kIconCorner;
}

Colour Mix(const Colour& under, const Colour& over, double opacity) {
    Colour mixed{};
    for (size_t c = 0; c < mixed.size(); ++c)
        mixed[c] = Lerp(under[c], over[c], std::clamp(opacity, 0.0, 1.0));
    return mixed;
}

// The smoke sprite's brightness at a point of its own pixel grid, filtered between pixels.
double SmokeAt(const GreyImage& smoke, double x, double y) {
    const double fx = std::clamp(x - kPixelCentre, 0.0, kSmokeSize - 1.0);
    const double fy = std::clamp(y - kPixelCentre, 0.0, kSmokeSize - 1.0);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const int x1 = std::min(x0 + 1, kSmokeSize - 1), y1 = std::min(y0 + 1, kSmokeSize - 1);
    const double tx = fx - x0, ty = fy - y0;
    const double top = Lerp(ByteToUnit(smoke.At(x0, y0)), ByteToUnit(smoke.At(x1, y0)), tx);
    const double bottom = Lerp(ByteToUnit(smoke.At(x0, y1)), ByteToUnit(smoke.At(x1, y1)), tx);
    return Lerp(top, bottom, ty);
}

// The picture's colour at a point inside the rounded square, in units from the top left.
Colour IconColourAt(const GreyImage& smoke, double u, double v) {
    Colour colour = kIconBackground;
    const int cellU = static_cast<int>(u), cellV = static_cast<int>(v);
    for (int i = 0; i < kIconStars; ++i) {
        if (static_cast<int>(HashLattice(i, 0, kSeedStars) % kIconUnits) == cellU &&
            static_cast<int>(HashLattice(i, 1, kSeedStars) % kIconUnits) == cellV)
            colour = Mix(colour, {1.0, 1.0, 1.0}, LatticeValue(i, 2, kSeedStars));
    }
    if (u >= kPlumeLeft && u < kPlumeLeft + kPlumeSize && v >= kPlumeTop &&
        v < kPlumeTop + kPlumeSize) {
        const double scale = kSmokeSize / kPlumeSize;
        const double density = SmokeAt(smoke, (u - kPlumeLeft) * scale, (v - kPlumeTop) * scale);
        colour = Mix(colour, kPlumeColour, kPlumeGain * density);
    }
    if (u >= kBarLeft && u < kBarRight && v >= kBarTop && v < kBarBottom) {
        const bool ember = u < kBarLeft + kEmberWidth;
        const bool filter = u >= kBarRight - kFilterWidth;
        colour = ember ? kEmber : filter ? kFilter : kPaper;
    }
    return colour;
}

// The icon at `size` x `size` pixels: each pixel the mean of its samples, the colour weighted by
// coverage so that the soft edge does not darken.
RgbaImage MakeIcon(const GreyImage& smoke, int size) {
    RgbaImage icon(size, size);
    const double unitsPerSample = static_cast<double>(kIconUnits) / (size * kIconSamples);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Colour sum{};
            int covered = 0;
            for (int sy = 0; sy < kIconSamples; ++sy) {
                for (int sx = 0; sx < kIconSamples; ++sx) {
                    const double u = ((x * kIconSamples + sx) + kPixelCentre) * unitsPerSample;
                    const double v = ((y * kIconSamples + sy) + kPixelCentre) * unitsPerSample;
                    if (!InsideRoundedSquare(u, v)) continue;
                    const Colour colour = IconColourAt(smoke, u, v);
                    for (size_t c = 0; c < sum.size(); ++c) sum[c] += colour[c];
                    ++covered;
                }
            }
            std::uint8_t* pixel = icon.At(x, y);
            for (size_t c = 0; c < sum.size(); ++c)
                pixel[c] = covered == 0 ? 0 : UnitToByte(sum[c] / covered);
            pixel[3] = UnitToByte(static_cast<double>(covered) / (kIconSamples * kIconSamples));
        }
    }
    return icon;
}

// The window's icon as C++ source: one 0xAARRGGBB value a pixel, top row first, the layout that
// the _NET_WM_ICON window property takes.
bool WriteWindowIconSource(const std::filesystem::path& path, RgbaImage& icon,
                           std::string& errorReason) {
    std::FILE* file = std::fopen(path.string().c_str(), "w");
    if (file == nullptr) {
        errorReason = std::strerror(errno);
        return false;
    }
    std::fprintf(file,
                 "// Generated by make_images: the window's icon, one 0xAARRGGBB value a pixel,\n"
                 "// top row first.\n#pragma once\n\n#include <cstdint>\n\n"
                 "constexpr int kWindowIconSide = %d;\n"
                 "constexpr uint32_t kWindowIconPixels[kWindowIconSide * kWindowIconSide] = {",
                 icon.width);
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            const std::uint8_t* p = icon.At(x, y);
            const unsigned long argb = static_cast<unsigned long>(p[3]) << 24 |
                                       static_cast<unsigned long>(p[0]) << 16 |
                                       static_cast<unsigned long>(p[1]) << 8 | p[2];
            std::fprintf(file, "%s0x%08lxu,", x % 8 == 0 ? "\n    " : " ", argb);
        }
    }
    std::fprintf(file, "\n};\n");
    const bool written = std::ferror(file) == 0;
    if (std::fclose(file) != 0 || !written) {
        errorReason = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("usage: make_images <output directory> <monospaced font file>");
    const std::filesystem::path outputDirectory(argv[1]);

    std::error_code error;
    std::filesystem::create_directories(outputDirectory, error);
    if (error) {
        Fail("cannot create directory '" + outputDirectory.string() + "': " + error.message());
    }

    WriteOrFail(outputDirectory / kFontFileName, MakeFontSheet(argv[2]));
    const GreyImage smoke = MakeSmoke();
    WriteOrFail(outputDirectory / kSmokeFileName, smoke);
    std::string reason;
    for (const int size : kIconSizes) {
        const std::filesystem::path icon = outputDirectory / kIconFolder /
                                           (std::to_string(size) + "x" + std::to_string(size)) /
                                           kIconFileName;
        std::filesystem::create_directories(icon.parent_path(), error);
        if (error || !WriteRgbaPng(icon.string(), MakeIcon(smoke, size), reason))
            Fail("cannot write '" + icon.string() + "': " + (error ? error.message() : reason));
    }
    const std::filesystem::path source = outputDirectory / kGeneratedFolder / kWindowIconFileName;
    std::filesystem::create_directories(source.parent_path(), error);
    RgbaImage windowIcon = MakeIcon(smoke, kWindowIconSize);
    if (error || !WriteWindowIconSource(source, windowIcon, reason))
        Fail("cannot write '" + source.string() + "': " + (error ? error.message() : reason));
    return 0;
}
