#include "print/report_drawing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/raster_surface.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

TEST(ReportScale, OneUnitPerCellAtThePrintScale) {
    // A4 paper, a 100 mm area on a 100 grid at 1:1: a cell is a millimetre of paper, and the
    // area starts a tenth of the width right and a twentieth of the height down.
    const ReportScale s = ComputeReportScale(210, 297, 100, 1, 100);
    EXPECT_DOUBLE_EQ(s.width, 210);
    EXPECT_DOUBLE_EQ(s.height, 297);
    EXPECT_DOUBLE_EQ(s.left, -21);
    EXPECT_DOUBLE_EQ(s.top, -14.85);
    EXPECT_DOUBLE_EQ(ComputeReportScale(210, 297, 100, 2, 100).width, 420);  // half as large
    const ReportScale unusable = ComputeReportScale(210, 297, 50, 0, 0);
    EXPECT_GT(unusable.width, 0);
    EXPECT_GT(unusable.height, 0);
}

struct Progress : ForceLineObserver {
    std::vector<double> fractions;
    void SetProgressFraction(double f) override { fractions.push_back(f); }
};

// Draws the report of a 50-grid coil whose potential circles the winding onto a page, and
// counts the pixels that are not white.
int InkOnThePage(bool seeds, bool arrays, Progress& progress) {
    const int n = 50;
    Model m;
    m.project.GridSize = n;
    m.project.GridStep = 0.002;
    m.project.LineStep = 10;
    if (arrays) {
        Grid2D<MaterialCode> material(n);
        for (int j = 20; j <= 30; ++j) {
            material(11, j) = MaterialCode::Coil1;
        }
        BuildMaterialMap(m, material);
        for (int i = 1; i < n; ++i) {
            for (int j = 1; j < n; ++j) {
                m.arrays.VecPot(i, j) =
                    1 / (1 + 0.01 * (std::pow(i - 11.0, 2) + std::pow(j - 25.0, 2))) / i;
                m.arrays.UniformStencil(i, j) &= seeds ? 1 : 0;
            }
        }
    }
    RasterSurface page(240, 240);
    page.SetBackColor({255, 255, 255});
    page.Clear();
    page.SetScale(-2, -2, n + 4, n + 4);
    DrawReportArea(m, page, progress);
    return static_cast<int>(
        std::count_if(page.Pixels(), page.Pixels() + 240 * 240, [](std::uint32_t p) {
            return Rgb::FromPacked(p) != Rgb{255, 255, 255};
        }));
}

TEST(ReportDrawing, GridThenForceLinesThenOutlines) {
    Progress withSeeds, withoutSeeds, withoutArrays;
    const int lines = InkOnThePage(true, true, withSeeds);
    const int outlines = InkOnThePage(false, true, withoutSeeds);
    const int grid = InkOnThePage(true, false, withoutArrays);
    EXPECT_GT(lines, outlines);
    EXPECT_GT(outlines, grid);
    EXPECT_GT(grid, 0);
    // One progress step per seed column, 2 .. N - 2.
    ASSERT_EQ(withSeeds.fractions.size(), 47u);
    EXPECT_DOUBLE_EQ(withSeeds.fractions.back(), 48.0 / 50);
    EXPECT_TRUE(withoutArrays.fractions.empty());
}

}  // namespace
}  // namespace tesvid
