#include "model/raster_surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tesvid {
namespace {

constexpr Rgb kGrey{192, 192, 192};
constexpr Rgb kYellow{255, 255, 0};

// The 400 x 400 drawing area at a 50 grid: pen width 8, node (i, j) at pixel (8i, 8j).
RasterSurface GridArea(int gridSize = 50) {
    RasterSurface s(400, 400);
    s.SetScale(gridSize, gridSize);
    s.SetPenWidth(400 / gridSize);
    s.SetBackColor(kGrey);
    s.Clear();
    return s;
}

std::vector<std::uint32_t> Copy(const RasterSurface& s) {
    return {s.Pixels(), s.Pixels() + s.WidthPixels() * s.HeightPixels()};
}

int CountPixels(const RasterSurface& s, Rgb c) {
    int n = 0;
    for (int y = 0; y < s.HeightPixels(); ++y) {
        for (int x = 0; x < s.WidthPixels(); ++x) {
            n += s.PixelAt(x, y) == c ? 1 : 0;
        }
    }
    return n;
}

TEST(RasterSurface, UserScaleMapsNodesOntoPenWidthMultiples) {
    for (int n : {50, 100, 200, 400}) {
        RasterSurface s = GridArea(n);
        const int w = 400 / n;
        for (int i : {0, 1, n / 2, n - 1}) {
            EXPECT_DOUBLE_EQ(s.ToPixelX(i), i * w);
            EXPECT_DOUBLE_EQ(s.ToPixelY(i), i * w);
        }
    }
}

TEST(RasterSurface, DotCoversItsNodeAndNoOtherNode) {
    RasterSurface s = GridArea();
    s.SetPoint(10, 20, kYellow);
    EXPECT_EQ(CountPixels(s, kYellow), 64);
    for (int i = 8; i <= 12; ++i) {
        for (int j = 18; j <= 22; ++j) {
            const bool own = i == 10 && j == 20;
            EXPECT_EQ(s.ReadPoint(i, j) == kYellow, own) << i << "," << j;
        }
    }
    // The footprint is the 8 x 8 square p - 4 .. p + 3 around the node's pixel.
    EXPECT_EQ(s.PixelAt(76, 156), kYellow);
    EXPECT_EQ(s.PixelAt(83, 163), kYellow);
    EXPECT_EQ(s.PixelAt(84, 160), kGrey);
    EXPECT_EQ(s.PixelAt(75, 160), kGrey);
}

TEST(RasterSurface, ReadBackIsExactAndOffTheAreaHasNoColour) {
    RasterSurface s = GridArea();
    const Rgb odd{1, 254, 127};
    s.SetPoint(3, 4, odd);
    EXPECT_EQ(s.ReadPoint(3, 4), odd);
    EXPECT_EQ(s.ReadPoint(0, 0), kGrey);
    EXPECT_FALSE(s.ReadPoint(-1, 0).has_value());
    EXPECT_FALSE(s.ReadPoint(0, 50).has_value());  // pixel 400 lies past the last one
    EXPECT_TRUE(s.ReadPoint(49, 49).has_value());
}

TEST(RasterSurface, InvertedFiguresRestoreThePictureWhenDrawnTwice) {
    RasterSurface s = GridArea();
    // A picture with some structure under the figures.
    s.FilledBox(5, 5, 30, 12, kYellow);
    s.SetPoint(20, 20, Rgb{0, 0, 0});
    const auto before = Copy(s);
    s.SetDrawMode(DrawMode::Invert);
    struct Figure {
        double x1, y1, x2, y2;
    };
    for (Figure f : {Figure{2, 3, 40, 17}, Figure{10, 10, 10, 10}, Figure{45, 2, 3, 44},
                     Figure{-20, 25, 70, 26}, Figure{0, 0, 49, 49}}) {
        s.Line(f.x1, f.y1, f.x2, f.y2, kYellow);
        EXPECT_NE(Copy(s), before);
        s.Line(f.x1, f.y1, f.x2, f.y2, kYellow);
        EXPECT_EQ(Copy(s), before) << "line " << f.x1 << "," << f.y1 << "-" << f.x2 << "," << f.y2;
        s.BoxOutline(f.x1, f.y1, f.x2, f.y2, kYellow);
        s.BoxOutline(f.x1, f.y1, f.x2, f.y2, kYellow);
        EXPECT_EQ(Copy(s), before) << "box " << f.x1 << "," << f.y1 << "-" << f.x2 << "," << f.y2;
    }
}

TEST(RasterSurface, InvertModeInvertsEveryFootprintPixelOnce) {
    RasterSurface s = GridArea();
    s.SetDrawMode(DrawMode::Invert);
    // A thick diagonal overlaps its own stamps many times; each pixel must flip exactly once.
    s.Line(2, 2, 30, 17, kYellow);
    const Rgb inverted = kGrey.Inverted();
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            const Rgb p = s.PixelAt(x, y);
            ASSERT_TRUE(p == kGrey || p == inverted) << x << "," << y;
        }
    }
    // A box outline of pen width 8: the edge bands meet at the corners without double flips.
    RasterSurface b = GridArea();
    b.SetDrawMode(DrawMode::Invert);
    b.BoxOutline(10, 10, 20, 15, kYellow);
    EXPECT_EQ(b.PixelAt(76, 76), inverted);    // corner
    EXPECT_EQ(b.PixelAt(163, 123), inverted);  // opposite corner
    EXPECT_EQ(b.PixelAt(120, 100), kGrey);     // inside
    EXPECT_EQ(CountPixels(b, inverted), 2 * 88 * 8 + 2 * (48 - 16) * 8);
}

TEST(RasterSurface, FilledBoxCoversTheNodesOfItsCornersInclusive) {
    RasterSurface s = GridArea();
    s.FilledBox(12, 7, 9, 11, kYellow);  // corners in any order
    for (int i = 5; i <= 16; ++i) {
        for (int j = 3; j <= 15; ++j) {
            const bool inside = i >= 9 && i <= 12 && j >= 7 && j <= 11;
            EXPECT_EQ(s.ReadPoint(i, j) == kYellow, inside) << i << "," << j;
        }
    }
    EXPECT_EQ(CountPixels(s, kYellow), 4 * 8 * 5 * 8);
}

TEST(RasterSurface, FiguresFarOffTheAreaAreClippedNotDistorted) {
    RasterSurface s = GridArea();
    // A line from far outside: its visible part follows y = x / 2 exactly as a short one does.
    s.Line(-100000, -50000, 40, 20, kYellow);
    RasterSurface t = GridArea();
    t.Line(0, 0, 40, 20, kYellow);
    for (int i = 0; i <= 40; ++i) {
        for (int j = 0; j <= 49; ++j) {
            EXPECT_EQ(s.ReadPoint(i, j) == kYellow, t.ReadPoint(i, j) == kYellow) << i << "," << j;
        }
    }
    // Entirely outside, or not a number: nothing drawn, nothing read.
    RasterSurface u = GridArea();
    const auto before = Copy(u);
    u.Line(-5000, 3, -4000, 9, kYellow);
    u.Line(1e300, 0, 2e300, 5, kYellow);
    u.FilledBox(60, 60, 1e12, 1e12, kYellow);
    u.SetPoint(-1e30, 2, kYellow);
    EXPECT_EQ(Copy(u), before);
    // A box dragged past the edge keeps its inside part.
    u.FilledBox(45, 45, 1e9, 60, kYellow);
    EXPECT_EQ(u.ReadPoint(49, 49), kYellow);
    EXPECT_EQ(u.ReadPoint(44, 49), kGrey);
}

TEST(RasterSurface, ClearFillsWithTheBackgroundColour) {
    RasterSurface s = GridArea();
    s.FilledBox(0, 0, 49, 49, kYellow);
    s.SetBackColor(Rgb{1, 2, 3});
    s.Clear();
    EXPECT_EQ(CountPixels(s, Rgb{1, 2, 3}), 400 * 400);
}

}  // namespace
}  // namespace tesvid
