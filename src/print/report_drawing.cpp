#include "print/report_drawing.h"

#include <algorithm>
#include <string>

#include "model/number_format.h"
#include "model/rgb.h"
#include "view/color_ramp.h"
#include "view/field_color_map.h"
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

constexpr Rgb kOutlineGreen{0, 150, 0};

template <typename T>
bool Fits(const Grid2D<T>& a, int n) {
    return a.Exists() && a.N() == n;
}

// Each column of nodes as runs of one colour, every node's square cut at the area's edges.
void DrawPageMap(const Model& m, DrawingSurface& page, int n, double bmax) {
    page.SetDrawMode(DrawMode::Copy);
    page.SetPenWidth(1);
    auto level = [&](int i, int j) { return RampLevel(m.field.B(i, j), bmax); };
    for (int i = 0; i <= n; ++i) {
        const double x0 = std::max(0.0, i - 0.5), x1 = std::min<double>(n, i + 0.5);
        int start = 0;
        Rgb colour = RampColor(level(i, 0));
        for (int j = 1; j <= n + 1; ++j) {
            const Rgb next = j <= n ? RampColor(level(i, j)) : Rgb{};
            if (j > n || !(next == colour)) {
                page.FilledBox(x0, std::max(0.0, start - 0.5), x1, std::min<double>(n, j - 0.5),
                               colour);
                start = j;
                colour = next;
            }
        }
    }
}

// Force-line pieces in the colour of the node under them (cells start at their first node).
class NodeColorPageSink : public IsoSegmentSink {
  public:
    NodeColorPageSink(DrawingSurface& page, const Grid2D<std::int16_t>& nodeColor)
        : page_(page), nodeColor_(nodeColor) {}
    void Segment(const IsoSegment& s) override {
        page_.Line(s.x1, s.y1, s.x2, s.y2, PaletteColor(nodeColor_(s.i, s.j)));
    }

  private:
    DrawingSurface& page_;
    const Grid2D<std::int16_t>& nodeColor_;
};

// The border between vacuum and other materials around the nodes' squares, collinear pieces
// joined, cut at the area's edges.
void DrawPageOutlines(const Grid2D<MaterialCode>& material, DrawingSurface& page, int n) {
    page.SetDrawMode(DrawMode::Copy);
    page.SetLineStyle(LineStyle::Solid);
    page.SetPenWidth(2);
    auto clip = [n](double v) { return std::clamp(v, 0.0, static_cast<double>(n)); };
    // Each run of border pieces k along one line, drawn from its first to its last piece.
    auto runs = [&](const auto& border, const auto& draw) {
        int runStart = -1;  // first node of the open run, or -1
        for (int k = 0; k <= n + 1; ++k) {
            const bool on = k <= n && border(k);
            if (on && runStart < 0) {
                runStart = k;
            } else if (!on && runStart >= 0) {
                draw(clip(runStart - 0.5), clip(k - 0.5));
                runStart = -1;
            }
        }
    };
    for (int v = -1; v <= n; ++v) {
        const double at = clip(v + 0.5);
        runs([&](int k) { return SolidNode(material, v, k) != SolidNode(material, v + 1, k); },
             [&](double from, double to) { page.Line(at, from, at, to, kOutlineGreen); });
        runs([&](int k) { return SolidNode(material, k, v) != SolidNode(material, k, v + 1); },
             [&](double from, double to) { page.Line(from, at, to, at, kOutlineGreen); });
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

void DrawColorReportArea(const Model& m, DrawingSurface& page, ForceLineObserver& observer,
                         char decimalSeparator) {
    const int n = m.project.GridSize;
    if (n >= 1 && Fits(m.field.B, n) && Fits(m.arrays.Material, n)) {
        const double bmax = FieldMaximum(m.field.B);
        DrawPageMap(m, page, n, bmax);

        ForceLineGrids grids;
        if (PrepareForceLines(m.arrays, n, ForceLineSeeds::UniformStencilNodes, grids)) {
            grids.NodeColor.Create(n);
            for (int i = 0; i <= n; ++i) {
                for (int j = 0; j <= n; ++j) {
                    const Rgb under = RampColor(RampLevel(m.field.B(i, j), bmax));
                    grids.NodeColor(i, j) = TextColorOver(under, under) == PaletteColor(0)
                                                ? std::int16_t{0}
                                                : std::int16_t{15};
                }
            }
            page.SetLineStyle(LineStyle::Solid);
            page.SetPenWidth(2);
            page.SetDrawMode(DrawMode::Copy);
            NodeColorPageSink sink(page, grids.NodeColor);
            TraceForceLineSeeds(grids, n, kPageLevelFactor, observer, [&](double level) {
                TraceIsoLevel(
                    IsoLineGrid{grids.FluxFunction, grids.TraceMark, n, m.project.LineStep, 0.0},
                    level, sink);
            });
        }
        DrawPageOutlines(m.arrays.Material, page, n);

        // The scale: wide enough for its widest label with the unit and a margin.
        const std::string widest =
            FormatFixed1(ColorScaleLabelValue(5, bmax), decimalSeparator) + " G";
        const TextExtent e = page.MeasureText(widest);
        const double scaleWidth = std::max(0.06 * n, e.width / 0.8);
        DrawColorScaleBox(page, 1.04 * n, 0, scaleWidth, n, bmax, decimalSeparator);
        page.BoxOutline(1.04 * n, 0, 1.04 * n + scaleWidth, n, PaletteColor(0));
    }
    page.SetDrawMode(DrawMode::Copy);
    page.SetLineStyle(LineStyle::Solid);
    page.SetPenWidth(1);
    page.BoxOutline(0, 0, n, n, PaletteColor(0));
}

}  // namespace tesvid
