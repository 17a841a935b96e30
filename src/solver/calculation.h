#pragma once

#include <optional>
#include <string>

#include "model/model_state.h"
#include "solver/calculation_observer.h"

namespace tesvid {

// Over-relaxation factor for a Jacobi radius meant for a 100-cell grid, scaled to gridSize.
double OptimalOmega(double rjac, int gridSize);

// Why the model cannot be calculated to a finite result, or nothing when it can. Checks the
// grid, GridStep, SteelMu, the wire diameter of every coil on the map, the three Jacobi radii
// and, when a magnet is on the map, the magnet constants.
std::optional<std::string> CalculationRefusal(const ModelState& m);

// The whole schedule: MainSteps + 4 passes with their Omega and KMuCur, Stop between main
// passes, then observer.ShowResult(). The arrays must have been built for GridSize.
void RunCalculation(ModelState& m, CalculationObserver& observer);

// Br, Bz and |B| on every node from VecPot (re-creates the field arrays at GridSize).
void EvaluateField(ModelState& m);

}  // namespace tesvid
