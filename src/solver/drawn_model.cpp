#include "solver/drawn_model.h"

#include "solver/calculation.h"
#include "solver/coil_quantities.h"
#include "solver/material_map.h"

namespace tesvid {

Project FirstStartProject() {
    Project p;
    p.GridSize = 50;
    p.AreaSize = 100;
    p.GridStep = 100 * 0.001 / 50;
    p.SteelMu = 2000;
    p.SteelSaturationB = 1.5;
    p.MagBr = 1;
    p.MagHc = 100000;
    p.MagBHmax = 30000;
    FitMagnetCurve(p);
    p.Rjac0 = 0.995;
    p.Rjac1 = 0.9995;
    p.RjacFin = 0.95;
    p.ReluctivityRelaxation = 0.05;
    p.MainSteps = 10;
    p.SliderFullScale1 = p.SliderFullScale2 = 10;
    p.WireDiameter1 = p.WireDiameter2 = 1;
    p.PrintScale = 1;
    p.LineStep = 10;
    return p;
}

DrawnCalculation CalculateDrawnModel(Model& m, const Grid2D<MaterialCode>& material,
                                     const CalculationSettings& settings,
                                     CalculationObserver& observer) {
    CoilFigures coil1, coil2;
    ComputeCoilFigures(material, CoilInputs{m.project.GridStep, m.project.Current1, m.project.Current2, m.project.WireDiameter1, m.project.WireDiameter2},
                       coil1, coil2);
    m.project.Current1 = coil1.current;
    m.project.Current2 = coil2.current;
    m.project.CurrentDensity1 = coil1.curDens;
    m.project.CurrentDensity2 = coil2.curDens;
    DrawnCalculation result;
    result.refusal = CalculationRefusal(m, material);
    if (result.refusal) {
        return result;
    }
    BuildMaterialMap(m, material);
    result.outcome = Calculate(m.arrays, m.project, settings, observer);
    return result;
}

}  // namespace tesvid
