#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "io/io_test_support.h"
#include "io/project_file.h"
#include "solver/drawn_model.h"

namespace tesvid::testing {

struct BatchRun {
    int status = -1;
    std::string out, err;
};

inline BatchRun Batch(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunBatchCommand(args, out, err);
    return {status, out.str(), err.str()};
}

// Paints the nodes i0..i1, j0..j1 (inclusive) of the project's material.
inline void Paint(ProjectData& p, int i0, int i1, int j0, int j1, MaterialCode code) {
    for (int i = i0; i <= i1; ++i) {
        for (int j = j0; j <= j1; ++j) {
            p.Material(i, j) = code;
        }
    }
}

// The first-start project on a 50 grid over 100 mm with coil 1 at i = 10..12, j = 20..30 of
// 1 mm wire (1e6 A/m2 a ampere); coil 2 is typed (10 A) but not drawn.
inline ProjectData CoilProject(double current1, int mainSteps) {
    Model m;
    m.project = FirstStartProject();
    m.project.Current1 = current1;
    m.project.Current2 = 10;
    m.project.MainSteps = static_cast<std::int16_t>(mainSteps);
    ProjectData p = ProjectFromModel(m);
    p.LastReluctivityStep = 0.5;
    Paint(p, 10, 12, 20, 30, MaterialCode::Coil1);
    return p;
}

}  // namespace tesvid::testing
