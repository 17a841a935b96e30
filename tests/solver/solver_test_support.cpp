#include "solver_test_support.h"

#include "solver/calculation.h"
#include "solver/drawn_model.h"
#include "solver/material_map.h"

namespace tesvid::testing {

Model MakeModel(int n, double areaMm) {
    Model m;
    m.project = FirstStartProject();
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.project.AreaSize = static_cast<float>(areaMm);
    m.project.GridStep = areaMm * 0.001 / n;
    return m;
}

void Paint(Grid2D<MaterialCode>& material, int i0, int i1, int j0, int j1, MaterialCode code) {
    for (int i = i0; i <= i1; ++i) {
        for (int j = j0; j <= j1; ++j) {
            material(i, j) = code;
        }
    }
}

namespace {

// Paints a block given in cells of a 50 grid onto an n grid.
void PaintScaled(Grid2D<MaterialCode>& g, int i0, int i1, int j0, int j1, MaterialCode code) {
    const int s = g.N() / 50;
    Paint(g, i0 * s, (i1 + 1) * s - 1, j0 * s, (j1 + 1) * s - 1, code);
}

}  // namespace

Grid2D<MaterialCode> AirCoil(int n) {
    Grid2D<MaterialCode> g(n);
    PaintScaled(g, 10, 12, 20, 30, MaterialCode::Coil1);
    return g;
}

Grid2D<MaterialCode> PotCore(int n) {
    Grid2D<MaterialCode> g(n);
    PaintScaled(g, 0, 17, 12, 15, MaterialCode::Iron);   // top plate
    PaintScaled(g, 0, 17, 35, 38, MaterialCode::Iron);   // bottom plate
    PaintScaled(g, 0, 5, 16, 34, MaterialCode::Iron);    // central post
    PaintScaled(g, 14, 17, 16, 34, MaterialCode::Iron);  // outer shell
    PaintScaled(g, 7, 12, 17, 33, MaterialCode::Coil1);
    return g;
}

Grid2D<MaterialCode> RingMagnets(int n) {
    Grid2D<MaterialCode> g(n);
    PaintScaled(g, 6, 12, 22, 27, MaterialCode::MagnetN);
    PaintScaled(g, 5, 13, 18, 21, MaterialCode::Iron);
    PaintScaled(g, 5, 13, 28, 31, MaterialCode::Iron);
    PaintScaled(g, 20, 24, 22, 27, MaterialCode::MagnetS);
    PaintScaled(g, 19, 25, 19, 21, MaterialCode::Iron);
    return g;
}

void Calculate(Model& m, const Grid2D<MaterialCode>& material, double currentDensity1) {
    m.project.CurrentDensity1 = currentDensity1;
    BuildMaterialMap(m, material);
    RecordingObserver observer(m);
    RunCalculation(m.arrays, m.project, observer);
}

void RecordingObserver::ShowResult() {
    events += 'r';
    EvaluateField(m_);
}

}  // namespace tesvid::testing
