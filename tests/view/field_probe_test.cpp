#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "recording_surface.h"
#include "view/field_color_map.h"
#include "view/field_probe.h"
#include "view_test_model.h"

namespace tesvid {
namespace {

using testing::MakeViewModel;
using testing::RecordingSurface;

class RecordingTarget : public ProbeTarget {
  public:
    void SetFieldTexts(const ProbeFieldTexts& t) override {
        texts.push_back(t);
        calls.push_back("texts");
    }
    void DrawGraphs(double x, double y) override {
        graphs.emplace_back(x, y);
        calls.push_back("graphs");
    }
    void ShowGraphWindows() override { calls.push_back("show"); }
    std::vector<ProbeFieldTexts> texts;
    std::vector<std::pair<double, double>> graphs;
    std::vector<std::string> calls;
};

TEST(FieldProbe, NodeUnderThePointerRoundsHalfToEven) {
    EXPECT_EQ(ProbeNode(2.5f), 2);
    EXPECT_EQ(ProbeNode(3.5f), 4);
    EXPECT_EQ(ProbeNode(3.49f), 3);
    EXPECT_EQ(ProbeNode(-0.5f), 0);
    EXPECT_EQ(ProbeNode(-0.6f), -1);
    EXPECT_LT(ProbeNode(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_GT(ProbeNode(3e9f), 400);
    EXPECT_LT(ProbeNode(-3e9f), 0);
}

TEST(FieldProbe, CoordinatesAreShownInMillimetres) {
    Model m = MakeViewModel(400, 100);
    const auto t = ProbeCoordinates(m, 37, 12);
    EXPECT_EQ(t.r, "9.25");
    EXPECT_EQ(t.z, "3");
    Model coarse = MakeViewModel(50, 33.3f);
    EXPECT_EQ(ProbeCoordinates(coarse, 1, 0).r, "0.666");
    EXPECT_EQ(ProbeCoordinates(coarse, 1, 0).z, "0");
}

TEST(FieldProbe, FieldIsShownInGaussWithOneDecimal) {
    Model m = MakeViewModel(50);
    m.field.B(7, 8) = 0.0123f;
    m.field.Br(7, 8) = -0.00004f;
    m.field.Bz(7, 8) = 0.0f;
    const auto t = ProbeField(m, 7, 8);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->b, "123.0");
    EXPECT_EQ(t->br, "-0.4");
    EXPECT_EQ(t->bz, "0.0");
}

TEST(FieldProbe, NodesOffTheFieldArraysHaveNoReading) {
    Model m = MakeViewModel(50);
    EXPECT_FALSE(ProbeField(m, -1, 5).has_value());
    EXPECT_FALSE(ProbeField(m, 5, -1).has_value());
    EXPECT_FALSE(ProbeField(m, 51, 5).has_value());
    EXPECT_TRUE(ProbeField(m, 50, 50).has_value());
    // The grid was made larger after the last evaluation: the arrays keep their size.
    m.project.GridSize = 100;
    EXPECT_FALSE(ProbeField(m, 70, 10).has_value());
    EXPECT_TRUE(ProbeField(m, 30, 10).has_value());
    Model none;
    none.GridSize = 50;
    EXPECT_FALSE(ProbeField(none, 1, 1).has_value());
}

// A result picture to move the cross-hair over.
struct ProbeFixture : ::testing::Test {
    ProbeFixture() : m(MakeViewModel(100)), picture(400, 400), strip(57, 400) {
        for (int i = 0; i <= 100; ++i) {
            for (int j = 0; j <= 100; ++j) {
                m.field.B(i, j) = static_cast<float>(std::sin(i * 0.1) * std::cos(j * 0.07) + 1);
            }
        }
        m.arrays.Material(20, 30) = MaterialCode::Iron;
        picture.SetScale(100, 100);
        DrawFieldColorMap(m, picture, strip);
        before.assign(picture.Pixels(), picture.Pixels() + 400 * 400);
    }
    bool Unchanged() const { return std::equal(before.begin(), before.end(), picture.Pixels()); }

    Model m;
    RasterSurface picture;
    RasterSurface strip;
    std::vector<std::uint32_t> before;
    PointerState position{0, 0, -1, -1};  // as the Result command leaves it
    RecordingTarget target;
};

TEST_F(ProbeFixture, CrossHairInvertsRowAndColumnAndLeavesNoTrace) {
    m.ShowCrossSections = true;
    ProbeMouseMove(m, picture, position, 10.2f, 20.4f, target);
    const Rgb crossing = picture.PixelAt(40, 80);
    EXPECT_EQ(crossing, Rgb::FromPacked(before[80 * 400 + 40]));  // inverted twice
    EXPECT_EQ(picture.PixelAt(41, 80), Rgb::FromPacked(before[80 * 400 + 41]).Inverted());
    EXPECT_EQ(picture.PixelAt(40, 300), Rgb::FromPacked(before[300 * 400 + 40]).Inverted());
    EXPECT_EQ(picture.PixelAt(41, 81), Rgb::FromPacked(before[81 * 400 + 41]));

    ProbeMouseMove(m, picture, position, 55.0f, 3.0f, target);
    ProbeMouseMove(m, picture, position, 99.6f, 0.1f, target);
    EXPECT_FALSE(Unchanged());
    ProbeMouseMove(m, picture, position, -1, -1, target);  // as Copy Picture does
    EXPECT_TRUE(Unchanged());
    EXPECT_EQ(position.LastX, -1);
    EXPECT_EQ(position.LastY, -1);
    EXPECT_EQ(picture.GetDrawMode(), DrawMode::Invert);
}

TEST_F(ProbeFixture, MoveReadsTheNodeAndRedrawsBothGraphs) {
    ProbeMouseMove(m, picture, position, 12.4f, 7.5f, target);
    ASSERT_EQ(target.texts.size(), 1u);
    EXPECT_EQ(target.texts[0].b, ProbeField(m, 12, 8)->b);
    EXPECT_EQ(target.graphs, (std::vector<std::pair<double, double>>{{12, 8}}));
    EXPECT_EQ(position.LastX, 12);
    EXPECT_EQ(position.LastY, 8);
    EXPECT_TRUE(Unchanged());  // no cross-hair without ShowCrossSections

    // Off the arrays: no reading, no graph, but the position follows.
    ProbeMouseMove(m, picture, position, 130.0f, 7.0f, target);
    EXPECT_EQ(target.texts.size(), 1u);
    EXPECT_EQ(target.graphs.size(), 1u);
    EXPECT_EQ(position.LastX, 130);
}

TEST_F(ProbeFixture, MouseDownFreezesAndReleasesTheProbe) {
    m.ShowCrossSections = true;
    ProbeMouseMove(m, picture, position, 30, 40, target);
    ProbeMouseDown(m, position, target);
    EXPECT_TRUE(m.PointerHold);
    EXPECT_EQ(target.calls, (std::vector<std::string>{"texts", "graphs", "show", "graphs"}));
    EXPECT_EQ(target.graphs.back(), (std::pair<double, double>{30, 40}));

    const std::vector<std::uint32_t> frozen(picture.Pixels(), picture.Pixels() + 400 * 400);
    ProbeMouseMove(m, picture, position, 60, 10, target);
    EXPECT_EQ(target.calls.size(), 4u);
    EXPECT_EQ(position.LastX, 30);
    EXPECT_TRUE(std::equal(frozen.begin(), frozen.end(), picture.Pixels()));

    ProbeMouseDown(m, position, target);
    EXPECT_FALSE(m.PointerHold);
    ProbeMouseMove(m, picture, position, 60, 10, target);
    EXPECT_EQ(target.graphs.back(), (std::pair<double, double>{60, 10}));
    ProbeMouseMove(m, picture, position, -1, -1, target);
    EXPECT_TRUE(Unchanged());
}

}  // namespace
}  // namespace tesvid
