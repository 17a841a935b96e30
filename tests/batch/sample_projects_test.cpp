// Every shipped sample opens and carries the potential that a fresh calculation of its own
// geometry gives, so Open Sample followed by Result shows the right field at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "batch/batch_command.h"
#include "io/project_file.h"

namespace tesvid {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> SampleFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(TESVID_SOURCE_DIR) / "samples")) {
        if (entry.path().extension() == ".tvd") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(SampleProjects, AtLeastFiveOnSeveralGridSizes) {
    std::set<int> grids;
    for (const fs::path& file : SampleFiles()) {
        ProjectReadResult read = ReadProjectFile(file.string());
        ASSERT_TRUE(read.project) << file << ": " << read.error;
        grids.insert(read.project->GridSize);
        bool nonzero = false;
        for (double a : read.project->VecPot.Vector()) {
            nonzero = nonzero || a != 0;
        }
        EXPECT_TRUE(nonzero) << file << " was saved without a calculated potential";
        EXPECT_NE(read.project->Comments.find_first_not_of(' '), std::string::npos)
            << file << " has no comment saying what it shows";
    }
    EXPECT_GE(SampleFiles().size(), 5u);
    EXPECT_GE(grids.size(), 3u);
}

TEST(SampleProjects, FreshCalculationReproducesTheStoredPotential) {
    const fs::path out = fs::temp_directory_path() / "tesvid_sample_recalc.tvd";
    for (const fs::path& file : SampleFiles()) {
        std::ostringstream stdOut, stdErr;
        ASSERT_EQ(
            RunBatchCommand({"--quiet", "--save", out.string(), file.string()}, stdOut, stdErr),
            kBatchOk)
            << file << ": " << stdErr.str();
        ProjectReadResult stored = ReadProjectFile(file.string());
        ProjectReadResult fresh = ReadProjectFile(out.string());
        ASSERT_TRUE(stored.project && fresh.project);
        EXPECT_TRUE(stored.project->Material == fresh.project->Material) << file;
        EXPECT_TRUE(stored.project->VecPot == fresh.project->VecPot)
            << file << ": the stored potential is not what the geometry calculates to";
    }
    fs::remove(out);
}

}  // namespace
}  // namespace tesvid
