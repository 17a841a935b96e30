#pragma once

#include "model/model_state.h"

namespace tesvid::testing {

// The relaxation written out plainly, node by node in the order of the algorithm, as the
// yardstick for the solver: one iteration (two half-sweeps, then the open boundary).
void ReferenceIteration(ModelState& m);

// IterationsPerPass(GridSize) reference iterations at the model's Omega and KMuCur.
void ReferencePass(ModelState& m);

}  // namespace tesvid::testing
