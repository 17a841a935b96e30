// The colour report's page: the |B| map in ramp colours, force lines, outlines, the scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/raster_surface.h"
#include "print/report_drawing.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "view/color_ramp.h"

namespace tesvid {
namespace {

constexpr int kN = 40;

// A winding at i = 10..12, j = 18..24 and a potential circling it; the field is derived from it.
Model CoilModel() {
    Model m;
    m.project.GridSize = kN, m.project.GridStep = 0.002, m.project.CurrentDensity1 = 1e6;
    m.project.SteelMu = 2000, m.project.MagMuRec = 30, m.project.LineStep = 10;
    Grid2D<MaterialCode> material(kN);
    for (int j = 18; j <= 24; ++j) {
        material(10, j) = material(11, j) = material(12, j) = MaterialCode::Coil1;
    }
    BuildMaterialMap(m, material);
    for (int i = 1; i < kN; ++i) {
        for (int j = 1; j < kN; ++j) {
            const double di = i - 11.0, dj = j - 21.0;
            m.arrays.VecPot(i, j) = 1e-3 / (1.0 + 0.02 * (di * di + dj * dj)) / i;
        }
    }
    EvaluateField(m);
    return m;
}

// A page of 5 pixels per cell with the area at pixels 20 .. 220.
struct Page {
    RasterSurface surface{330, 240};
    Page() { surface.SetScale(-4, -4, 66, 48); }
    Rgb At(double x, double y) const { return *surface.ReadPoint(x, y); }
};

TEST(ColorReport, ShowsTheFieldMapScaleOutlinesAndForceLines) {
    const Model m = CoilModel();
    const double bmax = *std::max_element(m.field.B.Vector().begin(), m.field.B.Vector().end());
    ForceLineObserver quiet;
    Model noLines = m;  // the same field without the potential the lines follow
    noLines.arrays.VecPot.Release();
    Page plain, page;
    DrawColorReportArea(noLines, plain.surface, quiet);
    DrawColorReportArea(m, page.surface, quiet);

    // In, beside and far from the winding, each node's square shows the ramp colour of its |B|.
    const int nodes[][2] = {{11, 21}, {16, 21}, {30, 35}, {3, 5}};
    for (const auto& node : nodes) {
        const Rgb expected = RampColor(RampLevel(m.field.B(node[0], node[1]), bmax));
        for (double d : {-0.4, 0.0, 0.4}) {
            EXPECT_EQ(plain.At(node[0] + d, node[1] + d), expected) << node[0] << "," << node[1];
        }
    }
    EXPECT_NE(plain.At(11, 21), plain.At(30, 35));  // the map is not one colour

    // The winding's outline; none along the area's edges, where vacuum meets them.
    EXPECT_EQ(plain.At(9.5, 21), (Rgb{0, 150, 0}));
    EXPECT_EQ(plain.At(11, 24.5), (Rgb{0, 150, 0}));
    for (const auto& [x, y] :
         {std::pair{0.2, 30.0}, {kN - 0.2, 30.0}, {30.0, 0.2}, {30.0, kN - 0.2}}) {
        EXPECT_EQ(plain.At(x, y),
                  RampColor(RampLevel(m.field.B(std::lround(x), std::lround(y)), bmax)))
            << x << "," << y;
    }

    // The scale, as tall as the area: level 276 at the top, 0 at the bottom, to a level or so.
    for (double y : {0.3, 20.0, kN - 0.3}) {
        const Rgb shown = plain.At(1.04 * kN + 0.5, y);
        const double level = 276 * (kN - y) / kN;
        bool near = false;
        for (double l = level - 1; l <= level + 1; l += 0.01) {
            near = near || shown == RampColor(l);
        }
        EXPECT_TRUE(near) << y;
    }

    int differing = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 330; ++x) {
            const Rgb c = page.surface.PixelAt(x, y);
            if (!(c == plain.surface.PixelAt(x, y))) {
                ++differing;
                EXPECT_TRUE(c == (Rgb{0, 0, 0}) || c == (Rgb{255, 255, 255})) << x << "," << y;
            }
        }
    }
    EXPECT_GT(differing, 200);
}

}  // namespace
}  // namespace tesvid
