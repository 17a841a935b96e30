#pragma once

#include "model/model.h"
#include "solver/calculation_observer.h"

namespace tesvid {

class SweepTeam;

// What changes from one pass of the schedule to the next.
struct PassSettings {
    double omega = 1;            // over-relaxation factor
    double reluctivityStep = 0;  // how far nu moves towards its material curve per visit (0: stays)
    int passNumber = 0;          // shown on the progress bar at the end of the pass
};

// The error indicator shown at the end of a pass: ln(residualSum / sourceNorm + 0.1) + 2.5,
// at most kErrorIndicatorFullScale.
double ErrorIndicator(double residualSum, double sourceNorm);

// Number of red-black iterations of one pass: GridSize / 5 to the nearest integer.
int IterationsPerPass(int gridSize);

// One solver pass: up to IterationsPerPass iterations (each ended by the open-boundary update
// and a yield, Stop tested before each), then the progress value (the pass number), the error
// indicator, a yield and PassFinished.
// The arrays must come from BuildMaterialMap for project.GridSize (UniformStencil derived from
// Material, so never set on a magnetic node); over arrays of another size the pass runs no
// iteration.
// With a team of two or more threads (and a grid of at least 100 cells) the columns of every
// half-sweep are shared between its threads; the potential and the reluctivity come out the
// same to the last bit, only ResidualSum may differ in its last digits (it is summed in
// another order).
void RelaxPass(SolverArrays& arrays, const Project& project, const PassSettings& pass,
               CalculationObserver& observer, SweepTeam* team = nullptr);

}  // namespace tesvid
