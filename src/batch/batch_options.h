#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/new_project.h"
#include "solver/convergence.h"

namespace tesvid {

// The parsed command line of tesvid-batch.
struct BatchOptions {
    std::string project;
    std::optional<std::string> exportPath;  // "-" for standard output
    std::optional<std::string> savePath;
    std::optional<std::string> pngPath;
    std::vector<std::pair<int, int>> probes;
    std::optional<int> mainSteps;
    std::optional<double> kMu;             // the fixed schedule's mu relaxation (default 0.05)
    std::optional<ScheduleKind> schedule;  // chosen with --schedule
    double tolerance = kDefaultTolerance;
    std::optional<int> threads;
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

// The whole text is a decimal integer (optional minus sign), or nothing.
std::optional<int> WholeInt(std::string_view text);
// The whole text is a finite decimal number (decimal point, optional exponent), or nothing.
std::optional<double> WholeNumber(std::string_view text);

struct BatchParseResult {
    BatchOptions options;
    std::string error;  // empty when the arguments are good
};

BatchParseResult ParseBatchArguments(const std::vector<std::string>& args);

// The schedule a run uses: the one chosen with --schedule; without it, the fixed schedule when
// one of its own options (--main-steps, --kmu) is given, the calculation until converged
// otherwise.
ScheduleKind ChosenSchedule(const BatchOptions& options);

// The most threads --threads accepts (SweepTeam::kMostThreads).
inline constexpr int kMostBatchThreads = 64;

// The --help text.
std::string BatchUsage();

}  // namespace tesvid
