#pragma once

#include <vector>

#include "model/grid2d.h"
#include "model/material_code.h"
#include "model/model.h"
#include "solver/calculation_observer.h"
#include "solver/convergence.h"

namespace tesvid {

class SweepTeam;

// The calculation until converged (ScheduleKind::Converge).
//
// It solves the relaxation's equations for the potential and the iron's and magnets'
// reluctivity (FieldProblem), with three differences: the source of every node is its own
// (PaintedSource), the boundary is the fitted multipole expansion (MultipoleBoundary), and
// the field is evaluated at the nodes with centred differences.
//
// Nested grids: the same problem is first solved on grids of a half, a quarter, ... of the
// cells (down to 50), each started from the one below, so that the passes on the
// calculation's own grid start close to its solution. A pass is one Newton step on the
// calculation's grid; the passes end when the change of B in a pass (FieldChange) falls below
// settings.tolerance, after settings.passLimit passes, on Stop, or when the potential becomes
// non-finite or the change keeps growing (DivergenceWatch: diverged).
//
// The work happens in arrays of its own: the caller's VecPot and Reluctivity receive the
// result at the end (with Differences = Centred), and stay as they were when the calculation
// diverges. PassFinished sees a working copy of the arrays. The arrays must have been built
// for project.GridSize; Source, UniformStencil and the stencil coefficients are read from
// Material and the project, not from the arrays.
CalculationOutcome RunUntilConverged(SolverArrays& arrays, const Project& project,
                                     const CalculationSettings& settings,
                                     CalculationObserver& observer, SweepTeam* team);

// The right-hand side of the calculation until converged: mu0 J h^2 on every inner node of a
// winding (no averaging with the node above), and each magnet face's sheet current (mu0 Hc h
// a node, signed as in the material map) shared equally by the nodes on either side of the
// face, where the painted boundary of the magnet lies. A share that would fall on the axis or
// the outer boundary goes to the inner node instead.
std::vector<double> PaintedSource(const Grid2D<MaterialCode>& material, const Project& project);

// Where the open boundary's expansion is centred (node units along the axis): the mean axial
// position of the iron, magnet and winding nodes weighted by their radius, or the middle of
// the area when there are none.
double ExpansionCentre(const Grid2D<MaterialCode>& material);

}  // namespace tesvid
