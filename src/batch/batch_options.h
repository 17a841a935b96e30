#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/new_project.h"

namespace tesvid {

// The parsed command line of tesvid-batch.
struct BatchOptions {
    std::string project;
    std::optional<std::string> exportPath;  // "-" for standard output
    std::optional<std::string> savePath;
    std::optional<std::string> pngPath;
    std::vector<std::pair<int, int>> probes;
    std::optional<int> mainSteps;
    double kMu = 0.05;
    bool noSolve = false;
    bool quiet = false;
    bool help = false;
    bool version = false;

    // --new, --grid, --area, --rect, --set: a project made on the command line
    // (batch/new_project.h); project stays empty.
    NewProjectRequest newProject;

    // Engineering figures: --figures FILE|- and --force-on I,J (repeatable).
    std::optional<std::string> figuresPath;  // "-" for standard output
    std::vector<std::pair<int, int>> forceOn;
};

struct BatchParseResult {
    BatchOptions options;
    std::string error;  // empty when the arguments are good
};

BatchParseResult ParseBatchArguments(const std::vector<std::string>& args);

// The --help text.
std::string BatchUsage();

}  // namespace tesvid
