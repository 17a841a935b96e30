#include "batch/batch_command.h"

#include <gtest/gtest.h>

#include <charconv>
#include <sstream>
#include <string>
#include <vector>

#include "batch/result_picture.h"
#include "io/io_test_support.h"
#include "io/project_file.h"
#include "io/text_table.h"
#include "solver/calculation.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

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

std::string FileText(const std::string& path) {
    const std::vector<std::uint8_t> b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

std::size_t LineCount(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) {
        n += c == '\n';
    }
    return n;
}

// A 50-cell project over 100 mm with coil 1 at i = 10..12, j = 20..30 carrying 1 A through a
// 1 mm wire (1e6 A/m2), the first-start solver options and a given number of main passes.
ProjectData CoilProject(int mainSteps) {
    Model m;
    m.project.GridSize = 50;
    m.project.GridStep = 0.002;
    m.project.MagBr = 1;
    m.project.MagHc = 100000;
    m.project.MagBHmax = 30000;
    FitMagnetCurve(m.project);
    ProjectData p;
    p.GridSize = 50;
    p.GridStep = 0.002;
    p.Current1 = 1;
    p.Current2 = 10;  // coil 2 is not drawn: the calculation takes 0 A
    p.WireDiameter1 = 1;
    p.WireDiameter2 = 1;
    p.SteelMu = 2000;
    p.SteelSaturationB = 1.5;
    p.MagBr = m.project.MagBr;
    p.MagHc = m.project.MagHc;
    p.MagBHmax = m.project.MagBHmax;
    p.MagCurveK = m.project.MagCurveK;
    p.MainSteps = static_cast<std::int16_t>(mainSteps);
    p.LastReluctivityStep = 0.5;
    p.Rjac0 = 0.995;
    p.Rjac1 = 0.9995;
    p.RjacFin = 0.95;
    p.Comments = "batch test";
    p.Comments.resize(kCommentLength, ' ');
    p.Material.Create(50);
    p.VecPot.Create(50);
    for (int i = 10; i <= 12; ++i) {
        for (int j = 20; j <= 30; ++j) {
            p.Material(i, j) = MaterialCode::Coil1;
        }
    }
    return p;
}

class BatchCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        project_ = folder_.File("coil.tvd");
        ASSERT_FALSE(WriteProjectFile(project_, CoilProject(10)));
    }
    std::string File(const std::string& name) const { return folder_.File(name); }

    TempFolder folder_;
    std::string project_;
};

// The field of a saved project evaluated from its stored potential.
Model EvaluatedFromFile(const std::string& path) {
    ProjectReadResult read = ReadProjectFile(path);
    EXPECT_TRUE(read.project) << read.detail;
    Model m;
    if (read.project) {
        ApplyProject(m, std::move(*read.project));
        EvaluateField(m);
    }
    return m;
}

TEST_F(BatchCommand, CalculatesSavesAndExportsTheSameField) {
    const BatchRun r =
        Batch({"--quiet", "--save", File("out.tvd"), "--export", File("out.txt"), project_});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    const Model saved = EvaluatedFromFile(File("out.tvd"));
    EXPECT_EQ(FileText(File("out.txt")), FormatFieldTable(saved));

    // The coil was calculated: a negative axial field on the axis beside the winding.
    EXPECT_LT(saved.FieldBz(1, 25), -1e-3f);
    EXPECT_GT(saved.FieldBz(1, 25), -1e-2f);

    // Everything but the potential, the last pass's mu factor and the coil 2 current (no
    // coil 2 on the drawing) is stored as it was read.
    ProjectReadResult read = ReadProjectFile(File("out.tvd"));
    ASSERT_TRUE(read.project);
    const ProjectData in = CoilProject(10);
    EXPECT_TRUE(read.project->Material == in.Material);
    EXPECT_EQ(read.project->LastReluctivityStep, 0.0);
    EXPECT_EQ(read.project->Current1, 1.0);
    EXPECT_EQ(read.project->Current2, 0.0);
    EXPECT_EQ(read.project->MainSteps, 10);
    EXPECT_EQ(read.project->MagCurveK, in.MagCurveK);
    EXPECT_EQ(read.project->Comments, in.Comments);
    EXPECT_EQ(read.project->GridStep, 0.002);
}

TEST_F(BatchCommand, ExportToStandardOutputEqualsTheFile) {
    const BatchRun toFile = Batch({"-q", "--export", File("a.txt"), project_});
    const BatchRun toOut = Batch({"-q", "--export", "-", project_});
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    ASSERT_EQ(toOut.status, 0) << toOut.err;
    EXPECT_EQ(toOut.out, FileText(File("a.txt")));
    EXPECT_EQ(LineCount(toOut.out), 2402u);
}

TEST_F(BatchCommand, NoSolveReproducesTheSavedField) {
    ASSERT_EQ(Batch({"-q", "--save", File("solved.tvd"), "--export", File("solved.txt"), project_})
                  .status,
              0);
    const BatchRun again = Batch({"-q", "--no-solve", "--export", File("again.txt"), "--save",
                                  File("again.tvd"), File("solved.tvd")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(FileText(File("again.txt")), FileText(File("solved.txt")));
    // Without a calculation the project is saved as it was loaded.
    EXPECT_EQ(ReadBytes(File("again.tvd")), ReadBytes(File("solved.tvd")));

    // The unsolved input has a zero potential and so a zero field.
    const BatchRun unsolved = Batch({"-q", "--no-solve", "--probe", "1,25", project_});
    ASSERT_EQ(unsolved.status, 0);
    EXPECT_EQ(unsolved.out, "1\t25\t2\t50\t0\t0\t0\n");
}

TEST_F(BatchCommand, ProbeLinesCarryTheNodeValues) {
    const BatchRun r = Batch({"-q", "--save", File("p.tvd"), "--probe", "1,25", "--probe=50,0",
                              "--probe", "0,3", project_});
    ASSERT_EQ(r.status, 0) << r.err;
    const Model m = EvaluatedFromFile(File("p.tvd"));

    std::istringstream lines(r.out);
    std::string line;
    const std::vector<std::pair<int, int>> nodes = {{1, 25}, {50, 0}, {0, 3}};
    for (const auto& [i, j] : nodes) {
        ASSERT_TRUE(std::getline(lines, line));
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string item; std::getline(fields, item, '\t');) {
            f.push_back(item);
        }
        ASSERT_EQ(f.size(), 7u) << line;
        EXPECT_EQ(f[0], std::to_string(i));
        EXPECT_EQ(f[1], std::to_string(j));
        EXPECT_DOUBLE_EQ(std::stod(f[2]), i * 2.0);
        EXPECT_DOUBLE_EQ(std::stod(f[3]), j * 2.0);
        // Nine significant digits bring a single back exactly.
        EXPECT_EQ(static_cast<float>(std::stod(f[4])), m.field.Br(i, j)) << line;
        EXPECT_EQ(static_cast<float>(std::stod(f[5])), m.field.Bz(i, j)) << line;
        EXPECT_EQ(static_cast<float>(std::stod(f[6])), m.field.B(i, j)) << line;
    }
    EXPECT_FALSE(std::getline(lines, line));
}

TEST_F(BatchCommand, ProgressOnStandardErrorUnlessQuiet) {
    const BatchRun r = Batch({"--main-steps", "3", project_});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LineCount(r.err), 7u) << r.err;
    EXPECT_NE(r.err.find("pass 1 of 7, error "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("pass 7 of 7, error "), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");

    EXPECT_EQ(Batch({"--main-steps=0", "-q", project_}).err, "");
    const BatchRun zero = Batch({"--main-steps=0", project_});
    EXPECT_EQ(LineCount(zero.err), 4u) << zero.err;
}

TEST_F(BatchCommand, MainStepsAndKMuChangeTheResult) {
    // An iron block beside the coil, so that the mu relaxation factor matters.
    ProjectData p = CoilProject(4);
    for (int i = 14; i <= 16; ++i) {
        for (int j = 18; j <= 32; ++j) {
            p.Material(i, j) = MaterialCode::Iron;
        }
    }
    const std::string iron = File("iron.tvd");
    ASSERT_FALSE(WriteProjectFile(iron, p));

    const BatchRun base = Batch({"-q", "--probe", "1,25", iron});
    const BatchRun fewer = Batch({"-q", "--main-steps", "1", "--probe", "1,25", iron});
    const BatchRun noMu = Batch({"-q", "--kmu", "0", "--probe", "1,25", iron});
    const BatchRun defaultMu = Batch({"-q", "--kmu", "0.05", "--probe", "1,25", iron});
    for (const BatchRun* r : {&base, &fewer, &noMu, &defaultMu}) {
        ASSERT_EQ(r->status, 0) << r->err;
    }
    EXPECT_NE(base.out, fewer.out);
    EXPECT_NE(base.out, noMu.out);
    EXPECT_EQ(base.out, defaultMu.out);
    EXPECT_EQ(Batch({"-q", "--main-steps", "1", "--probe", "1,25", iron}).out, fewer.out);
}

TEST_F(BatchCommand, BadArgumentsExitWithTwoAndOneLine) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--bogus", project_},
        {"--export"},
        {"--export", "", project_},
        {"--probe", "x", project_},
        {"--probe", "1", project_},
        {"--probe", "1,2,3", project_},
        {"--probe", "51,0", project_},
        {"--probe", "-1,0", project_},
        {"--main-steps", "-1", project_},
        {"--main-steps", "1.5", project_},
        {"--main-steps", "99999", project_},
        {"--kmu", "abc", project_},
        {"--kmu", "-0.1", project_},
        {"--kmu", "inf", project_},
        {"--quiet=1", project_},
        {project_, project_},
    };
    for (const auto& args : cases) {
        const BatchRun r = Batch(args);
        std::string joined;
        for (const auto& a : args) {
            joined += a + " ";
        }
        EXPECT_EQ(r.status, 2) << joined;
        EXPECT_EQ(LineCount(r.err), 1u) << joined << ": " << r.err;
        EXPECT_EQ(r.err.rfind("tesvid-batch: ", 0), 0u) << r.err;
    }
    // The probe outside the grid names the project and the range.
    const BatchRun outside = Batch({"--probe", "51,0", project_});
    EXPECT_NE(outside.err.find("0..50"), std::string::npos) << outside.err;
}

TEST_F(BatchCommand, UnreadableOrUncalculableProjectExitsWithThree) {
    const BatchRun missing = Batch({File("none.tvd")});
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(LineCount(missing.err), 1u);
    EXPECT_NE(missing.err.find(File("none.tvd")), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("Invalid File Format"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("No such file"), std::string::npos) << missing.err;

    const BatchRun folder = Batch({folder_.Path().string()});
    EXPECT_EQ(folder.status, 3);

    ProjectData p = CoilProject(1);
    p.WireDiameter1 = 0;  // a coil with no wire
    ASSERT_FALSE(WriteProjectFile(File("nowire.tvd"), p));
    const BatchRun noWire = Batch({"--export", File("x.txt"), File("nowire.tvd")});
    EXPECT_EQ(noWire.status, 3);
    EXPECT_EQ(LineCount(noWire.err), 1u) << noWire.err;
    EXPECT_NE(noWire.err.find("nowire.tvd"), std::string::npos) << noWire.err;
    EXPECT_FALSE(std::filesystem::exists(File("x.txt")));

    // The stored potential can still be evaluated without calculating.
    EXPECT_EQ(Batch({"-q", "--no-solve", File("nowire.tvd")}).status, 0);
}

TEST_F(BatchCommand, OutputThatCannotBeWrittenExitsWithFour) {
    testing::WriteBytes(File("plain"), {1});
    const BatchRun r = Batch({"-q", "--export", folder_.Path().string(), "--save",
                              File("plain") + "/x.tvd", "--probe", "1,1", project_});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(LineCount(r.err), 2u) << r.err;
    EXPECT_NE(r.err.find(folder_.Path().string() + ":"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(File("plain") + "/x.tvd"), std::string::npos) << r.err;
    // The outputs that could be written still are.
    EXPECT_EQ(LineCount(r.out), 1u);
}

TEST_F(BatchCommand, PngIsWrittenWhenThisBuildCanDrawIt) {
    const BatchRun r = Batch({"-q", "--png", File("field.png"), project_});
    if (!ResultPictureSupported()) {
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(LineCount(r.err), 1u);
        return;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::uint8_t> png = ReadBytes(File("field.png"));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");

    const BatchRun bad = Batch({"-q", "--png", folder_.Path().string(), project_});
    EXPECT_EQ(bad.status, 4);
    EXPECT_NE(bad.err.find(folder_.Path().string()), std::string::npos) << bad.err;
}

TEST(BatchCommandInfo, HelpAndVersion) {
    const BatchRun help = Batch({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: tesvid-batch [options] PROJECT.tvd"), std::string::npos);
    for (const char* option : {"--export", "--save", "--probe", "--png", "--main-steps", "--kmu",
                               "--no-solve", "--quiet", "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const BatchRun version = Batch({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tesvid-batch ", 0), 0u);
    EXPECT_NE(version.out.find_first_of("0123456789"), std::string::npos) << version.out;
    EXPECT_EQ(version.out.find("unknown"), std::string::npos) << version.out;
}

}  // namespace
}  // namespace tesvid
