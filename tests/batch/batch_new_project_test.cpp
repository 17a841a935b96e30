#include <gtest/gtest.h>

#include <cstring>

#include "batch_test_support.h"
#include "model/typed_rectangle.h"

namespace tesvid::testing {
namespace {

// --new calculates, bit for bit, the field of the same rectangles painted on the grid (the
// window's drawing samples to the same grid: typed_rectangle_test).
TEST(BatchNewProjectTest, PotCoreMatchesTheGridPaintingPath) {
    const std::pair<std::string, TypedRectangle> potCore[] = {
        {"Iron:0,10,30,70", {"Iron", 0, 10, 30, 70}},
        {"Iron:24,30,30,70", {"Iron", 24, 30, 30, 70}},
        {"Iron:0,30,70,74", {"Iron", 0, 30, 70, 74}},
        {"Coil1:12,22,34,66", {"Coil1", 12, 22, 34, 66}}};
    TempFolder folder;
    const std::string path = folder.File("pot.tvd");
    std::vector<std::string> args = {
        "--new",          "--grid=100",      "--area=100", "-q", "--save", path, "--set=Current1=2",
        "--set=DProv1=1", "--schedule=fixed"};
    Grid2D<MaterialCode> painted(100);
    for (const auto& [text, rect] : potCore) {
        args.insert(args.end(), {"--rect", text});
        ASSERT_FALSE(PaintRectangle(painted, rect, 100));
    }
    ASSERT_EQ(Batch(args).status, kBatchOk);
    const ProjectReadResult made = ReadProjectFile(path);
    ASSERT_TRUE(made.project) << made.detail;

    Model m;
    m.project = FirstStartProject();
    m.project.GridSize = 100, m.project.GridStep = 0.001, m.project.Current1 = 2;
    CalculationObserver quiet;
    ASSERT_FALSE(CalculateDrawnModel(m, painted, FixedSchedule(), quiet).refusal);

    EXPECT_EQ(made.project->Material, painted);
    int coil = 0, iron = 0;
    for (MaterialCode c : painted.Vector()) {
        coil += c == MaterialCode::Coil1;
        iron += c == MaterialCode::Iron;
    }
    EXPECT_EQ(coil, 11 * 33);                             // 12..22 by 34..66
    EXPECT_EQ(iron, 11 * 41 + 7 * 41 + 31 * 5 - 11 - 7);  // core, shell, plate less overlaps
    ASSERT_EQ(made.project->VecPot.Size(), m.arrays.VecPot.Size());
    EXPECT_EQ(0, std::memcmp(made.project->VecPot.Data(), m.arrays.VecPot.Data(),
                             m.arrays.VecPot.Size() * sizeof(double)));
    EXPECT_LT(m.arrays.VecPot(20, 50), 0);  // the 2 A do make a field
}

TEST(BatchNewProjectTest, SetTakesProjectFieldsByTheirFileNames) {
    TempFolder folder;
    const std::string path = folder.File("set.tvd");
    // clang-format off
    ASSERT_EQ(Batch({"--new", "--no-solve", "--area", "33.3", "--save", path,
                     "--set=current2=-3", "--set=DProv2=0.5", "--set=SteelMu=1500",
                     "--set=SteelMaxB=1.2", "--set=MagBr=-1.2", "--set=MagHc=900000",
                     "--set=MagBHmax=300000", "--set=MainSteps=32763", "--set=RjacFin=0.9",
                     "--set=Comments=Gr\xC3\xB6\xC3\x9F!", "--rect=nonmag.:3.33,6.66,0,33.3"}).status,
              kBatchOk);
    // clang-format on
    const ProjectReadResult r = ReadProjectFile(path);
    ASSERT_TRUE(r.project) << r.detail;
    const ProjectData& p = *r.project;
    const Project first = FirstStartProject();
    EXPECT_EQ(p.GridSize, 50);
    EXPECT_NEAR(p.GridStep, 0.000666, 1e-10);  // the area is held as a single
    const double set[] = {p.Current2, p.WireDiameter2, p.SteelMu, p.SteelSaturationB, p.MagBr,
                          p.MagHc,    p.MagBHmax,      p.RjacFin, double(p.MainSteps)};
    EXPECT_EQ(std::vector<double>(std::begin(set), std::end(set)),
              (std::vector<double>{-3, 0.5, 1500, 1.2, 1.2, 900000, 300000, 0.9, 32763}));
    EXPECT_NE(p.MagCurveK, first.MagCurveK);  // refitted
    EXPECT_EQ(p.Rjac0, first.Rjac0);
    EXPECT_EQ(p.Comments.substr(0, 6), "Gr\xF6\xDF! ");
    // 3.33..6.66 mm on 0.666 mm steps: nodes 5..10, every row.
    using enum MaterialCode;
    EXPECT_EQ(
        std::make_tuple(p.Material(5, 0), p.Material(10, 50), p.Material(4, 0), p.Material(11, 50)),
        std::make_tuple(Nonmag, Nonmag, Vacuum, Vacuum));
}

TEST(BatchNewProjectTest, BadArgumentsExitTwoNamingTheArgumentAndWriteNothing) {
    struct Case {
        std::string option, value, named;  // named: what the message must name
    };
    // clang-format off
    const Case cases[] = {
        {"--grid", "64", "64"}, {"--area", "0", "0"}, {"--area", "-", "-"},
        {"--rect", "Iron:0,10,30,170", "z 30..170 mm"}, {"--rect", "Iron:0,10,30", "Iron:0,10,30"},
        {"--rect", "Brass:0,10,30,70", "unknown material \"Brass\""},
        {"--set", "Speed=1", "unknown field \"Speed\""}, {"--set", "SteelMu=x", "SteelMu=x"}, {"--set", "MainSteps=32764", "0 to 32763"},
        {"--set", "MagHc=300000", "MagBHmax 30000 must lie between"}};  // below Br*Hc/4
    // clang-format on
    TempFolder folder;
    const std::string path = folder.File("kept.tvd");
    WriteBytes(path, {1, 2, 3});
    for (const Case& c : cases) {
        const auto [status, out, err] = Batch({"--new", "--save", path, c.option, c.value});
        EXPECT_EQ(status, kBatchBadArguments) << c.value;
        EXPECT_NE(err.find(c.option), std::string::npos) << err;
        EXPECT_NE(err.find(c.named), std::string::npos) << err;
        EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 3})) << c.value;
    }
}

}  // namespace
}  // namespace tesvid::testing
