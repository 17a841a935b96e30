#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "recording_surface.h"
#include "view/distribution_graph.h"
#include "view_test_model.h"

namespace tesvid {
namespace {

using testing::MakeViewModel;
using testing::RecordingSurface;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrid{200, 200, 200};

TEST(GraphFullScale, RoundsTheMaximumUpToTheNextOneDigitValue) {
    EXPECT_DOUBLE_EQ(GraphFullScale(0.1234), 0.2);
    EXPECT_DOUBLE_EQ(GraphFullScale(0.0996), 0.2);  // 1.0E-001 after rounding
    EXPECT_DOUBLE_EQ(GraphFullScale(0.95), 1.0);
    EXPECT_DOUBLE_EQ(GraphFullScale(9.96), 20.0);
    EXPECT_DOUBLE_EQ(GraphFullScale(1.0), 2.0);
    EXPECT_DOUBLE_EQ(GraphFullScale(3.4e-7), 4e-7);
    EXPECT_DOUBLE_EQ(GraphFullScale(1e-200), 2e-200);
}

struct Graph {
    Graph() : picture(250, 250) {}
    RecordingSurface picture;
};

// Row 12 with its maximum 0.1234 T at k = 20 and 0.1 T at k = 30; column 13 at 0.15 T with
// 0.1 T at k = 50.
Model GraphModel(int n) {
    Model m = MakeViewModel(n, 100);
    for (int k = 0; k <= n; ++k) {
        m.field.B(13, k) = 0.15f;  // the column of the Z graph
    }
    m.field.B(13, 50) = 0.1f;
    for (int k = 0; k <= n; ++k) {
        m.field.B(k, 12) = 0.01f;
    }
    m.field.B(20, 12) = 0.1234f;
    m.field.B(30, 12) = 0.1f;
    m.field.B(0, 12) = 5.0f;  // nodes 0 and N are neither measured nor plotted
    m.field.B(n, 12) = 5.0f;
    return m;
}

TEST(DistributionGraph, RGraphPlotsTheRowAgainstItsFullScale) {
    const int n = 400;
    Model m = GraphModel(n);
    Graph g;
    DrawDistributionGraph(m, g.picture, GraphAxis::R, 37, 12);

    ASSERT_GE(g.picture.texts.size(), 3u);
    EXPECT_EQ(g.picture.texts[0].text, " Bmax=2000.0 Gauss");
    EXPECT_EQ(g.picture.texts[0].color, kBlack);  // the initial foreground colour
    EXPECT_EQ(g.picture.texts[1].text, "Z = 3");
    EXPECT_DOUBLE_EQ(g.picture.texts[1].x, 0.84 * n);
    EXPECT_DOUBLE_EQ(g.picture.texts[1].y, 0);
    EXPECT_EQ(g.picture.texts[2].text, "R = 9.25");
    EXPECT_DOUBLE_EQ(g.picture.texts[2].x, 336);
    EXPECT_GT(g.picture.texts[2].y, 0);
    EXPECT_EQ(g.picture.texts[2].color, kRed);
    EXPECT_EQ(g.picture.ForeColor(), kBlue);

    // 18 dotted grid lines, N - 1 curve pieces, the red marker at x.
    const auto& lines = g.picture.lines;
    ASSERT_EQ(lines.size(), 18u + (n - 1) + 1u);
    for (int k = 0; k < 18; ++k) {
        EXPECT_EQ(lines[static_cast<std::size_t>(k)].color, kGrid);
    }
    const auto curve = std::vector(lines.begin() + 18, lines.begin() + 18 + (n - 1));
    EXPECT_DOUBLE_EQ(curve.front().x1, 1);
    EXPECT_DOUBLE_EQ(curve.front().x2, 1);
    EXPECT_EQ(curve.front().color, kBlack);
    EXPECT_DOUBLE_EQ(curve.back().x2, n - 1);
    EXPECT_NEAR(curve[29].y2, n / 2.0, 1e-4);  // 0.1 T at half height
    EXPECT_NEAR(curve[19].y2, n - 0.1234 * n / 0.2, 1e-4);
    for (const auto& l : curve) {
        EXPECT_GE(l.x2, 1);
        EXPECT_LE(l.x2, n - 1);
    }
    const auto& marker = lines.back();
    EXPECT_EQ(marker.color, kRed);
    EXPECT_DOUBLE_EQ(marker.x1, 37);
    EXPECT_DOUBLE_EQ(marker.x2, 37);

    // The second call draws the curve and the first labels in blue.
    g.picture.lines.clear();
    g.picture.texts.clear();
    DrawDistributionGraph(m, g.picture, GraphAxis::R, 37, 12);
    EXPECT_EQ(g.picture.lines[18].color, kBlue);
    EXPECT_EQ(g.picture.texts[0].color, kBlue);
    EXPECT_EQ(g.picture.texts[1].color, kBlue);
}

TEST(DistributionGraph, ZGraphPlotsTheColumnWithTheRolesExchanged) {
    const int n = 100;
    Model m = GraphModel(n);
    Graph g;
    DrawDistributionGraph(m, g.picture, GraphAxis::Z, 13.0, 40.0);
    ASSERT_GE(g.picture.texts.size(), 3u);
    EXPECT_EQ(g.picture.texts[0].text, " Bmax=2000.0 Gauss");
    EXPECT_EQ(g.picture.texts[1].text, "R = 13");
    EXPECT_DOUBLE_EQ(g.picture.texts[1].x, 84);
    EXPECT_EQ(g.picture.texts[2].text, "Z = 40");
    const auto& marker = g.picture.lines.back();
    EXPECT_DOUBLE_EQ(marker.x1, 40);
    EXPECT_NEAR(g.picture.lines[18 + 49].y2, n / 2.0, 1e-4);
}

TEST(DistributionGraph, PositionBelowOneMillimetreHasNoLeadingZero) {
    Model m = GraphModel(400);
    Graph g;
    DrawDistributionGraph(m, g.picture, GraphAxis::R, 2, 12);  // 0.5 mm
    EXPECT_EQ(g.picture.texts[2].text, "R = .5");
}

TEST(DistributionGraph, EmptyLineShowsZeroFullScaleOnTheBottomEdge) {
    Model m = MakeViewModel(50);
    Graph g;
    DrawDistributionGraph(m, g.picture, GraphAxis::R, 10, 10);
    EXPECT_EQ(g.picture.texts[0].text, " Bmax=0.0 Gauss");
    EXPECT_DOUBLE_EQ(g.picture.lines[30].y2, 50);
}

TEST(DistributionGraph, PointsOffTheGridOrStaleArraysDrawNothing) {
    Model m = GraphModel(50);
    Graph g;
    g.picture.SetForeColor(Rgb{1, 2, 3});
    const std::vector<std::uint32_t> before(g.picture.Pixels(), g.picture.Pixels() + 250 * 250);
    DrawDistributionGraph(m, g.picture, GraphAxis::R, -1, -1);
    DrawDistributionGraph(m, g.picture, GraphAxis::Z, 51, 3);
    DrawDistributionGraph(m, g.picture, GraphAxis::R, 3, 50.5);
    m.project.GridSize = 100;  // larger grid chosen after the field was evaluated
    DrawDistributionGraph(m, g.picture, GraphAxis::R, 60, 60);
    DrawDistributionGraph(m, g.picture, GraphAxis::Z, 10, 10);
    EXPECT_TRUE(g.picture.lines.empty());
    EXPECT_TRUE(g.picture.texts.empty());
    EXPECT_EQ(g.picture.ForeColor(), (Rgb{1, 2, 3}));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), g.picture.Pixels()));
}

}  // namespace
}  // namespace tesvid
