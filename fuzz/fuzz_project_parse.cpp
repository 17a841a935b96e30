// Feeds arbitrary bytes to the project-file reader and puts every image it accepts through the
// checks that come before its arrays are used: the values taken into the model, the texts the
// window shows of them, the coil figures of its material map and the check that refuses what
// cannot be calculated. Fast enough to try thousands of small images a second;
// fuzz_project_roundtrip takes accepted images on through the arrays, evaluation and writing.
#include <cstddef>
#include <cstdint>

#include "io/project_file.h"
#include "model/number_format.h"
#include "solver/calculation.h"
#include "solver/coil_quantities.h"
#include "solver/drawn_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tesvid;
    const ProjectReadResult read = ParseProject(data, size);
    if (!read.project) {
        if (read.error != kInvalidFileFormat || read.detail.empty()) {
            __builtin_trap();
        }
        return 0;
    }
    const ProjectData& p = *read.project;
    static const Project start = FirstStartProject();
    Model m;
    m.project = start;
    ApplyProjectValues(m, p);
    GeneralTextSingle(m.project.AreaSize);
    GeneralText(m.project.Current1);
    GeneralText(m.project.Current2);

    // As RUN and the batch tool start a calculation.
    CoilFigures coil1, coil2;
    ComputeCoilFigures(p.Material,
                       CoilInputs{m.project.GridStep, m.project.Current1, m.project.Current2, m.project.WireDiameter1, m.project.WireDiameter2}, coil1,
                       coil2);
    m.project.CurrentDensity1 = coil1.curDens;
    m.project.CurrentDensity2 = coil2.curDens;
    CalculationRefusal(m, p.Material);
    return 0;
}
