#include "print/report_drawing.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/raster_surface.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

TEST(ReportScale, OneUnitPerCellAtThePrintScale) {
    // A4 paper, 100 mm area on a 100 grid at 1:1: one cell per mm.
    const ReportScale s = ComputeReportScale(210, 297, 100, 1, 100);
    EXPECT_DOUBLE_EQ(s.width, 210);
    EXPECT_DOUBLE_EQ(s.height, 297);
    EXPECT_DOUBLE_EQ(s.left, -21);
    EXPECT_DOUBLE_EQ(s.top, -14.85);
    // 1:2 puts twice the cells on the same paper: the drawing is half as large.
    const ReportScale half = ComputeReportScale(210, 297, 100, 2, 100);
    EXPECT_DOUBLE_EQ(half.width, 420);
    EXPECT_DOUBLE_EQ(half.height, 594);
}

TEST(ReportScale, UnusableValuesStillGiveAFiniteScale) {
    const ReportScale s = ComputeReportScale(210, 297, 50, 0, 0);
    EXPECT_GT(s.width, 0);
    EXPECT_GT(s.height, 0);
}

struct Page {
    RasterSurface surface{240, 240};
    Page(int n) {
        surface.SetBackColor({255, 255, 255});
        surface.Clear();
        surface.SetScale(-2, -2, n + 4, n + 4);
    }
    int CountNot(Rgb c) const {
        int count = 0;
        for (int y = 0; y < surface.HeightPixels(); ++y) {
            for (int x = 0; x < surface.WidthPixels(); ++x) {
                count += surface.PixelAt(x, y) == c ? 0 : 1;
            }
        }
        return count;
    }
};

struct CountingObserver : ForceLineObserver {
    std::vector<double> values;
    int yields = 0;
    void SetProgressValue(double v) override { values.push_back(v); }
    void Yield() override { ++yields; }
};

Model CoilModel(int n) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.project.GridStep = 0.002;
    m.project.CurrentDensity1 = 1e6;
    m.project.SteelMu = 2000;
    m.project.MagMuRec = 30;
    m.project.LineStep = 10;
    Grid2D<MaterialCode> material(n);
    for (int i = 10; i <= 12; ++i) {
        for (int j = 20; j <= 30; ++j) {
            material(i, j) = MaterialCode::Coil1;
        }
    }
    BuildMaterialMap(m, material);
    // A potential that circles the winding: r A peaks inside the coil.
    for (int i = 1; i < n; ++i) {
        for (int j = 1; j < n; ++j) {
            const double di = i - 11.0, dj = j - 25.0;
            m.arrays.VecPot(i, j) = 1.0 / (1.0 + 0.01 * (di * di + dj * dj)) / i;
        }
    }
    return m;
}

TEST(ReportDrawing, GridForceLinesAndOutlinesReachThePage) {
    const int n = 50;
    Model m = CoilModel(n);
    Page withLines(n);
    CountingObserver observer;
    DrawReportArea(m, withLines.surface, observer);
    // One bar update and one yield per seed column, ending at (N - 2) / N of the maximum.
    ASSERT_EQ(observer.values.size(), static_cast<std::size_t>(n - 3));
    EXPECT_EQ(observer.yields, n - 3);
    EXPECT_NEAR(observer.values.back(), 8.0 * (n - 2) / n, 1e-6);

    // Without any seed (no UniformStencil node) the page holds only the grid and the outlines.
    Model noSeeds = CoilModel(n);
    for (auto& v : noSeeds.UniformStencil.Vector()) {
        v = 0;
    }
    Page withoutLines(n);
    CountingObserver quiet;
    DrawReportArea(noSeeds, withoutLines.surface, quiet);
    EXPECT_GT(withLines.CountNot({255, 255, 255}), withoutLines.CountNot({255, 255, 255}));
    EXPECT_GT(withoutLines.CountNot({255, 255, 255}), 0);
    // The flux function is written on nodes 2..N-2 only: nodes 1 and N-1 keep their zeros.
    EXPECT_EQ(m.FluxFunction(1, 25), 0.0);
    EXPECT_EQ(m.FluxFunction(n - 1, 25), 0.0);
    EXPECT_DOUBLE_EQ(m.FluxFunction(11, 25), 11 * m.arrays.VecPot(11, 25));
}

TEST(ReportDrawing, MissingArraysDrawOnlyTheGrid) {
    Model m;
    m.project.GridSize = 50;
    Page page(50);
    CountingObserver observer;
    DrawReportArea(m, page.surface, observer);
    EXPECT_TRUE(observer.values.empty());
    EXPECT_GT(page.CountNot({255, 255, 255}), 0);
}

}  // namespace
}  // namespace tesvid
