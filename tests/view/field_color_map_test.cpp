#include <gtest/gtest.h>

#include <cmath>

#include "recording_surface.h"
#include "view/color_ramp.h"
#include "view/field_color_map.h"
#include "view/potential_view.h"
#include "view_test_model.h"

namespace tesvid {
namespace {

using testing::MakeViewModel;
using testing::RecordingSurface;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

struct ResultPictures {
    explicit ResultPictures(int n) : picture1(400, 400), picture3(57, 400) {
        picture1.SetScale(n, n);
        picture3.SetScale(10, 400);
    }
    RecordingSurface picture1;
    RecordingSurface picture3;
};

TEST(ColorRamp, RunsFromBlackThroughBlueAndMagentaToWhiteWithTiesToEven) {
    EXPECT_EQ(RampColor(0), kBlack);
    // 1.5 * 3 = 4.5 rounds to 4, 3 * 4.5 = 13.5 rounds to 14.
    EXPECT_EQ(RampColor(3), (Rgb{4, 3, 14}));
    // 2.5 rounds to 2; 3.75 and 11.25 round to the nearest.
    EXPECT_EQ(RampColor(2.5), (Rgb{4, 2, 11}));
    EXPECT_EQ(RampColor(57), (Rgb{86, 57, 255}));     // blue saturated first
    EXPECT_EQ(RampColor(170), (Rgb{255, 170, 255}));  // then red
    EXPECT_EQ(RampColor(60 * std::log(101.0)), kWhite);
    EXPECT_EQ(RampColor(1e9), kWhite);
    EXPECT_EQ(RampColor(std::nan("")), kBlack);
}

TEST(FieldColorMap, PaintsEachNodeWithTheLevelOfItsFieldAndRecordsTheLineColour) {
    const int n = 50;
    Model m = MakeViewModel(n);
    m.field.B(10, 10) = 2.0f;
    m.field.B(20, 20) = 1.0f;  // half of the maximum: level 60 ln 51
    m.field.B(30, 30) = 0.0002f;
    ResultPictures p(n);
    DrawFieldColorMap(m, p.picture1, p.picture3);

    EXPECT_EQ(p.picture1.ReadPoint(10, 10), kWhite);
    EXPECT_EQ(p.picture1.ReadPoint(20, 20), (Rgb{255, 236, 255}));
    EXPECT_EQ(p.picture1.ReadPoint(0, 0), kBlack);
    // The whole unit square of a node carries its colour.
    EXPECT_EQ(p.picture1.ReadPoint(20.4, 19.6), (Rgb{255, 236, 255}));
    const double lowLevel = 60 * std::log(1 + 0.0002 * 100 / 2.0);
    EXPECT_EQ(p.picture1.ReadPoint(30, 30), RampColor(lowLevel));

    EXPECT_EQ(m.NodeColor(10, 10), 0);
    EXPECT_EQ(m.NodeColor(20, 20), 0);
    EXPECT_EQ(m.NodeColor(30, 30), 15);
    EXPECT_EQ(m.NodeColor(0, 0), 15);
}

TEST(FieldColorMap, LineColourTurnsBlackOnlyAboveLevel200) {
    EXPECT_EQ(NodeColorForLevel(200.0), 15);
    EXPECT_EQ(NodeColorForLevel(std::nextafter(200.0, 300.0)), 0);

    // The two neighbouring single values around the level-200 field (Bmax 1 T).
    const double threshold = (std::exp(200.0 / 60) - 1) / 100;
    float below = static_cast<float>(threshold);
    while (RampLevel(below, 1.0) > 200) {
        below = std::nextafter(below, 0.0f);
    }
    while (RampLevel(std::nextafter(below, 1.0f), 1.0) <= 200) {
        below = std::nextafter(below, 1.0f);
    }
    const float above = std::nextafter(below, 1.0f);

    Model m = MakeViewModel(50);
    m.field.B(25, 25) = 1.0f;
    m.field.B(5, 5) = below;
    m.field.B(6, 5) = above;
    ResultPictures p(50);
    DrawFieldColorMap(m, p.picture1, p.picture3);
    EXPECT_EQ(m.NodeColor(5, 5), 15);
    EXPECT_EQ(m.NodeColor(6, 5), 0);
}

TEST(FieldColorMap, ScaleStripHasTheRampAndSixLabelsInGauss) {
    Model m = MakeViewModel(50);
    m.field.B(3, 4) = 1.0f;
    ResultPictures p(50);
    DrawFieldColorMap(m, p.picture1, p.picture3);

    ASSERT_EQ(p.picture3.lines.size(), 401u);
    EXPECT_EQ(p.picture3.lines.front().color, kBlack);
    EXPECT_EQ(p.picture3.lines.back().color, kWhite);
    EXPECT_EQ(p.picture3.ReadPoint(5, 0), kWhite);
    EXPECT_EQ(p.picture3.ReadPoint(5, 200), RampColor(200 * 276.0 / 400));
    EXPECT_EQ(p.picture3.ReadPoint(9.9, 399), RampColor(276.0 / 400));

    const char* values[] = {"0.0", "150.9", "529.7", "1480.0", "3864.6", "9848.4"};
    const int colours[] = {15, 12, 9, 6, 3, 0};
    ASSERT_EQ(p.picture3.texts.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        const auto& t = p.picture3.texts[static_cast<std::size_t>(k)];
        EXPECT_EQ(t.text, values[k]);
        EXPECT_EQ(t.color, PaletteColor(colours[k]));
        EXPECT_DOUBLE_EQ(t.x, 2);
        EXPECT_DOUBLE_EQ(t.y, (5 - k) * 77);
    }
}

TEST(FieldColorMap, FieldFreeModelGivesABlackMapAndZeroLabels) {
    Model m = MakeViewModel(100);
    ResultPictures p(100);
    p.picture1.Clear();
    DrawFieldColorMap(m, p.picture1, p.picture3);
    for (int py = 0; py < 400; py += 7) {
        for (int px = 0; px < 400; px += 7) {
            ASSERT_EQ(p.picture1.PixelAt(px, py), kBlack);
        }
    }
    ASSERT_EQ(p.picture3.texts.size(), 6u);
    for (const auto& t : p.picture3.texts) {
        EXPECT_EQ(t.text, "0.0");
    }
}

TEST(FieldColorMap, ArraysOfAnotherGridSizeAreNotDrawn) {
    Model m = MakeViewModel(50);
    m.project.GridSize = 100;  // changed in the options after the last evaluation
    ResultPictures p(100);
    const std::vector<std::uint32_t> before(p.picture1.Pixels(), p.picture1.Pixels() + 400 * 400);
    DrawFieldColorMap(m, p.picture1, p.picture3);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), p.picture1.Pixels()));
    EXPECT_TRUE(p.picture3.texts.empty());
}

// The pixels where two 400 x 400 surfaces differ.
std::vector<std::pair<int, int>> Difference(const RasterSurface& a, const RasterSurface& b) {
    std::vector<std::pair<int, int>> d;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            if (a.PixelAt(x, y) != b.PixelAt(x, y)) {
                d.emplace_back(x, y);
            }
        }
    }
    return d;
}

// The one-pixel ring of the user rectangle (x0 - 0.5 .. x1 + 0.5, y0 - 0.5 .. y1 + 0.5).
std::vector<std::pair<int, int>> Ring(const RasterSurface& s, int x0, int y0, int x1, int y1) {
    auto px = [&](double x) { return static_cast<int>(std::floor(s.ToPixelX(x) + 0.5)); };
    auto py = [&](double y) { return static_cast<int>(std::floor(s.ToPixelY(y) + 0.5)); };
    const int l = px(x0 - 0.5), r = px(x1 + 0.5), t = py(y0 - 0.5), b = py(y1 + 0.5);
    std::vector<std::pair<int, int>> ring;
    for (int y = t; y <= b; ++y) {
        for (int x = l; x <= r; ++x) {
            if ((x == l || x == r || y == t || y == b) && s.HasPixel(x, y)) {
                ring.emplace_back(x, y);
            }
        }
    }
    return ring;
}

class RegionOutlines : public ::testing::TestWithParam<int> {};

TEST_P(RegionOutlines, OutlineTheUnionOfNonVacuumCellsAndCancelWhenDrawnTwice) {
    const int n = GetParam();
    Model m = MakeViewModel(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            m.field.B(i, j) = static_cast<float>((i * 7 + j * 3) % 11) * 0.01f;
        }
    }
    Model bare = m;
    const int c = n / 5;
    // A lone cell, and a block of iron cells next to coil cells.
    m.arrays.Material(c, c) = MaterialCode::Iron;
    for (int i = 2 * c; i <= 2 * c + 3; ++i) {
        for (int j = 3 * c; j <= 3 * c + 2; ++j) {
            m.arrays.Material(i, j) = i < 2 * c + 2 ? MaterialCode::Iron : MaterialCode::Coil1;
        }
    }
    ResultPictures plain(n), outlined(n);
    DrawFieldColorMap(bare, plain.picture1, plain.picture3);
    DrawFieldColorMap(m, outlined.picture1, outlined.picture3);

    auto expected = Ring(plain.picture1, c, c, c, c);
    const auto block = Ring(plain.picture1, 2 * c, 3 * c, 2 * c + 3, 3 * c + 2);
    expected.insert(expected.end(), block.begin(), block.end());
    std::sort(expected.begin(), expected.end());
    auto diff = Difference(plain.picture1, outlined.picture1);
    std::sort(diff.begin(), diff.end());
    EXPECT_EQ(diff, expected);
    for (const auto& [x, y] : diff) {
        const Rgb a = plain.picture1.PixelAt(x, y);
        ASSERT_EQ(outlined.picture1.PixelAt(x, y), a.Inverted());
    }

    DrawRegionOutlines(m.arrays.Material, outlined.picture1);
    EXPECT_TRUE(Difference(plain.picture1, outlined.picture1).empty());
}

INSTANTIATE_TEST_SUITE_P(EveryGridSize, RegionOutlines, ::testing::Values(50, 100, 200, 400));

TEST(RegionOutlines, CellsOnTheEdgeOfTheAreaAreOutlinedOnTheVisibleSides) {
    Model m = MakeViewModel(50);
    m.arrays.Material(0, 10) = MaterialCode::Nonmag;
    RasterSurface plain(400, 400), outlined(400, 400);
    plain.SetScale(50, 50);
    outlined.SetScale(50, 50);
    DrawRegionOutlines(m.arrays.Material, outlined);
    const auto diff = Difference(plain, outlined);
    // Top and bottom edges from pixel 0 to 4 and the right edge; the left edge is off the area.
    EXPECT_EQ(diff.size(), 5u + 5u + 7u);
}

TEST(PotentialView, PaintsAbsoluteValueAgainstTheLargestAndKeepsTheDrawState) {
    Model m = MakeViewModel(50);
    m.arrays.VecPot(10, 10) = -3e-4;
    m.arrays.VecPot(11, 10) = 3e-4;
    m.arrays.VecPot(12, 10) = 3e-5;
    RasterSurface picture(400, 400);
    picture.SetScale(50, 50);
    picture.SetPenWidth(8);
    picture.SetDrawMode(DrawMode::Invert);
    DrawPotentialView(m, picture);
    EXPECT_EQ(picture.ReadPoint(10, 10), kWhite);
    EXPECT_EQ(picture.ReadPoint(11, 10), kWhite);
    EXPECT_EQ(picture.ReadPoint(12, 10), (Rgb{216, 144, 255}));
    EXPECT_EQ(picture.ReadPoint(12.4, 10.4), (Rgb{216, 144, 255}));
    EXPECT_EQ(picture.ReadPoint(13, 10), kBlack);
    EXPECT_EQ(picture.PenWidth(), 8);
    EXPECT_EQ(picture.GetDrawMode(), DrawMode::Invert);

    Model empty = MakeViewModel(50);
    DrawPotentialView(empty, picture);
    EXPECT_EQ(picture.ReadPoint(10, 10), kBlack);
}

}  // namespace
}  // namespace tesvid
