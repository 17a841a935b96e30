#include "solver/drawn_model.h"

#include "solver/calculation.h"
#include "solver/coil_quantities.h"
#include "solver/material_map.h"

namespace tesvid {

ModelState FirstStartModel() {
    ModelState m;
    m.GridSize = 50;
    m.AreaSize = 100;
    m.GridStep = 100 * 0.001 / 50;
    m.SteelMu = 2000;
    m.SteelMaxB = 1.5;
    m.MagBr = 1;
    m.MagHc = 100000;
    m.MagBHmax = 30000;
    FitMagnetCurve(m);
    m.Rjac0 = 0.995;
    m.Rjac1 = 0.9995;
    m.RjacFin = 0.95;
    m.KMu = 0.05;
    m.MainSteps = 10;
    m.MaxTok1 = m.MaxTok2 = 10;
    m.DProv1 = m.DProv2 = 1;
    m.PrintScale = 1;
    m.LineStep = 10;
    m.ShowCrossSections = true;
    m.ShowIntermediate = false;
    m.EditorMode = true;
    return m;
}

std::optional<std::string> CalculateDrawnModel(ModelState& m, const Grid2D<MaterialCode>& material,
                                               CalculationObserver& observer) {
    CoilFigures coil1, coil2;
    ComputeCoilFigures(material, CoilInputs{m.GridStep, m.Current1, m.Current2, m.DProv1, m.DProv2},
                       coil1, coil2);
    m.Current1 = coil1.current;
    m.Current2 = coil2.current;
    m.CurDens1 = coil1.curDens;
    m.CurDens2 = coil2.curDens;
    if (auto refusal = CalculationRefusal(m, material)) {
        return refusal;
    }
    BuildMaterialMap(m, material);
    RunCalculation(m, observer);
    return std::nullopt;
}

}  // namespace tesvid
