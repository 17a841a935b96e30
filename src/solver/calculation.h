#pragma once

#include <optional>
#include <string>

#include "model/model.h"
#include "solver/calculation_observer.h"
#include "solver/convergence.h"

namespace tesvid {

// Over-relaxation factor for a Jacobi radius meant for a 100-cell grid, scaled to gridSize.
double OptimalOmega(double rjac, int gridSize);

// Why the model cannot be calculated to a finite result with the given material map (sampled,
// not yet built), or nothing when it can. Call it after the coil figures have been stored
// (CurrentDensity1/2) and before BuildMaterialMap. Checks the grid size, GridStep, the three Jacobi
// radii and the two means the schedule uses (1 - GridSize/50 <= R <= 1); when iron is on the
// map SteelMu (1e-100 .. 1e100, so that its reciprocal is finite) and SteelSaturationB (and their
// product, at most 5e5 T, up to which the reluctivity curve stays computable where the field
// vanishes); when a magnet is, MagBr, MagHc, MagCurveK and MagMuRec (likewise its range and
// their product); with
// either, ReluctivityRelaxation (0 .. 3.3, beyond which the reluctivity can reach 0); for every coil on the map
// (inner nodes) its wire diameter and the finiteness of its source. A negative MainSteps is
// not refused: it runs no main pass. The message is one sentence naming the value, for a
// message box.
std::optional<std::string> CalculationRefusal(const Model& m,
                                              const Grid2D<MaterialCode>& material);

// A whole calculation as settings.schedule says, then observer.ShowResult() and
// observer.EndCalculation(); returns how it ended (OutcomeSentence puts it in words).
//
// Fixed: MainSteps + 4 passes with their over-relaxation and reluctivity steps, Stop between
// main passes. The arrays must have been built for GridSize (a pass over arrays of another size
// runs no iteration). MainSteps below 0 counts as 0; above 32763 as 32763, so that every pass
// number fits PassNo. With settings.threads > 1 the sweeps are shared between threads, with
// the same potential to the last bit. The measure of every pass is reported (PassMeasured);
// the outcome is Converged when the last pass changed B by less than settings.tolerance.
// Converge: see RunUntilConverged (solver/converged_calculation.h).
//
// Either way, a calculation whose potential becomes non-finite or whose change keeps growing
// pass after pass (DivergenceWatch) ends as Diverged, leaves VecPot and Reluctivity as they were
// before it and shows no result (ShowResult is not called).
//
// Runs on the calling thread (the window may call it on a worker thread): it touches nothing
// but the arrays, the project it reads and the observer.
CalculationOutcome Calculate(SolverArrays& arrays, const Project& project,
                             const CalculationSettings& settings, CalculationObserver& observer);

// The fixed schedule on one thread (Calculate with FixedSchedule()).
void RunCalculation(SolverArrays& arrays, const Project& project, CalculationObserver& observer);

// Br, Bz and |B| on every node from VecPot (re-creates the field arrays at GridSize), with the
// differences the calculation chose (SolverArrays::Differences): one-sided as below, or centred
// at every node (field_differences.h), the edges and corners included.
void EvaluateField(Model& m);

}  // namespace tesvid
