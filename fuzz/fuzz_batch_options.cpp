// The batch tool's argument parser: the input split at NUL bytes into arguments, which follow
// a project name, so that the options alone decide whether the parse is good. A parse without
// error gives what the batch command relies on: help or the version, or exactly one project
// named by one of the arguments, a main-step count that fits a pass number and a finite
// relaxation factor of at least 0.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "batch/batch_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args{"project.tvd"};
    std::string arg;
    for (std::size_t k = 0; k < size; ++k) {
        if (data[k] == 0) {
            args.push_back(std::move(arg));
            arg.clear();
        } else {
            arg.push_back(static_cast<char>(data[k]));
        }
    }
    if (!arg.empty()) {
        args.push_back(std::move(arg));
    }
    const tesvid::BatchParseResult parsed = tesvid::ParseBatchArguments(args);
    const tesvid::BatchOptions& o = parsed.options;
    const bool good = !parsed.error.empty() || o.help || o.version ||
                      ((o.newProject.requested ||
                        std::find(args.begin(), args.end(), o.project) != args.end()) &&
                       (!o.mainSteps || (*o.mainSteps >= 0 && *o.mainSteps <= 32763)) &&
                       (!o.kMu || (std::isfinite(*o.kMu) && *o.kMu >= 0)));
    if (!good) {
        __builtin_trap();
    }
    return 0;
}
