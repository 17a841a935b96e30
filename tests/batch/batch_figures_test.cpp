// --figures and --force-on: the core's figures of the field on show; refusals in one line.
#include <gtest/gtest.h>

#include "batch_test_support.h"
#include "solver/engineering_figures.h"

namespace tesvid::testing {
namespace {

// The number after "key": following the text `after` in a JSON text.
double Number(const std::string& json, const std::string& after, const std::string& key) {
    const std::size_t from = json.find(after);
    EXPECT_NE(from, std::string::npos) << after;
    const std::size_t at = json.find("\"" + key + "\": ", from);
    EXPECT_NE(at, std::string::npos) << key;
    return std::stod(json.substr(at + key.size() + 4));
}

// Coil 1 (1 A, 4 turns a node) below an iron disc at i 0..5, j 10..18, not calculated yet.
ProjectData Unsolved() {
    ProjectData p = CoilProject(1, 20);
    Paint(p, 0, 5, 10, 18, MaterialCode::Iron);
    return p;
}

class BatchFigures : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(WriteProjectFile(unsolved_, Unsolved())); }
    std::string File(const std::string& name) const { return folder_.File(name); }

    TempFolder folder_;
    std::string unsolved_ = folder_.File("unsolved.tvd");
};

TEST_F(BatchFigures, JsonHoldsTheFiguresOfTheStoredField) {
    const BatchRun solved = Batch({"-q", "--save", File("solved.tvd"), "--figures", File("f.json"),
                                   "--force-on", "2,12", "--force-on=11,25", unsolved_});
    ASSERT_EQ(solved.status, 0) << solved.err;
    const std::string json = ReadText(File("f.json"));

    const BatchRun again = Batch({"-q", "--no-solve", "--figures", "-", "--force-on", "2,12",
                                  "--force-on", "11,25", File("solved.tvd")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, json);

    ProjectReadResult read = ReadProjectFile(File("solved.tvd"));
    ASSERT_TRUE(read.project);
    Model m;
    ApplyProject(m, std::move(*read.project));
    ASSERT_FALSE(FiguresRefusal(m).has_value());
    const EngineeringFigures f = ComputeEngineeringFigures(m, {{2, 12}, {11, 25}});
    ASSERT_TRUE(f.energy && f.coil1.inductance);
    EXPECT_NEAR(Number(json, "{", "energy_J"), *f.energy, 1e-8 * *f.energy);
    EXPECT_EQ(Number(json, "\"coil1\"", "turns"), 33 * 4);
    EXPECT_NEAR(Number(json, "\"coil1\"", "inductance_H"), *f.coil1.inductance,
                1e-8 * *f.coil1.inductance);
    EXPECT_NEAR(Number(json, "\"coil1\"", "force_z_N"), f.coil1.forceZ,
                1e-8 * std::abs(f.coil1.forceZ));
    EXPECT_EQ(json.find("\"coil2\""), std::string::npos);  // not on the map

    // The disc above the coil is pulled down towards it; the winding's body is the coil.
    EXPECT_NE(json.find("\"bodies\": [{\"node\": [2, 12], \"material\": \"Iron\", \"nodes\": 54, "
                        "\"touches_edge\": false, \"force_z_N\": "),
              std::string::npos)
        << json;
    EXPECT_GT(Number(json, "\"node\": [2, 12]", "force_z_N"), 0);
    EXPECT_NE(json.find("{\"node\": [11, 25], \"material\": \"Coil 1\", \"nodes\": 33"),
              std::string::npos);
    EXPECT_EQ(Number(json, "\"node\": [11, 25]", "force_z_N"),
              Number(json, "\"coil1\"", "force_z_N"));
    EXPECT_EQ(json.back(), '\n');
}

TEST_F(BatchFigures, RefusalsExitWithOneLine) {
    ASSERT_EQ(Batch({"-q", "--save", File("solved.tvd"), unsolved_}).status, 0);
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"--no-solve", "--figures", "-", unsolved_}, 3, "no calculated field"},
        {{"--figures", "-", "--force-on", "30,30", File("solved.tvd")}, 3, "Vacuum"},
        {{"--figures", "-", "--force-on", "51,20", File("solved.tvd")}, 3, "outside the grid"},
        {{"--force-on", "2,12", File("solved.tvd")}, 2, "--figures"},
        {{"--figures", "-", "--force-on", "2", File("solved.tvd")}, 2, "two integers"},
        {{"--figures", File("solved.tvd")}, 2, "no project file"},
        {{"--new", "--no-solve", "--figures", "-"}, 3, "no figures for the new project:"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-q"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const BatchRun r = Batch(args);
        EXPECT_EQ(r.status, c.status) << c.says;
        EXPECT_EQ(r.out, "") << c.says;  // never a made-up number
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

}  // namespace
}  // namespace tesvid::testing
