#include "view/force_lines.h"

#include "view/iso_line_tracer.h"

namespace tesvid {

namespace {

bool ArraysFit(const ModelState& m) {
    const int n = m.GridSize;
    return n >= 3 && m.VecPot.Exists() && m.VecPot.N() == n && m.FluxFn.Exists() &&
           m.FluxFn.N() == n && m.TraceMark.Exists() && m.TraceMark.N() == n;
}

}  // namespace

void PrepareForceLines(ModelState& m) {
    const int n = m.GridSize;
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            m.FluxFn(i, j) = m.VecPot(i, j) * i;
            m.TraceMark(i, j) = 1;
        }
    }
}

void VisualizeForceLines(ModelState& m, DrawingSurface& picture1, bool drawFieldTicked,
                         ForceLineObserver& observer) {
    if (!ArraysFit(m)) {
        return;
    }
    const int n = m.GridSize;
    PrepareForceLines(m);
    m.StopRequested = false;
    picture1.SetPenWidth(1);
    picture1.SetDrawMode(DrawMode::Copy);
    for (int i = 2; i <= n - 2; ++i) {
        if (m.StopRequested) {
            return;
        }
        for (int j = 2; j <= n - 2; ++j) {
            if (m.TraceMark(i, j) != 0) {
                Isoterma(m, picture1, m.FluxFn(i, j) * 1.00001, drawFieldTicked);
            }
            observer.Yield();
            // An event handler run during the yield may have re-created the arrays.
            if (!ArraysFit(m) || m.GridSize != n) {
                return;
            }
        }
        const float maximum = static_cast<float>(observer.ProgressMaximum());
        observer.SetProgressValue(maximum * static_cast<float>(i) / static_cast<float>(n));
    }
}

}  // namespace tesvid
