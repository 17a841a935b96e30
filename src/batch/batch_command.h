#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tesvid {

// Exit statuses of tesvid-batch.
inline constexpr int kBatchOk = 0;
inline constexpr int kBatchBadArguments = 2;
inline constexpr int kBatchBadProject = 3;  // cannot be read, or cannot be calculated
inline constexpr int kBatchOutputFailed = 4;

// tesvid-batch [options] PROJECT.tvd: loads a project as the program does (or, with --new, makes
// one: batch/new_project.h), calculates its field
// (or, with --no-solve, evaluates the stored potential) and writes the requested outputs.
// args are the command-line arguments without the program name; results and help go to out,
// progress and failures to err (one line per failure, naming the file and the reason).
int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tesvid
