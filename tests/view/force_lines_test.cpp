#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "recording_surface.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "view/field_color_map.h"
#include "view/force_lines.h"
#include "view_test_model.h"

namespace tesvid {
namespace {

using testing::MakeViewModel;
using testing::RecordingSurface;

class RecordingObserver : public ForceLineObserver {
  public:
    double ProgressMaximum() const override { return maximum; }
    void SetProgressValue(double value) override { values.push_back(value); }
    void Yield() override {
        ++yields;
        if (onYield) {
            onYield();
        }
    }
    double maximum = 14;
    std::vector<double> values;
    int yields = 0;
    std::function<void()> onYield;
};

struct Segment {
    double x1, y1, x2, y2;
};

std::vector<Segment> DrawnSegments(const RecordingSurface& s) {
    std::vector<Segment> r;
    for (const auto& l : s.lines) {
        r.push_back(Segment{l.x1, l.y1, l.x2, l.y2});
    }
    return r;
}

// The 50-grid coil (Coil1 at i 10..12, j 20..30, 1 A/mm2 over 100 mm), calculated.
Model SolvedCoil50() {
    const int n = 50;
    Model m;
    m.project.GridSize = n;
    m.project.AreaSize = 100;
    m.project.GridStep = 0.002;
    m.project.CurrentDensity1 = 1e6;
    m.project.WireDiameter1 = 1;
    m.project.Rjac0 = 0.995;
    m.project.Rjac1 = 0.9995;
    m.project.RjacFin = 0.95;
    m.project.MainSteps = 10;
    m.project.LineStep = 10;
    Grid2D<MaterialCode> material(n);
    for (int i = 10; i <= 12; ++i) {
        for (int j = 20; j <= 30; ++j) {
            material(i, j) = MaterialCode::Coil1;
        }
    }
    BuildMaterialMap(m, material);
    CalculationObserver calculation;
    RunCalculation(m.arrays, m.project, calculation);
    EvaluateField(m);
    return m;
}

TEST(ForceLines, EmptyModelTracesNothingAndFillsTheBarToAllButTwoColumns) {
    const int n = 50;
    Model m = MakeViewModel(n);
    m.StopRequested = true;
    RecordingSurface picture(400, 400);
    picture.SetScale(n, n);
    picture.SetPenWidth(3);
    picture.SetDrawMode(DrawMode::Invert);
    RecordingObserver observer;
    DrawForceLines(m, picture, true, observer);

    EXPECT_FALSE(m.StopRequested);
    EXPECT_TRUE(picture.lines.empty());
    EXPECT_EQ(picture.PenWidth(), 1);
    EXPECT_EQ(picture.GetDrawMode(), DrawMode::Copy);
    EXPECT_EQ(observer.yields, (n - 3) * (n - 3));
    ASSERT_EQ(observer.values.size(), static_cast<std::size_t>(n - 3));
    EXPECT_FLOAT_EQ(static_cast<float>(observer.values.back()), 14.0f * (n - 2) / n);
    EXPECT_FLOAT_EQ(static_cast<float>(observer.values.front()), 14.0f * 2 / n);
    // The one level traced (0) came near every node of the scanned cells.
    for (int i = 1; i <= n - 2; ++i) {
        for (int j = 1; j <= n - 2; ++j) {
            ASSERT_EQ(m.TraceMark(i, j), 0);
        }
    }
    EXPECT_EQ(m.TraceMark(n - 1, 5), 1);
}

TEST(ForceLines, StopEndsTheDrawingBeforeTheNextColumn) {
    const int n = 50;
    Model m = SolvedCoil50();
    RecordingSurface picture(400, 400);
    picture.SetScale(n, n);
    RecordingObserver observer;
    int yieldsInColumn5 = 0;
    observer.onYield = [&] {
        if (observer.values.size() == 3) {  // columns 2, 3, 4 done: tracing column 5
            ++yieldsInColumn5;
            m.StopRequested = true;
        }
    };
    DrawForceLines(m, picture, false, observer);
    EXPECT_EQ(yieldsInColumn5, n - 3);  // the column is finished first
    ASSERT_EQ(observer.values.size(), 4u);
    EXPECT_FLOAT_EQ(static_cast<float>(observer.values.back()), 14.0f * 5 / n);
    EXPECT_TRUE(m.StopRequested);
}

TEST(ForceLines, FluxFunctionIsTheRadiusTimesThePotentialInsideTheRing) {
    const int n = 50;
    Model m = MakeViewModel(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            m.arrays.VecPot(i, j) = 0.5 + j;
            m.FluxFunction(i, j) = -7;
        }
    }
    PrepareForceLines(m);
    EXPECT_EQ(m.FluxFunction(3, 4), 3 * 4.5);
    EXPECT_EQ(m.FluxFunction(n - 1, n - 1), (n - 1) * (n - 0.5));
    EXPECT_EQ(m.FluxFunction(0, 4), -7);
    EXPECT_EQ(m.FluxFunction(4, n), -7);
    EXPECT_EQ(m.TraceMark(1, 1), 1);
    EXPECT_EQ(m.TraceMark(0, 1), 0);
}

// Points within a small distance count as one.
bool Same(double x1, double y1, double x2, double y2) {
    return std::fabs(x1 - x2) < 1e-4 && std::fabs(y1 - y2) < 1e-4;
}

// Whether the horizontal ray from (cx, cy) to the right crosses the segment.
bool CrossesRayRight(const Segment& s, double cx, double cy) {
    if ((s.y1 > cy) == (s.y2 > cy)) {
        return false;
    }
    const double x = s.x1 + (cy - s.y1) * (s.x2 - s.x1) / (s.y2 - s.y1);
    return x > cx;
}

// Joins the drawn pieces of force lines end to end and checks that every end inside the scanned
// area continues in exactly one other piece; returns how many chains are closed, each of which
// must enclose the point (cx, cy).
int ClosedLoopsAround(const RecordingSurface& picture, int n, double cx, double cy) {
    std::vector<Segment> segments;
    for (const auto& s : DrawnSegments(picture)) {
        if (!Same(s.x1, s.y1, s.x2, s.y2)) {
            segments.push_back(s);
        }
    }
    EXPECT_GT(segments.size(), 50u);
    auto onScanBorder = [&](double x, double y) {
        return x < 0.5 + 1e-6 || y < 0.5 + 1e-6 || x > n - 1.5 - 1e-6 || y > n - 1.5 - 1e-6;
    };

    const std::size_t count = segments.size();
    std::vector<int> component(count, -1);
    int components = 0;
    for (std::size_t start = 0; start < count; ++start) {
        if (component[start] >= 0) {
            continue;
        }
        std::vector<std::size_t> stack{start};
        component[start] = components;
        while (!stack.empty()) {
            const Segment s = segments[stack.back()];
            stack.pop_back();
            for (std::size_t k = 0; k < count; ++k) {
                const Segment& t = segments[k];
                if (component[k] < 0 &&
                    (Same(s.x1, s.y1, t.x1, t.y1) || Same(s.x1, s.y1, t.x2, t.y2) ||
                     Same(s.x2, s.y2, t.x1, t.y1) || Same(s.x2, s.y2, t.x2, t.y2))) {
                    component[k] = components;
                    stack.push_back(k);
                }
            }
        }
        ++components;
    }

    std::vector<bool> open(static_cast<std::size_t>(components), false);
    for (std::size_t a = 0; a < count; ++a) {
        for (int end = 0; end < 2; ++end) {
            const double x = end == 0 ? segments[a].x1 : segments[a].x2;
            const double y = end == 0 ? segments[a].y1 : segments[a].y2;
            int joins = 0;
            for (std::size_t b = 0; b < count; ++b) {
                if (b != a) {
                    joins += Same(x, y, segments[b].x1, segments[b].y1) ? 1 : 0;
                    joins += Same(x, y, segments[b].x2, segments[b].y2) ? 1 : 0;
                }
            }
            if (onScanBorder(x, y)) {
                open[static_cast<std::size_t>(component[a])] = true;
            } else {
                EXPECT_EQ(joins, 1) << "dangling end at " << x << ", " << y;
            }
        }
    }

    int loops = 0;
    for (int c = 0; c < components; ++c) {
        if (open[static_cast<std::size_t>(c)]) {
            continue;
        }
        int crossings = 0;
        for (std::size_t k = 0; k < count; ++k) {
            if (component[k] == c && CrossesRayRight(segments[k], cx, cy)) {
                ++crossings;
            }
        }
        EXPECT_EQ(crossings % 2, 1) << "loop " << c << " does not enclose the point";
        ++loops;
    }
    return loops;
}

TEST(ForceLines, LinesOfTheCalculatedCoilAreClosedLoopsAroundTheWinding) {
    const int n = 50;
    Model m = SolvedCoil50();
    RasterSurface strip(57, 400);
    RecordingSurface picture(400, 400);
    picture.SetScale(n, n);
    DrawFieldColorMap(m, picture, strip);
    RecordingObserver observer;
    DrawForceLines(m, picture, true, observer);
    EXPECT_GE(ClosedLoopsAround(picture, n, 11.0, 25.013), 3);
    // Over the colour map the lines take the colour recorded for their cells.
    bool black = false, white = false;
    for (const auto& l : picture.lines) {
        black = black || l.color == Rgb{0, 0, 0};
        white = white || l.color == Rgb{255, 255, 255};
        ASSERT_TRUE(l.color == (Rgb{0, 0, 0}) || l.color == (Rgb{255, 255, 255}));
    }
    EXPECT_TRUE(black);
    EXPECT_TRUE(white);
}

TEST(ForceLines, NothingIsDrawnForArraysOfAnotherGridSize) {
    Model m = MakeViewModel(50);
    m.project.GridSize = 100;
    RecordingSurface picture(400, 400);
    RecordingObserver observer;
    DrawForceLines(m, picture, true, observer);
    EXPECT_TRUE(picture.lines.empty());
    EXPECT_TRUE(observer.values.empty());
}

}  // namespace
}  // namespace tesvid
