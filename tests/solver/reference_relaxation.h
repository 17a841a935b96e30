#pragma once

#include "model/model.h"

namespace tesvid::testing {

// The relaxation written out plainly, node by node in the order of the algorithm, as the
// yardstick for the solver: one iteration (two half-sweeps, then the open boundary).
void ReferenceIteration(Model& m);

// IterationsPerPass(GridSize) reference iterations at the model's Omega and LastReluctivityStep.
void ReferencePass(Model& m);

}  // namespace tesvid::testing
