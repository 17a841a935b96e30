#pragma once

#include "model/model.h"
#include "solver/relax_pass.h"

namespace tesvid::testing {

// The relaxation written out plainly, node by node in the order of the algorithm, as the
// yardstick for the solver: one iteration (two half-sweeps, then the open boundary).
void ReferenceIteration(SolverArrays& a, const Project& p, const PassSettings& pass);

// IterationsPerPass(GridSize) reference iterations.
void ReferencePass(SolverArrays& a, const Project& p, const PassSettings& pass);

}  // namespace tesvid::testing
