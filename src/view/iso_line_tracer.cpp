#include "view/iso_line_tracer.h"

#include <cfloat>
#include <cmath>

namespace tesvid {

namespace {

struct EdgeCut {
    double t = 0;
    bool crossed = false;
    bool near = false;
};

// Edge from corner value fa to corner value fb.
inline EdgeCut Cut(double fa, double fb, double level, double tol) {
    EdgeCut e;
    if (fa == fb) {
        e.near = level == fa && 0 < tol;
        return e;
    }
    e.t = (level - fa) / (fb - fa);
    e.crossed = e.t >= 0 && e.t <= 1;
    e.near = std::fabs(e.t) < tol;
    return e;
}

bool Fits(const IsoLineGrid& g) {
    return g.n >= 3 && g.fluxFunction.Exists() && g.fluxFunction.N() == g.n && g.traceMark.Exists() &&
           g.traceMark.N() == g.n;
}

}  // namespace

void TraceIsoLevel(const IsoLineGrid& grid, double level, IsoSegmentSink& sink) {
    if (!Fits(grid)) {
        return;
    }
    const int n = grid.n;
    const float tolSingle = static_cast<float>(n) * grid.lineStep / 100.0f;
    const double tol = tolSingle;
    const std::size_t stride = static_cast<std::size_t>(grid.fluxFunction.Stride());
    const double* f = grid.fluxFunction.Data();
    std::uint8_t* marks = grid.traceMark.Data();

    // A cell whose mark is already cleared matters only if the level crosses one of its edges.
    // That cannot happen when all four corners lie beyond the level by more than the rounding
    // of the edge parameters (a parameter of exactly 1 can arise from rounding alone), so such
    // cells are skipped without their four divisions.
    double maxAbs = 0;
    for (int i = 1; i <= n - 1; ++i) {
        const double* col = f + static_cast<std::size_t>(i) * stride;
        for (int j = 1; j <= n - 1; ++j) {
            const double a = std::fabs(col[j]);
            if (a > maxAbs) {
                maxAbs = a;
            }
        }
    }
    const double margin = (maxAbs + std::fabs(level)) * 0x1p-48 + DBL_MIN;
    const double below = level - margin;
    const double above = level + margin;

    for (int i = 1; i <= n - 2; ++i) {
        const double* c0 = f + static_cast<std::size_t>(i) * stride;
        const double* c1 = c0 + stride;
        std::uint8_t* markCol = marks + static_cast<std::size_t>(i) * stride;
        const double x0 = i + grid.originOffset;
        for (int j = 1; j <= n - 2; ++j) {
            const double fa = c0[j];      // (i, j)
            const double fb = c0[j + 1];  // (i, j+1)
            const double fc = c1[j + 1];  // (i+1, j+1)
            const double fd = c1[j];      // (i+1, j)
            if (markCol[j] == 0 && ((fa < below && fb < below && fc < below && fd < below) ||
                                    (fa > above && fb > above && fc > above && fd > above))) {
                continue;
            }
            const EdgeCut e1 = Cut(fa, fb, level, tol);
            const EdgeCut e2 = Cut(fb, fc, level, tol);
            const EdgeCut e3 = Cut(fc, fd, level, tol);
            const EdgeCut e4 = Cut(fd, fa, level, tol);
            if (e1.crossed || e2.crossed || e3.crossed || e4.crossed) {
                const double y0 = j + grid.originOffset;
                const float p1x = static_cast<float>(x0), p1y = static_cast<float>(y0 + e1.t);
                const float p2x = static_cast<float>(x0 + e2.t), p2y = static_cast<float>(y0 + 1);
                const float p3x = static_cast<float>(x0 + 1),
                            p3y = static_cast<float>(y0 + 1 - e3.t);
                const float p4x = static_cast<float>(x0 + 1 - e4.t), p4y = static_cast<float>(y0);
                auto emit = [&](float ax, float ay, float bx, float by) {
                    sink.Segment(IsoSegment{i, j, ax, ay, bx, by});
                };
                if (e1.crossed && e2.crossed) {
                    emit(p1x, p1y, p2x, p2y);
                }
                if (e2.crossed && e3.crossed) {
                    emit(p2x, p2y, p3x, p3y);
                }
                if (e3.crossed && e4.crossed) {
                    emit(p3x, p3y, p4x, p4y);
                }
                if (e4.crossed && e1.crossed) {
                    emit(p4x, p4y, p1x, p1y);
                }
                if (e1.crossed && e3.crossed) {
                    emit(p1x, p1y, p3x, p3y);
                }
                if (e2.crossed && e4.crossed) {
                    emit(p2x, p2y, p4x, p4y);
                }
            }
            if (e1.near || e2.near || e3.near || e4.near) {
                markCol[j] = 0;
            }
        }
    }
}

namespace {

class ScreenSink : public IsoSegmentSink {
  public:
    ScreenSink(DrawingSurface& s, const Grid2D<std::int16_t>* nodeColor)
        : surface_(s), nodeColor_(nodeColor) {}
    void Segment(const IsoSegment& s) override {
        const Rgb c =
            nodeColor_ != nullptr ? PaletteColor((*nodeColor_)(s.i, s.j)) : Rgb{255, 255, 255};
        surface_.Line(s.x1, s.y1, s.x2, s.y2, c);
    }

  private:
    DrawingSurface& surface_;
    const Grid2D<std::int16_t>* nodeColor_;
};

class PageSink : public IsoSegmentSink {
  public:
    explicit PageSink(DrawingSurface& s) : surface_(s) {}
    void Segment(const IsoSegment& s) override {
        surface_.Line(s.x1, s.y1, s.x2, s.y2, surface_.ForeColor());
    }

  private:
    DrawingSurface& surface_;
};

}  // namespace

void TraceIsoLine(ForceLineGrids& grids, int n, float lineStep, DrawingSurface& picture1,
                  double level, bool drawFieldTicked) {
    ScreenSink sink(picture1, drawFieldTicked ? &grids.NodeColor : nullptr);
    TraceIsoLevel(IsoLineGrid{grids.FluxFunction, grids.TraceMark, n, lineStep, -0.5}, level, sink);
}

void TraceIsoLineOnPage(ForceLineGrids& grids, int n, float lineStep, DrawingSurface& page,
                        double level) {
    PageSink sink(page);
    TraceIsoLevel(IsoLineGrid{grids.FluxFunction, grids.TraceMark, n, lineStep, 0.0}, level, sink);
}

}  // namespace tesvid
