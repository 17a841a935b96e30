// tesvid-batch's choice of schedule, tolerance and threads, and what it says on standard error.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "batch_test_support.h"

namespace tesvid::testing {
namespace {

class BatchSchedule : public ::testing::Test {
  protected:
    void SetUp() override {
        ProjectData p = CoilProject(10, 10);
        ASSERT_FALSE(WriteProjectFile(coil_, p));
        Paint(p, 40, 50, 20, 30, MaterialCode::Iron);  // iron reaching the outer edge
        ASSERT_FALSE(WriteProjectFile(edge_, p));
    }
    TempFolder folder_;
    std::string coil_ = folder_.File("coil.tvd"), edge_ = folder_.File("edge.tvd");
};

TEST_F(BatchSchedule, RefusesBadValuesNamingThem) {
    const struct {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {{{"--tolerance", "1e-13"}, "1e-13"},
                 {{"--tolerance=abc"}, "abc"},
                 {{"--schedule", "slow"}, "slow"},
                 {{"--threads", "0"}, "0"},
                 {{"--threads", "65"}, "65"}};
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
    // The last pass line shows the change the sentence states, to the same two digits.
    const std::string& e = converged.err;
    const std::size_t said = e.rfind(", change "), shown = e.rfind(", change ", said - 1);
    ASSERT_NE(e.find(": Converged after "), std::string::npos) << e;
    EXPECT_EQ(e.substr(shown, e.find('\n', shown) - shown) + ".",
              e.substr(said, e.find('\n', said) - said));
    EXPECT_EQ(Batch({"-q", "--probe", "0,25", coil_}).err, "");
    // A fixed schedule that stops short still writes its result.
    const std::string table = folder_.File("short.txt");
    const BatchRun fixed =
        Batch({"--schedule", "fixed", "--main-steps", "0", "--export", table, coil_});
    EXPECT_EQ(fixed.status, kBatchOk) << fixed.err;
    EXPECT_NE(fixed.err.find("Not converged"), std::string::npos) << fixed.err;
    EXPECT_TRUE(std::filesystem::exists(table));
    // The two schedules give different fields; --main-steps alone chooses the fixed one.
    const BatchRun implied = Batch({"-q", "--main-steps", "10", "--probe", "0,25", coil_});
    EXPECT_EQ(implied.out, Batch({"-q", "--schedule", "fixed", "--probe", "0,25", coil_}).out);
    EXPECT_NE(implied.out, converged.out);
    // Iron at the edge: a warning, on any number of threads.
    const BatchRun edge = Batch({"-q", "--threads", "2", "--probe", "0,25", edge_});
    ASSERT_EQ(edge.status, kBatchOk) << edge.err;
    EXPECT_NE(edge.err.find("warning: Iron touches the edge"), std::string::npos) << edge.err;
}

}  // namespace
}  // namespace tesvid::testing
