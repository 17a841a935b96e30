#pragma once

#include "model/model_state.h"
#include "solver/calculation_observer.h"

namespace tesvid {

// Number of red-black iterations of one pass: GridSize / 5 to the nearest integer.
int IterationsPerPass(int gridSize);

// One solver pass at ModelState::Omega and KMuCur: up to IterationsPerPass iterations (each
// ended by the open-boundary update and a yield, Stop tested before each), then the two bars
// (PassNo, and the error indicator limited to the error bar's maximum), a yield and, with
// ShowIntermediate, the potential view.
// The arrays must come from BuildMaterialMap for GridSize (FixedMask derived from Material,
// so never set on a magnetic node); over arrays of another size the pass runs no iteration.
// If an event handler replaces the arrays during a yield, the pass takes them afresh, or ends
// when they no longer fit the grid.
void RelaxPass(ModelState& m, CalculationObserver& observer);

}  // namespace tesvid
