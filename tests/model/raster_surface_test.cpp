#include "model/raster_surface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tesvid {
namespace {

constexpr Rgb kGrey{192, 192, 192};
constexpr Rgb kYellow{255, 255, 0};

// The 400 x 400 drawing area of a 50 grid: pen width 8, node (i, j) at pixel (8i, 8j).
RasterSurface GridArea() {
    RasterSurface s(400, 400);
    s.SetScale(50, 50);
    s.SetPenWidth(8);
    s.SetBackColor(kGrey);
    s.Clear();
    return s;
}

std::vector<std::uint32_t> Pixels(const RasterSurface& s) {
    return {s.Pixels(), s.Pixels() + 400 * 400};
}
long Count(const RasterSurface& s, Rgb c) {
    return std::count(s.Pixels(), s.Pixels() + 400 * 400, c.Packed());
}

TEST(RasterSurface, DotsAndBoxesCoverTheirNodesAndNoOthers) {
    RasterSurface s = GridArea();
    const Rgb odd{1, 254, 127};
    s.SetPoint(10, 20, odd);
    EXPECT_EQ(Count(s, odd), 64);  // the 8 x 8 square p - 4 .. p + 3 around the node's pixel
    EXPECT_EQ(s.PixelAt(76, 156), odd);
    EXPECT_EQ(s.PixelAt(83, 163), odd);
    s.FilledBox(12, 7, 9, 11, kYellow);  // corners in any order, both inclusive
    for (int i = 5; i <= 16; ++i) {
        for (int j = 3; j <= 22; ++j) {
            const Rgb expected = i >= 9 && i <= 12 && j >= 7 && j <= 11 ? kYellow
                                 : i == 10 && j == 20                   ? odd
                                                                        : kGrey;
            EXPECT_EQ(s.ReadPoint(i, j), expected) << i << "," << j;
        }
    }
    EXPECT_EQ(Count(s, kYellow), 4 * 8 * 5 * 8);
    EXPECT_FALSE(s.ReadPoint(-1, 0).has_value());
    EXPECT_FALSE(s.ReadPoint(0, 50).has_value());  // pixel 400 lies past the last one
    // A pen narrower than a pixel is one pixel wide.
    s.SetPenWidth(0);
    EXPECT_EQ(s.PenWidth(), 1);
    s.SetPoint(30, 30, odd);
    EXPECT_EQ(Count(s, odd), 65);
}

TEST(RasterSurface, InvertedFiguresFlipEachPixelOnceAndRestoreWhenDrawnTwice) {
    RasterSurface s = GridArea();
    s.FilledBox(5, 5, 30, 12, kYellow);
    const auto before = Pixels(s);
    s.SetDrawMode(DrawMode::Invert);
    for (const auto& [x1, y1, x2, y2] : {std::tuple{2.0, 3.0, 40.0, 17.0},
                                         {10.0, 10.0, 10.0, 10.0},
                                         {45.0, 2.0, 3.0, 44.0},
                                         {-20.0, 25.0, 70.0, 26.0}}) {
        s.Line(x1, y1, x2, y2, kYellow);
        const auto once = Pixels(s);
        for (std::size_t k = 0; k < once.size(); ++k) {
            const Rgb was = Rgb::FromPacked(before[k]), now = Rgb::FromPacked(once[k]);
            ASSERT_TRUE(now == was || now == was.Inverted()) << k;
        }
        EXPECT_NE(once, before);
        s.Line(x1, y1, x2, y2, kYellow);
        EXPECT_EQ(Pixels(s), before) << x1 << "," << y1 << "-" << x2 << "," << y2;
        s.BoxOutline(x1, y1, x2, y2, kYellow);
        s.BoxOutline(x1, y1, x2, y2, kYellow);
        EXPECT_EQ(Pixels(s), before);
    }
    RasterSurface b = GridArea();  // the edge bands of a box meet at the corners once
    b.SetDrawMode(DrawMode::Invert);
    b.BoxOutline(10, 10, 20, 15, kYellow);
    EXPECT_EQ(Count(b, kGrey.Inverted()), 2 * 88 * 8 + 2 * (48 - 16) * 8);
}

TEST(RasterSurface, FiguresFarOffTheAreaAreClippedNotDistorted) {
    RasterSurface s = GridArea(), t = GridArea();
    s.Line(-100000, -50000, 40, 20, kYellow);  // the visible part follows y = x / 2
    t.Line(0, 0, 40, 20, kYellow);
    EXPECT_EQ(Pixels(s), Pixels(t));
    RasterSurface u = GridArea();
    u.Line(-5000, 3, -4000, 9, kYellow);
    u.Line(1e300, 0, 2e300, 5, kYellow);
    u.FilledBox(60, 60, 1e12, 1e12, kYellow);
    u.SetPoint(-1e30, 2, kYellow);
    u.SetPoint(NAN, 2, kYellow);
    EXPECT_EQ(Count(u, kGrey), 400 * 400);
    u.FilledBox(45, 45, 1e9, 60, kYellow);  // a box dragged past the edge keeps its inside
    EXPECT_EQ(u.ReadPoint(49, 49), kYellow);
    EXPECT_EQ(u.ReadPoint(44, 49), kGrey);
}

}  // namespace
}  // namespace tesvid
