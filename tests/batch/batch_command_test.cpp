#include "batch/batch_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "batch/result_picture.h"
#include "batch_test_support.h"
#include "io/text_table.h"
#include "solver/calculation.h"
#include "solver/drawn_model.h"

namespace tesvid {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;

using testing::BatchRun;

BatchRun Batch(std::vector<std::string> args) {
    args.insert(args.begin(), "--schedule=fixed");
    return testing::Batch(args);
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

ProjectData CoilProject(int mainSteps) {
    return testing::CoilProject(1, mainSteps);
}

Model EvaluatedFromFile(const std::string& path) {
    ProjectReadResult read = ReadProjectFile(path);
    Model m;
    if (read.project) {
        ApplyProject(m, std::move(*read.project));
        EvaluateField(m);
    }
    return m;
}

class BatchCommand : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(WriteProjectFile(project_, CoilProject(10))); }
    std::string File(const std::string& name) const { return folder_.File(name); }
    testing::TempFolder folder_;
    std::string project_ = folder_.File("coil.tvd");
};

TEST_F(BatchCommand, CalculatesSavesExportsAndProbesTheSameField) {
    const BatchRun r = Batch({"--quiet", "--save", File("out.tvd"), "--export", File("out.txt"),
                              "--probe", "1,25", "--probe=50,0", project_});
    ASSERT_EQ(r.status, kBatchOk) << r.err;
    EXPECT_EQ(r.err, "");
    const Model saved = EvaluatedFromFile(File("out.tvd"));
    EXPECT_EQ(ReadText(File("out.txt")), FormatFieldTable(saved));
    EXPECT_EQ(Batch({"-q", "--export", "-", project_}).out, ReadText(File("out.txt")));
    EXPECT_LT(saved.field.Bz(1, 25), -3e-3f);
    // Probe lines: node, position in mm, Br, Bz, |B|; nine digits bring a single back exactly.
    std::istringstream lines(r.out);
    for (const auto& [i, j] : {std::pair{1, 25}, {50, 0}}) {
        double f[7] = {};
        lines >> f[0] >> f[1] >> f[2] >> f[3] >> f[4] >> f[5] >> f[6];
        EXPECT_EQ(std::vector<double>(f, f + 4),
                  (std::vector<double>{1.0 * i, 1.0 * j, 2.0 * i, 2.0 * j}));
        EXPECT_EQ(
            std::vector<float>(f + 4, f + 7),
            (std::vector<float>{saved.field.Br(i, j), saved.field.Bz(i, j), saved.field.B(i, j)}));
    }
    // Saved as read but for the potential, 0 A in the undrawn coil 2 and the last pass's 0.
    ProjectData in = CoilProject(10), out = *ReadProjectFile(File("out.tvd")).project;
    EXPECT_EQ(out.Current2, 0.0);
    EXPECT_EQ(out.LastReluctivityStep, 0.0);
    in.Current2 = 0, in.LastReluctivityStep = 0, in.VecPot = out.VecPot;
    EXPECT_EQ(SerializeProject(in), SerializeProject(out));
}

TEST_F(BatchCommand, OptionsChangeWhatIsCalculated) {
    // Without solving, the stored (zero) potential; one progress line per pass unless quiet.
    EXPECT_EQ(Batch({"-q", "--no-solve", "--probe", "1,25", project_}).out,
              "1\t25\t2\t50\t0\t0\t0\n");
    const BatchRun r = Batch({"--main-steps", "3", project_});
    EXPECT_EQ(Lines(r.err), 7u + 1) << r.err;  // and the sentence of how it ended
    EXPECT_NE(r.err.find("pass 7 of 7, error "), std::string::npos) << r.err;
    ProjectData p = CoilProject(4);
    testing::Paint(p, 15, 15, 18, 32, MaterialCode::Iron);
    ASSERT_FALSE(WriteProjectFile(project_, p));
    const auto probe = [&](std::vector<std::string> options) {
        options.insert(options.end(), {"-q", "--probe", "1,25", project_});
        return Batch(options).out;
    };
    const std::string base = probe({});
    EXPECT_NE(base, probe({"--main-steps", "1"}));
    EXPECT_NE(base, probe({"--kmu", "0"}));
    EXPECT_EQ(base, probe({"--kmu", "0.05"}));
}

TEST_F(BatchCommand, ExitStatusNamesWhatWentWrong) {
    const std::string q = project_;
    // clang-format off
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--bogus", q}, {"--export"}, {"--export", "", q}, {"--probe", "1,2,3", q},
             {"--probe", "51,0", q}, {"--probe", "-1,0", q}, {"--main-steps", "-1", q},
             {"--main-steps", "99999", q}, {"--kmu", "-0.1", q}, {"--kmu", "inf", q}, {q, q}}) {
        // clang-format on
        const BatchRun r = Batch(args);
        EXPECT_EQ(r.status, kBatchBadArguments) << ::testing::PrintToString(args);
        EXPECT_EQ(Lines(r.err), 1u) << r.err;
        EXPECT_EQ(r.err.rfind("tesvid-batch: ", 0), 0u) << r.err;
    }
    EXPECT_NE(Batch({"--probe", "51,0", project_}).err.find("0..50"), std::string::npos);

    // A project that cannot be read or calculated: 3, naming the file and the reason.
    const BatchRun missing = Batch({File("none.tvd")});
    EXPECT_EQ(missing.status, kBatchBadProject);
    EXPECT_NE(missing.err.find(File("none.tvd") + ": Invalid File Format (No such file"),
              std::string::npos)
        << missing.err;
    EXPECT_EQ(Batch({folder_.Path().string()}).status, kBatchBadProject);
    ProjectData p = CoilProject(1);
    p.WireDiameter1 = 0;  // a coil with no wire
    ASSERT_FALSE(WriteProjectFile(File("nowire.tvd"), p));
    const BatchRun noWire = Batch({"--export", File("x.txt"), File("nowire.tvd")});
    EXPECT_EQ(noWire.status, kBatchBadProject);
    EXPECT_NE(noWire.err.find("nowire.tvd"), std::string::npos) << noWire.err;
    EXPECT_FALSE(fs::exists(File("x.txt")));
    EXPECT_EQ(Batch({"-q", "--no-solve", File("nowire.tvd")}).status, kBatchOk);

    // Outputs that cannot be written: 4, one line each; the others are still written.
    testing::WriteText(File("plain"), "x");
    const BatchRun r = Batch({"-q", "--export", folder_.Path().string(), "--save",
                              File("plain") + "/x.tvd", "--probe", "1,1", project_});
    EXPECT_EQ(r.status, kBatchOutputFailed);
    EXPECT_EQ(Lines(r.err), 2u) << r.err;
    EXPECT_NE(r.err.find(File("plain") + "/x.tvd"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(folder_.Path().string() + ": "), std::string::npos) << r.err;
    EXPECT_EQ(Lines(r.out), 1u);
}

TEST_F(BatchCommand, PngWhenThisBuildCanDrawIt) {
    const BatchRun r = Batch({"-q", "--png", File("field.png"), project_});
    if (!ResultPictureSupported()) {
        EXPECT_EQ(r.status, kBatchBadArguments);
        return;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(File("field.png")).substr(1, 3), "PNG");
    const BatchRun bad = Batch({"-q", "--png", folder_.Path().string(), project_});
    EXPECT_EQ(bad.status, kBatchOutputFailed);
    EXPECT_NE(bad.err.find(folder_.Path().string()), std::string::npos) << bad.err;
}

// Every sample stores the potential a fresh calculation of its geometry gives.
TEST(SampleProjects, FreshCalculationReproducesTheStoredPotential) {
    testing::TempFolder folder;
    std::set<int> grids;
    int samples = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(TESVID_SOURCE_DIR) / "samples")) {
        if (entry.path().extension() != ".tvd") {
            continue;
        }
        ++samples;
        const std::string file = entry.path().string();
        const BatchRun r = Batch({"--quiet", "--save", folder.File("out.tvd"), file});
        ASSERT_EQ(r.status, kBatchOk) << file << ": " << r.err;
        const ProjectReadResult stored = ReadProjectFile(file),
                                fresh = ReadProjectFile(folder.File("out.tvd"));
        ASSERT_TRUE(stored.project && fresh.project) << file;
        grids.insert(stored.project->GridSize);
        EXPECT_NE(stored.project->Comments.find_first_not_of(' '), std::string::npos) << file;
        EXPECT_NE(stored.project->VecPot, Grid2D<double>(stored.project->GridSize)) << file;
        EXPECT_TRUE(stored.project->VecPot == fresh.project->VecPot)
            << file << ": the stored potential is not what the geometry calculates to";
    }
    EXPECT_GE(samples, 5);
    EXPECT_GE(grids.size(), 3u);
}

}  // namespace
}  // namespace tesvid
