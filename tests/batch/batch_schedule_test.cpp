// tesvid-batch's choice of schedule, tolerance and threads, and what it says about the
// calculation on standard error.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "io/project_file.h"

namespace tesvid {
namespace {

namespace fs = std::filesystem;

struct BatchRun {
    int status = -1;
    std::string out;
    std::string err;
};

BatchRun Batch(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    BatchRun r;
    r.status = RunBatchCommand(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

class BatchSchedule : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("tesvid_batch_schedule_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        coil_ = Write("coil.tvd", false);
        edge_ = Write("edge.tvd", true);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // A 50-cell project over 100 mm: a 10 A winding of 1 mm wire at r 20..24 mm, z 40..60 mm,
    // and, when asked, an iron block reaching the outer edge of the area.
    std::string Write(const std::string& name, bool ironAtEdge) {
        ProjectData p;
        p.GridSize = 50;
        p.GridStep = 0.002;
        p.Current1 = 10;
        p.WireDiameter1 = p.WireDiameter2 = 1;
        p.SteelMu = 1000;
        p.SteelSaturationB = 1.6;
        p.MainSteps = 10;
        p.Rjac0 = 0.995;
        p.Rjac1 = 0.9995;
        p.RjacFin = 0.95;
        p.Material.Create(50);
        p.VecPot.Create(50);
        for (int i = 10; i <= 12; ++i) {
            for (int j = 20; j <= 30; ++j) {
                p.Material(i, j) = MaterialCode::Coil1;
            }
        }
        for (int i = 40; ironAtEdge && i <= 50; ++i) {
            for (int j = 20; j <= 30; ++j) {
                p.Material(i, j) = MaterialCode::Iron;
            }
        }
        const std::string path = (folder_ / name).string();
        EXPECT_FALSE(WriteProjectFile(path, p));
        return path;
    }

    fs::path folder_;
    std::string coil_;
    std::string edge_;
};

TEST_F(BatchSchedule, RefusesBadValuesNamingThem) {
    const struct {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {
        {{"--tolerance", "0"}, "0"},         {{"--tolerance", "-1e-5"}, "-1e-5"},
        {{"--tolerance", "1e-13"}, "1e-13"}, {{"--tolerance=abc"}, "abc"},
        {{"--schedule", "slow"}, "slow"},    {{"--threads", "0"}, "0"},
        {{"--threads", "65"}, "65"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(coil_);
        const BatchRun r = Batch(args);
        EXPECT_EQ(r.status, kBatchBadArguments) << c.args[0];
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST_F(BatchSchedule, SaysHowTheCalculationWent) {
    const BatchRun converged = Batch({"--tolerance", "1e-10", "--probe", "0,25", coil_});
    ASSERT_EQ(converged.status, kBatchOk) << converged.err;
    EXPECT_NE(converged.err.find("tesvid-batch: Converged after "), std::string::npos)
        << converged.err;
    EXPECT_EQ(Batch({"-q", "--probe", "0,25", coil_}).err, "");

    // The fixed schedule without main passes stops short: its result is still written.
    const std::string table = (folder_ / "short.txt").string();
    const BatchRun fixed =
        Batch({"--schedule", "fixed", "--main-steps", "0", "--export", table, coil_});
    EXPECT_EQ(fixed.status, kBatchOk) << fixed.err;
    EXPECT_NE(fixed.err.find("Not converged: the field still changed by "), std::string::npos)
        << fixed.err;
    EXPECT_TRUE(fs::exists(table));

    // The two schedules give different fields; --main-steps alone chooses the fixed one.
    const BatchRun implied = Batch({"-q", "--main-steps", "10", "--probe", "0,25", coil_});
    const BatchRun explicitFixed = Batch({"-q", "--schedule", "fixed", "--probe", "0,25", coil_});
    EXPECT_EQ(implied.out, explicitFixed.out);
    EXPECT_NE(implied.out, converged.out);
}

TEST_F(BatchSchedule, WarnsWhenIronTouchesTheEdge) {
    const BatchRun r = Batch({"-q", "--threads", "2", "--probe", "0,25", edge_});
    ASSERT_EQ(r.status, kBatchOk) << r.err;
    EXPECT_NE(r.err.find("warning: Iron touches the edge of the area"), std::string::npos) << r.err;
    EXPECT_EQ(Batch({"-q", "--probe", "0,25", coil_}).err.find("warning"), std::string::npos);
}

}  // namespace
}  // namespace tesvid
