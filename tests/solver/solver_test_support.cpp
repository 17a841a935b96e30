#include "solver_test_support.h"

#include <algorithm>

#include "solver/calculation.h"
#include "solver/material_map.h"

namespace tesvid::testing {

Model MakeModel(int n, double areaMm) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.project.AreaSize = static_cast<float>(areaMm);
    m.project.GridStep = areaMm * 0.001 / n;
    m.project.SteelMu = 1000;
    m.project.SteelSaturationB = 1.6;
    m.project.MagBr = 1;
    m.project.MagHc = 100e3;
    m.project.MagBHmax = 30e3;
    FitMagnetCurve(m.project);
    m.project.Rjac0 = 0.995;
    m.project.Rjac1 = 0.9995;
    m.project.RjacFin = 0.95;
    m.project.MainSteps = 10;
    m.project.ReluctivityRelaxation = 0.05;
    m.project.WireDiameter1 = 1;
    m.project.WireDiameter2 = 1;
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
void PaintScaled(Grid2D<MaterialCode>& material, int i0, int i1, int j0, int j1,
                 MaterialCode code) {
    const int s = material.N() / 50;
    Paint(material, i0 * s, (i1 + 1) * s - 1, j0 * s, (j1 + 1) * s - 1, code);
}

}  // namespace

Grid2D<MaterialCode> AirCoil(int n) {
    Grid2D<MaterialCode> material(n);
    PaintScaled(material, 10, 12, 20, 30, MaterialCode::Coil1);
    return material;
}

Grid2D<MaterialCode> PotCore(int n) {
    Grid2D<MaterialCode> material(n);
    PaintScaled(material, 0, 17, 12, 15, MaterialCode::Iron);   // top plate
    PaintScaled(material, 0, 17, 35, 38, MaterialCode::Iron);   // bottom plate
    PaintScaled(material, 0, 5, 16, 34, MaterialCode::Iron);    // central post
    PaintScaled(material, 14, 17, 16, 34, MaterialCode::Iron);  // outer shell
    PaintScaled(material, 7, 12, 17, 33, MaterialCode::Coil1);
    return material;
}

Grid2D<MaterialCode> RingMagnets(int n) {
    Grid2D<MaterialCode> material(n);
    PaintScaled(material, 6, 12, 22, 27, MaterialCode::MagnetN);
    PaintScaled(material, 5, 13, 18, 21, MaterialCode::Iron);
    PaintScaled(material, 5, 13, 28, 31, MaterialCode::Iron);
    PaintScaled(material, 20, 24, 22, 27, MaterialCode::MagnetS);
    PaintScaled(material, 19, 25, 19, 21, MaterialCode::Iron);
    return material;
}

void RecordingObserver::Yield() {
    ++yields;
    events.push_back("yield");
    if (yields == stopAtYield) {
        model_.StopRequested = true;
    }
}

void RecordingObserver::SetProgressValue(double value) {
    progressValues.push_back(value);
    events.push_back("progress");
    if (value >= 1) {
        passes.push_back({model_.PassNo, model_.Omega, model_.arrays.LastReluctivityStep, yields});
    }
}

void RecordingObserver::ShowResult() {
    events.push_back("result");
    if (evaluateOnResult) {
        EvaluateField(model_);
    }
}

}  // namespace tesvid::testing
