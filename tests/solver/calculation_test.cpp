// Refusals before the solver, finite results for accepted extremes, the schedule, Stop.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "reference_relaxation.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Iron, both magnets and both coils, with currents.
Model Everything(Grid2D<MaterialCode>& material) {
    material = RingMagnets(50);
    Paint(material, 30, 32, 10, 15, MaterialCode::Coil1);
    Paint(material, 34, 36, 10, 15, MaterialCode::Coil2);
    Model m = MakeModel(50, 100);
    m.project.CurrentDensity1 = 1e6, m.project.CurrentDensity2 = -1e6;
    return m;
}

TEST(CalculationRefusal, NamesTheOffendingValue) {
    using P = Project;
    const struct {
        double Project::*field;
        double value;
        const char* words;
    } cases[] = {
        // clang-format off
        {&P::GridStep, 0, "grid step"}, {&P::GridStep, 1e200, "grid step"},  // h^2 overflows
        {&P::Rjac0, 1.001, "initial Jacoby radius"}, {&P::RjacFin, kNaN, "final Jacoby radius"},
        {&P::Rjac1, -0.01, "main Jacoby radius must lie between 0 and 1 on the 50x50 grid"},
        {&P::SteelMu, 0, "iron Mu"}, {&P::SteelMu, kInf, "iron Mu"},
        {&P::SteelMu, 3.47e-310, "iron Mu"}, {&P::MagMuRec, 1e-310, "magnet permeability"},  // 1/Mu overflows
        {&P::SteelSaturationB, -1, "iron Br"}, {&P::ReluctivityRelaxation, 3.5, "Mu relaxation factor"},
        {&P::SteelMu, 1e6, "iron Mu times the iron Br"}, {&P::MagBr, 0, "magnet Br"},
        {&P::MagHc, 0, "magnet Hc"}, {&P::MagCurveK, -0.1, "curve coefficient"},
        {&P::ReluctivityRelaxation, -0.1, "Mu relaxation factor"},
        {&P::WireDiameter1, 0, "wire diameter of coil 1"}, {&P::WireDiameter2, -1, "wire diameter of coil 2"},
        {&P::CurrentDensity1, kInf, "current density of coil 1"}};
    // clang-format on
    Grid2D<MaterialCode> material;
    EXPECT_FALSE(CalculationRefusal(Everything(material), material));
    for (const auto& c : cases) {
        Model m = Everything(material);
        m.project.*c.field = c.value;
        const std::string refusal = CalculationRefusal(m, material).value_or("");
        EXPECT_NE(refusal.find(c.words), std::string::npos) << refusal << " / " << c.words;
        EXPECT_EQ(refusal.back(), '.');
    }
    Model m = Everything(material);
    m.project.GridSize = 60;
    EXPECT_NE(CalculationRefusal(m, material).value_or("").find("grid must be"), std::string::npos);
    // 1 - N/50 <= R <= 1: on a 100 grid a radius of -1 is allowed.
    m = MakeModel(100, 100);
    m.project.RjacFin = -1;
    EXPECT_FALSE(CalculationRefusal(m, Grid2D<MaterialCode>(100)));
}

TEST(CalculationRefusal, ConstantsOfMaterialsNotDrawnDoNotMatter) {
    Model m = MakeModel(50, 100);
    m.project.SteelMu = m.project.MagBr = m.project.MagMuRec = 0;
    m.project.WireDiameter1 = m.project.WireDiameter2 = 0;
    m.project.ReluctivityRelaxation = -7;
    m.project.MainSteps = -3;  // not refused: no main pass runs
    Grid2D<MaterialCode> material(50);
    Paint(material, 0, 50, 0, 0, MaterialCode::Coil2);  // only on the border: not coils
    Paint(material, 0, 50, 50, 50, MaterialCode::Coil1);
    EXPECT_FALSE(CalculationRefusal(m, material));
    Paint(material, 1, 1, 20, 20, MaterialCode::Iron);  // the first inner column counts
    EXPECT_NE(CalculationRefusal(m, material).value_or("").find("iron Mu"), std::string::npos);
}

TEST(CalculationRefusal, AcceptedExtremesStayFinite) {
    using P = Project;
    // clang-format off
    const std::vector<std::vector<std::pair<double P::*, double>>> extremes = {
        {{&P::Rjac0, 0}, {&P::Rjac1, 1}, {&P::RjacFin, 0}}, {{&P::ReluctivityRelaxation, 3.3}},
        {{&P::SteelMu, 1e-3}}, {{&P::SteelMu, 3e5}}, {{&P::SteelSaturationB, 0}},
        {{&P::GridStep, 1e-9}}};
    // clang-format on
    for (const auto& changes : extremes) {
        Grid2D<MaterialCode> material;
        Model m = Everything(material);
        for (const auto& [field, value] : changes) {
            m.project.*field = value;
        }
        ASSERT_FALSE(CalculationRefusal(m, material));
        BuildMaterialMap(m, material);
        RecordingObserver observer(m);
        RunCalculation(m.arrays, m.project, observer);
        const auto finite = [](const auto& values) {
            return std::all_of(values.begin(), values.end(),
                               [](double v) { return std::isfinite(v); });
        };
        EXPECT_TRUE(finite(m.arrays.Reluctivity.Vector()) && finite(m.field.B.Vector()) &&
                    finite(observer.errors));
        EXPECT_GT(*std::min_element(m.arrays.Reluctivity.Vector().begin(),
                                    m.arrays.Reluctivity.Vector().end()),
                  0);
    }
}

Model PotCoreModel(int mainSteps) {
    Model m = MakeModel(50, 100);
    m.project.MainSteps = static_cast<std::int16_t>(mainSteps);
    m.project.ReluctivityRelaxation = 0.08, m.project.CurrentDensity1 = 3e8;
    BuildMaterialMap(m, PotCore(50));
    return m;
}

std::string Repeat(const std::string& s, int times) {
    return times == 0 ? "" : s + Repeat(s, times - 1);
}

TEST(RunCalculation, RunsTheScheduleOfPasses) {
    for (int mainSteps : {3, 0, -5}) {  // a negative number of main passes runs none
        SCOPED_TRACE(mainSteps);
        Model m = PotCoreModel(mainSteps);
        Model replay = m;
        RecordingObserver observer(m);
        RunCalculation(m.arrays, m.project, observer);
        const int passes = std::max(mainSteps, 0) + 4;

        EXPECT_EQ(observer.events, "bmpey" + Repeat(Repeat("y", 10) + "peyf", passes) + "rx");
        EXPECT_EQ(observer.errors.front(), kErrorIndicatorFullScale);
        std::vector<double> numbers = {0.001};  // the start, then every pass by its number
        for (int pass = 1; pass <= passes; ++pass) {
            numbers.push_back(pass);
        }
        EXPECT_TRUE(observer.progressMaximum == passes && observer.progress == numbers);

        // Initial, half, main, half, zero relaxation: the passes run one by one match bit for bit.
        const double r0 = 0.995, r1 = 0.9995, rf = 0.95, k = 0.08;
        std::vector<std::pair<double, double>> schedule = {{r0, 0}, {(r0 + r1) * 0.5, k / 2}};
        for (int p = 0; p < mainSteps; ++p) {
            schedule.push_back({r1, k});
        }
        schedule.push_back({(r1 + rf) * 0.5, k / 2});
        schedule.push_back({rf, 0});
        CalculationObserver quiet;
        std::vector<double> steps;
        for (std::size_t p = 0; p < schedule.size(); ++p) {
            RelaxPass(
                replay.arrays, replay.project,
                {OptimalOmega(schedule[p].first, 50), schedule[p].second, static_cast<int>(p) + 1},
                quiet);
            steps.push_back(schedule[p].second);
        }
        EXPECT_EQ(observer.steps, steps);
        EXPECT_TRUE(m.arrays.VecPot == replay.arrays.VecPot &&
                    m.arrays.Reluctivity == replay.arrays.Reluctivity);
    }
}

TEST(RunCalculation, StopEndsThePassAndSkipsTheMainPasses) {
    Model m = PotCoreModel(10);
    Model reference = m;
    RecordingObserver observer(m);
    observer.stopAtYield = 3;  // the driver's yield, then iterations 1 and 2 of pass 1
    RunCalculation(m.arrays, m.project, observer);

    // Passes 1, 2, 13 and 14 report; only pass 1 iterated, twice; the result is shown.
    EXPECT_EQ(observer.progress, (std::vector<double>{0.001, 1, 2, 13, 14}));
    EXPECT_EQ(observer.yields, 1 + 2 + 4);
    EXPECT_EQ(observer.events.substr(observer.events.size() - 2), "rx");
    const PassSettings first{OptimalOmega(reference.project.Rjac0, 50), 0, 1};
    ReferenceIteration(reference.arrays, reference.project, first);
    ReferenceIteration(reference.arrays, reference.project, first);
    EXPECT_TRUE(m.arrays.VecPot == reference.arrays.VecPot);
    EXPECT_EQ(m.field.B.N(), 50);
}

TEST(RunCalculation, ModelWithoutSourcesStaysAtZero) {
    Model m = MakeModel(100, 100);
    Grid2D<MaterialCode> material(100);
    Paint(material, 30, 40, 30, 60, MaterialCode::Iron);   // iron but nothing to drive it
    Paint(material, 50, 60, 30, 60, MaterialCode::Coil1);  // a coil without current
    Calculate(m, material, 0);
    EXPECT_EQ(m.arrays.VecPot, Grid2D<double>(100));
    EXPECT_EQ(m.field.B, Grid2D<float>(100));
}

TEST(RunCalculation, SurvivesArraysReplacedDuringAYield) {
    // A yield that changes the grid and rebuilds the map: nothing is read outside the new arrays.
    Model m = MakeModel(50, 100);
    Calculate(m, AirCoil(50), 1e6);
    const Grid2D<double> before = m.arrays.VecPot;
    struct Rebuilding : RecordingObserver {
        Rebuilding(Model& model) : RecordingObserver(model), m(model) {}
        Model& m;
        void Yield() override {
            if (++yields == 4) {
                m.project = MakeModel(100, 100).project;
                BuildMaterialMap(m, AirCoil(100));
            }
        }
    } observer(m);
    RunCalculation(m.arrays, m.project, observer);
    EXPECT_EQ(m.field.B.N(), 100);
    // A pass over arrays of another grid runs nothing; the undefined error shows as full.
    m = MakeModel(50, 100);
    Calculate(m, AirCoil(50), 1e6);
    m.project.GridSize = 100;
    m.arrays.SourceNorm = m.arrays.ResidualSum = 0;
    RecordingObserver quiet(m);
    RelaxPass(m.arrays, m.project, {1.5, 0, 1}, quiet);
    EXPECT_TRUE(m.arrays.VecPot == before);
    EXPECT_EQ(quiet.errors, std::vector<double>{kErrorIndicatorFullScale});
}

}  // namespace
}  // namespace tesvid::testing
