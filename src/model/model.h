#pragma once

#include "model/physical_constants.h"
#include "model/project.h"
#include "model/solver_arrays.h"

namespace tesvid {

// A project with the arrays of its calculation and the field evaluated from them: what the
// main window (or the batch tool) holds, saves and shows.
struct Model {
    Project project;
    SolverArrays arrays;
    FieldArrays field;
};

}  // namespace tesvid
