// Feeds arbitrary bytes to the project-file reader; every image it accepts is taken into a
// model and its stored potential evaluated, as opening a project and showing its result does.
#include <cstddef>
#include <cstdint>

#include "io/project_file.h"
#include "model/model.h"
#include "solver/calculation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tesvid::ProjectReadResult read = tesvid::ParseProject(data, size);
    if (!read.project) {
        return 0;
    }
    tesvid::Model m;
    tesvid::ApplyProject(m, std::move(*read.project));
    tesvid::EvaluateField(m);
    // The written image of what was loaded must be readable again.
    const tesvid::ProjectData saved = tesvid::ProjectFromModel(m);
    const std::vector<std::uint8_t> bytes = tesvid::SerializeProject(saved);
    if (!tesvid::ParseProject(bytes.data(), bytes.size()).project) {
        __builtin_trap();
    }
    return 0;
}
