#include "view/force_lines.h"

#include "view/iso_line_tracer.h"

namespace tesvid {

namespace {

// Screen lines start a hair off the seed's level.
constexpr double kScreenLevelFactor = 1.00001;

}  // namespace

bool PrepareForceLines(const SolverArrays& arrays, int n, ForceLineSeeds seeds,
                       ForceLineGrids& grids) {
    if (n < 3 || !arrays.VecPot.Exists() || arrays.VecPot.N() != n) {
        return false;
    }
    if (seeds == ForceLineSeeds::UniformStencilNodes &&
        (!arrays.UniformStencil.Exists() || arrays.UniformStencil.N() != n)) {
        return false;
    }
    grids.FluxFunction.Create(n);
    grids.TraceMark.Create(n);
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            grids.FluxFunction(i, j) = arrays.VecPot(i, j) * i;
            grids.TraceMark(i, j) =
                seeds == ForceLineSeeds::AllInnerNodes ? 1 : arrays.UniformStencil(i, j);
        }
    }
    return true;
}

void DrawForceLines(const Model& m, ForceLineGrids& grids, DrawingSurface& picture1,
                    bool drawFieldTicked, ForceLineObserver& observer) {
    const int n = m.project.GridSize;
    if (drawFieldTicked && (!grids.NodeColor.Exists() || grids.NodeColor.N() != n)) {
        return;
    }
    if (!PrepareForceLines(m.arrays, n, ForceLineSeeds::AllInnerNodes, grids)) {
        return;
    }
    picture1.SetPenWidth(1);
    picture1.SetDrawMode(DrawMode::Copy);
    TraceForceLineSeeds(grids, n, kScreenLevelFactor, observer, [&](double level) {
        TraceIsoLine(grids, n, m.project.LineStep, picture1, level, drawFieldTicked);
    });
}

}  // namespace tesvid
