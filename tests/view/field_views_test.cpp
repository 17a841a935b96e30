// The field colour map, the potential view, the probe and the distribution graphs.
#include <gtest/gtest.h>

#include <cmath>

#include "view/color_ramp.h"
#include "view/distribution_graph.h"
#include "view/field_color_map.h"
#include "view/field_probe.h"
#include "view/force_lines.h"
#include "view_test_support.h"

namespace tesvid {
namespace {

using testing::MakeViewModel;
using testing::RecordingSurface;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

struct ResultPictures {
    explicit ResultPictures(int n) { picture1.SetScale(n, n); }
    RecordingSurface picture1{400, 400}, picture3{57, 400};
    ForceLineGrids grids;
};

TEST(FieldColorMap, LevelsColoursLineColoursAndTheScale) {
    EXPECT_EQ(RampColor(0), kBlack);
    EXPECT_EQ(RampColor(3), (Rgb{4, 3, 14}));  // 4.5 and 13.5 rounded to even
    EXPECT_EQ(RampColor(60 * std::log(101.0)), kWhite);
    EXPECT_EQ(RampColor(NAN), kBlack);
    Model m = MakeViewModel(50);
    m.field.B(10, 10) = 1.0f;
    m.field.B(20, 20) = 0.5f;  // half the maximum: level 60 ln 51
    // The two neighbouring singles around level 200 (1 T maximum): the force lines over a
    // node turn black above it.
    float below = static_cast<float>((std::exp(200.0 / 60) - 1) / 100);
    while (RampLevel(below, 1.0) > 200) {
        below = std::nextafter(below, 0.0f);
    }
    while (RampLevel(std::nextafter(below, 1.0f), 1.0) <= 200) {
        below = std::nextafter(below, 1.0f);
    }
    m.field.B(5, 5) = below;
    m.field.B(6, 5) = std::nextafter(below, 1.0f);
    ResultPictures p(50);
    DrawFieldColorMap(m, p.grids, p.picture1, p.picture3);
    EXPECT_EQ(p.picture1.ReadPoint(10, 10), kWhite);
    EXPECT_EQ(p.picture1.ReadPoint(20.4, 19.6),
              RampColor(60 * std::log(51.0)));  // the node's square
    EXPECT_EQ(p.picture1.ReadPoint(0, 0), kBlack);
    EXPECT_EQ(p.grids.NodeColor(20, 20), 0);
    EXPECT_EQ(p.grids.NodeColor(6, 5), 0);
    EXPECT_EQ(p.grids.NodeColor(5, 5), 15);
    // The strip: 401 ramp lines, bottom black to top white, six labels (e^(0.92 n) - 1) % of
    // the maximum in gauss.
    ASSERT_EQ(p.picture3.lines.size(), 401u);
    EXPECT_EQ(p.picture3.lines.front().color, kBlack);
    EXPECT_EQ(p.picture3.ReadPoint(5, 0), kWhite);
    const char* labels[] = {"0.0", "150.9", "529.7", "1480.0", "3864.6", "9848.4"};
    ASSERT_EQ(p.picture3.texts.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(p.picture3.texts[k].text, labels[k]);
        EXPECT_EQ(p.picture3.texts[k].y, (5.0 - k) * 77);
    }
    // Arrays of another grid (changed in the options since) are not drawn.
    m.project.GridSize = 100;
    ResultPictures stale(100);
    DrawFieldColorMap(m, stale.grids, stale.picture1, stale.picture3);
    EXPECT_TRUE(stale.picture3.texts.empty());
    EXPECT_EQ(stale.picture1.Copy(), RecordingSurface(400, 400).Copy());
}

TEST(FieldColorMap, OutlinesInvertTheBorderOfNonVacuumRegionsOnce) {
    for (int n : {50, 400}) {  // 8 and 1 pixels a cell
        Model m = MakeViewModel(n);
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                m.field.B(i, j) = static_cast<float>((i * 7 + j * 3) % 11) * 0.01f;
            }
        }
        const Model bare = m;
        const int c = n / 5;  // a lone cell and a block of iron beside coil cells
        m.arrays.Material(c, c) = MaterialCode::Iron;
        for (int i = 2 * c; i <= 2 * c + 3; ++i) {
            for (int j = 3 * c; j <= 3 * c + 2; ++j) {
                m.arrays.Material(i, j) = i < 2 * c + 2 ? MaterialCode::Iron : MaterialCode::Coil1;
            }
        }
        ResultPictures plain(n), outlined(n);
        DrawFieldColorMap(bare, plain.grids, plain.picture1, plain.picture3);
        DrawFieldColorMap(m, outlined.grids, outlined.picture1, outlined.picture3);
        // The differing pixels are the one-pixel rings of the two regions' outer edges.
        const auto ring = [&](int x0, int y0, int x1, int y1) {
            const auto px = [&](double u) {
                return static_cast<int>(std::floor(u * 400 / n + 0.5));
            };
            const int l = px(x0 - 0.5), r = px(x1 + 0.5), t = px(y0 - 0.5), b = px(y1 + 0.5);
            return 2 * (r - l + 1) + 2 * (b - t - 1);
        };
        int differing = 0;
        for (int y = 0; y < 400; ++y) {
            for (int x = 0; x < 400; ++x) {
                const Rgb a = plain.picture1.PixelAt(x, y), o = outlined.picture1.PixelAt(x, y);
                ASSERT_TRUE(o == a || o == a.Inverted());
                differing += o != a;
            }
        }
        EXPECT_EQ(differing, ring(c, c, c, c) + ring(2 * c, 3 * c, 2 * c + 3, 3 * c + 2)) << n;
        DrawRegionOutlines(m.arrays.Material, outlined.picture1);
        EXPECT_EQ(outlined.picture1.Copy(), plain.picture1.Copy());
    }
}

struct RecordingTarget : ProbeTarget {
    void SetFieldTexts(const ProbeFieldTexts& t) override {
        texts.push_back(t.b + "/" + t.br + "/" + t.bz);
    }
    void DrawGraphs(double x, double y) override { graphs.emplace_back(x, y); }
    void ShowGraphWindows() override { ++shown; }
    std::vector<std::string> texts;
    std::vector<std::pair<double, double>> graphs;
    int shown = 0;
};

TEST(FieldProbe, ReadsTheNodeUnderThePointer) {
    for (const auto& [user, node] :
         {std::pair{2.5f, 2}, {3.5f, 4}, {3.49f, 3}, {-0.5f, 0}, {-0.6f, -1}}) {
        EXPECT_EQ(ProbeNode(user), node) << user;
    }
    EXPECT_LT(ProbeNode(NAN), 0);
    EXPECT_GT(ProbeNode(3e9f), 400);
    Model m = MakeViewModel(400, 100);
    EXPECT_EQ(ProbeCoordinates(m, 37, 12).r, "9.25");
    EXPECT_EQ(ProbeCoordinates(m, 37, 12).z, "3");
    m = MakeViewModel(50);
    m.field.B(7, 8) = 0.0123f;
    m.field.Br(7, 8) = -0.00004f;
    EXPECT_EQ(ProbeField(m, 7, 8)->b + ProbeField(m, 7, 8)->br + ProbeField(m, 7, 8)->bz,
              "123.0-0.40.0");
    EXPECT_TRUE(ProbeField(m, 50, 50));
    for (const auto& [i, j] : {std::pair{-1, 5}, {5, -1}, {51, 5}}) {
        EXPECT_FALSE(ProbeField(m, i, j)) << i << ", " << j;
    }
    m.project.GridSize = 100;  // the arrays keep the size of the last evaluation
    EXPECT_FALSE(ProbeField(m, 70, 10));
}

TEST(FieldProbe, CrossHairFollowsThePointerAndFreezesOnAClick) {
    Model m = MakeViewModel(100);
    for (int i = 0; i <= 100; ++i) {
        for (int j = 0; j <= 100; ++j) {
            m.field.B(i, j) = static_cast<float>(std::sin(i * 0.1) * std::cos(j * 0.07) + 1);
        }
    }
    ResultPictures p(100);
    DrawFieldColorMap(m, p.grids, p.picture1, p.picture3);
    const auto before = p.picture1.Copy();
    PointerState pointer{0, 0, -1, -1, false};  // as the Result command leaves it
    RecordingTarget target;
    const auto move = [&](float x, float y) {
        ProbeMouseMove(m, true, p.picture1, pointer, x, y, target);
    };
    move(10.2f, 20.4f);
    EXPECT_EQ(p.picture1.PixelAt(41, 80), Rgb::FromPacked(before[80 * 400 + 41]).Inverted());
    EXPECT_EQ(p.picture1.PixelAt(40, 80), Rgb::FromPacked(before[80 * 400 + 40]));  // crossed twice
    EXPECT_EQ(target.graphs.back(), (std::pair<double, double>{10, 20}));
    EXPECT_EQ(target.texts.back(), ProbeField(m, 10, 20)->b + "/" + ProbeField(m, 10, 20)->br +
                                       "/" + ProbeField(m, 10, 20)->bz);
    move(130.0f, 7.0f);  // off the field: no reading, but the cross-hair follows
    EXPECT_EQ(target.texts.size(), 1u);
    ProbeMouseDown(pointer, target);
    EXPECT_TRUE(pointer.Held);
    EXPECT_EQ(target.shown, 1);
    EXPECT_EQ(target.graphs.back(), (std::pair<double, double>{130, 7}));
    const auto frozen = p.picture1.Copy();
    move(60, 10);
    EXPECT_EQ(p.picture1.Copy(), frozen);
    ProbeMouseDown(pointer, target);
    EXPECT_FALSE(pointer.Held);
    move(60, 10);
    move(-1, -1);  // as Copy Picture does: no trace left
    EXPECT_EQ(p.picture1.Copy(), before);
}

TEST(DistributionGraph, PlotsTheLineThroughTheProbeAgainstItsFullScale) {
    for (const auto& [bmax, scale] : {std::pair{0.1234, 0.2},
                                      {0.0996, 0.2},
                                      {0.95, 1.0},
                                      {9.96, 20.0},
                                      {3.4e-7, 4e-7},
                                      {1e-200, 2e-200}}) {
        EXPECT_DOUBLE_EQ(GraphFullScale(bmax), scale) << bmax;
    }
    const int n = 100;
    Model m = MakeViewModel(n, 100);
    for (int k = 0; k <= n; ++k) {
        m.field.B(k, 12) = 0.01f;  // the row of the R graph, peaking at 0.1234 T, 0.1 T at k = 30
        m.field.B(13, k) = 0.15f;  // the column of the Z graph
    }
    m.field.B(20, 12) = 0.1234f;
    m.field.B(30, 12) = 0.1f;
    m.field.B(0, 12) = m.field.B(n, 12) = 5.0f;  // the edge nodes are not plotted
    RecordingSurface g(250, 250);
    DrawDistributionGraph(m, g, GraphAxis::R, 37, 12);
    ASSERT_EQ(g.texts.size(), 3u);
    EXPECT_EQ(g.texts[0].text + "|" + g.texts[1].text + "|" + g.texts[2].text,
              " Bmax=2000.0 Gauss|Z = 12|R = 37");
    EXPECT_EQ(g.texts[2].color, (Rgb{255, 0, 0}));
    ASSERT_EQ(g.lines.size(), 18u + (n - 1) + 1u);    // dotted grid, the curve, the red marker
    EXPECT_NEAR(g.lines[18 + 29].y2, n / 2.0, 1e-4);  // 0.1 T at half height
    EXPECT_EQ(g.lines.back().x1, 37);
    EXPECT_EQ(g.ForeColor(), (Rgb{0, 0, 255}));
    g.texts.clear();
    DrawDistributionGraph(m, g, GraphAxis::Z, 13, 40.5);
    EXPECT_EQ(g.texts[0].text + "|" + g.texts[1].text + "|" + g.texts[2].text,
              " Bmax=2000.0 Gauss|R = 13|Z = 40.5");
    // Points off the grid, or a field of another grid, draw nothing.
    g.texts.clear();
    for (const auto& [x, y] : {std::pair{-1.0, 3.0}, {3.0, 100.5}, {101.0, 3.0}}) {
        DrawDistributionGraph(m, g, GraphAxis::R, x, y);
    }
    m.project.GridSize = 50;
    DrawDistributionGraph(m, g, GraphAxis::R, 10, 10);
    EXPECT_TRUE(g.texts.empty());
}

}  // namespace
}  // namespace tesvid
