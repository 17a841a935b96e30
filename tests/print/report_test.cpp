// The printed report: its page scale and its drawing.
#include <gtest/gtest.h>

#include <cmath>

#include "model/raster_surface.h"
#include "print/report_drawing.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

TEST(ReportScale, OneUnitPerCellAtThePrintScale) {
    // A4, 100 mm on a 100 grid at 1:1: the area a tenth of the width right, a twentieth down.
    const ReportScale s = ComputeReportScale(210, 297, 100, 1, 100);
    EXPECT_EQ(std::make_tuple(s.left, s.top, s.width, s.height),
              std::make_tuple(-21.0, -14.85, 210.0, 297.0));
    EXPECT_DOUBLE_EQ(ComputeReportScale(210, 297, 100, 2, 100).width, 420);  // half as large
    EXPECT_GT(ComputeReportScale(210, 297, 50, 0, 0).width, 0);
}

struct Progress : ForceLineObserver {
    std::vector<double> fractions;
    void SetProgressFraction(double f) override { fractions.push_back(f); }
};

long Ink(bool seeds, bool arrays, Progress& progress) {
    Model m;
    m.project.GridSize = 50;
    m.project.LineStep = 10;
    if (arrays) {
        Grid2D<MaterialCode> material(50);
        material(11, 25) = MaterialCode::Coil1;
        BuildMaterialMap(m, material);
        for (int i = 1; i < 50; ++i) {
            for (int j = 1; j < 50; ++j) {
                const double d2 = std::pow(i - 11.0, 2) + std::pow(j - 25.0, 2);
                m.arrays.VecPot(i, j) = 1 / (1 + 0.01 * d2) / i;
                m.arrays.UniformStencil(i, j) &= seeds ? 1 : 0;
            }
        }
    }
    RasterSurface page(240, 240);
    page.SetBackColor({255, 255, 255});
    page.Clear();
    page.SetScale(-2, -2, 54, 54);
    DrawReportArea(m, page, progress);
    return std::count_if(page.Pixels(), page.Pixels() + 240 * 240, [](std::uint32_t p) {
        return Rgb::FromPacked(p) != Rgb{255, 255, 255};
    });
}

TEST(ReportDrawing, GridThenForceLinesFromTheAirThenOutlines) {
    Progress withSeeds, withoutSeeds, withoutArrays;
    const long lines = Ink(true, true, withSeeds), outline = Ink(false, true, withoutSeeds);
    const long grid = Ink(true, false, withoutArrays);
    EXPECT_TRUE(lines > outline && outline > grid && grid > 0)
        << lines << " " << outline << " " << grid;
    ASSERT_EQ(withSeeds.fractions.size(), 47u);  // one step per seed column 2 .. N - 2
    EXPECT_DOUBLE_EQ(withSeeds.fractions.back(), 48.0 / 50);
    EXPECT_TRUE(withoutArrays.fractions.empty());
}

}  // namespace
}  // namespace tesvid
