#pragma once

#include "model/model_state.h"
#include "solver/calculation_observer.h"

namespace tesvid {

// Number of red-black iterations of one pass: GridSize / 5 to the nearest integer.
int IterationsPerPass(int gridSize);

// One solver pass at ModelState::Omega and KMuCur: up to IterationsPerPass iterations (each
// ended by the open-boundary update and a yield, Stop tested before each), then the two bars.
void RelaxPass(ModelState& m, CalculationObserver& observer);

}  // namespace tesvid
