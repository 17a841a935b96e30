#pragma once

#include <optional>
#include <string>

#include "model/grid2d.h"
#include "model/material_code.h"
#include "model/model.h"
#include "solver/calculation_observer.h"
#include "solver/convergence.h"

namespace tesvid {

// The project of a first start (nothing stored yet): 50 grid over 100 mm, iron mu 2000 at
// 1.5 T, magnet 1 T / 100 kA/m / 30 kJ/m3 with its fitted curve, radii 0.995 / 0.9995 / 0.95,
// reluctivity relaxation 0.05, 10 main passes, full-scale currents 10 A, wire 1 mm, print
// scale 1, line step 10, an empty comment. The options dialog, the batch tool and the sample
// generator all start from it.
Project FirstStartProject();

// What CalculateDrawnModel did: the refusal (and nothing else), or the calculation's outcome.
struct DrawnCalculation {
    std::optional<std::string> refusal;
    CalculationOutcome outcome;
};

// Calculates a drawn material map as RUN does: the coil figures from the map and the typed
// currents Current1/2 (a coil not on the map gets current 0), the check that the model can be
// calculated, the material map and the calculation the settings choose (Calculate). Returns
// the refusal, with the model's arrays untouched, when it cannot be calculated.
DrawnCalculation CalculateDrawnModel(Model& m, const Grid2D<MaterialCode>& material,
                                     const CalculationSettings& settings,
                                     CalculationObserver& observer);

}  // namespace tesvid
