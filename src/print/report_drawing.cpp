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

bool ArraysExist(const ModelState& m, int n) {
    return m.VecPot.Exists() && m.VecPot.N() == n && m.FluxFn.Exists() && m.FluxFn.N() == n &&
           m.TraceMark.Exists() && m.TraceMark.N() == n && m.FixedMask.Exists() &&
           m.FixedMask.N() == n && m.Material.Exists() && m.Material.N() == n;
}

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

void DrawForceLines(ModelState& m, DrawingSurface& page, ForceLineObserver& observer, int n) {
    page.SetLineStyle(LineStyle::Solid);
    page.SetPenWidth(2);
    page.SetDrawMode(DrawMode::Copy);
    for (int i = 2; i <= n - 2; ++i) {
        for (int j = 2; j <= n - 2; ++j) {
            m.FluxFn(i, j) = m.VecPot(i, j) * i;
            m.TraceMark(i, j) = m.FixedMask(i, j);
        }
    }
    for (int i = 2; i <= n - 2; ++i) {
        for (int j = 2; j <= n - 2; ++j) {
            if (m.TraceMark(i, j)) {
                IsotermaPrint(m, page, m.FluxFn(i, j) * 1.01);
            }
        }
        observer.SetProgressValue(static_cast<float>(observer.ProgressMaximum() * i / n));
        observer.Yield();
    }
}

void DrawCellOutlines(const ModelState& m, DrawingSurface& page, int n) {
    page.SetDrawMode(DrawMode::Copy);
    page.SetForeColor(PaletteColor(0));
    page.SetPenWidth(1);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            if (m.Material(i, j) != MaterialCode::Vacuum) {
                page.BoxOutline(i, j, i + 1, j + 1, page.ForeColor());
            }
        }
    }
}

}  // namespace

void DrawReportArea(ModelState& m, DrawingSurface& page, ForceLineObserver& observer) {
    const int n = m.GridSize;
    DrawReferenceGrid(page, n);
    if (!ArraysExist(m, n)) {
        return;
    }
    DrawForceLines(m, page, observer, n);
    DrawCellOutlines(m, page, n);
}

}  // namespace tesvid
