#include "print/report_drawing.h"

#include "model/rgb.h"
#include "view/iso_line_tracer.h"

namespace tesvid {

ReportScale ComputeReportScale(double paperWidthMm, double paperHeightMm, int gridSize,
                               float printScale, float areaSize) {
    ReportScale s;
    const double cells = static_cast<double>(gridSize) * static_cast<double>(printScale);
    const double area = areaSize > 0 ? static_cast<double>(areaSize) : 1.0;
    s.width = paperWidthMm * cells / area;
    s.height = paperHeightMm * cells / area;
    if (!(s.width > 0)) {
        s.width = 1;
    }
    if (!(s.height > 0)) {
        s.height = 1;
    }
    s.left = -s.width / 10;
    s.top = -s.height / 20;
    return s;
}

namespace {

// Page lines start one percent off the seed's level: the page's coarser pen hides the offset.
constexpr double kPageLevelFactor = 1.01;

void DrawReferenceGrid(DrawingSurface& page, int n) {
    page.SetDrawMode(DrawMode::Invert);
    page.SetLineStyle(LineStyle::Dotted);
    page.SetPenWidth(1);
    const Rgb darkGrey = PaletteColor(8);
    for (int step = 0; step <= 10; ++step) {
        const double k = static_cast<double>(step) * n / 10;
        page.Line(0, k, n, k, darkGrey);
        page.Line(k, 0, k, n, darkGrey);
    }
}

void DrawPageForceLines(const Model& m, ForceLineGrids& grids, DrawingSurface& page,
                        ForceLineObserver& observer, int n) {
    page.SetLineStyle(LineStyle::Solid);
    page.SetPenWidth(2);
    page.SetDrawMode(DrawMode::Copy);
    TraceForceLineSeeds(grids, n, kPageLevelFactor, observer, [&](double level) {
        TraceIsoLineOnPage(grids, n, m.project.LineStep, page, level);
    });
}

void DrawCellOutlines(const Model& m, DrawingSurface& page, int n) {
    page.SetDrawMode(DrawMode::Copy);
    page.SetForeColor(PaletteColor(0));
    page.SetPenWidth(1);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            if (m.arrays.Material(i, j) != MaterialCode::Vacuum) {
                page.BoxOutline(i, j, i + 1, j + 1, page.ForeColor());
            }
        }
    }
}

}  // namespace

void DrawReportArea(const Model& m, DrawingSurface& page, ForceLineObserver& observer) {
    const int n = m.project.GridSize;
    DrawReferenceGrid(page, n);
    ForceLineGrids grids;
    if (!m.arrays.Material.Exists() || m.arrays.Material.N() != n ||
        !PrepareForceLines(m.arrays, n, ForceLineSeeds::UniformStencilNodes, grids)) {
        return;
    }
    DrawPageForceLines(m, grids, page, observer, n);
    DrawCellOutlines(m, page, n);
}

}  // namespace tesvid
