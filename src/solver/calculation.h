#pragma once

#include <optional>
#include <string>

#include "model/model_state.h"
#include "solver/calculation_observer.h"

namespace tesvid {

// Over-relaxation factor for a Jacobi radius meant for a 100-cell grid, scaled to gridSize.
double OptimalOmega(double rjac, int gridSize);

// Why the model cannot be calculated to a finite result with the given material map (sampled,
// not yet built), or nothing when it can. Checks the grid size, GridStep, SteelMu and SteelMaxB
// when iron is on the map, the wire diameter of every coil on the map, the three Jacobi radii
// and, when a magnet is on the map, the magnet constants (MagBr, MagHc, MagCurveK, MagMuRec).
// The message is one sentence naming the value, for a message box.
std::optional<std::string> CalculationRefusal(const ModelState& m,
                                              const Grid2D<MaterialCode>& material);

// The whole schedule: MainSteps + 4 passes with their Omega and KMuCur, Stop between main
// passes, then observer.ShowResult(). The arrays must have been built for GridSize.
void RunCalculation(ModelState& m, CalculationObserver& observer);

// Br, Bz and |B| on every node from VecPot (re-creates the field arrays at GridSize).
void EvaluateField(ModelState& m);

}  // namespace tesvid
