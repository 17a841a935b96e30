// The calculation driver and the pass: schedule, bars, Stop, and a model without sources.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "reference_relaxation.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver/relax_pass.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

TEST(OptimalOmega, ScalesTheJacobiRadiusWithTheGrid) {
    EXPECT_NEAR(OptimalOmega(0.9995, 50), 1.91441, 5e-6);
    EXPECT_NEAR(OptimalOmega(0.9995, 100), 1.93870, 5e-6);
    EXPECT_NEAR(OptimalOmega(0.9995, 200), 1.95626, 5e-6);
    EXPECT_NEAR(OptimalOmega(0.9995, 400), 1.96887, 5e-6);
    // The ends of the accepted range: R = 1 gives 2, R = 1 - N/50 gives rho = -1, also 2.
    EXPECT_EQ(OptimalOmega(1, 100), 2);
    EXPECT_EQ(OptimalOmega(-1, 100), 2);
}

TEST(RelaxPass, IterationsGrowWithTheGrid) {
    EXPECT_EQ(IterationsPerPass(50), 10);
    EXPECT_EQ(IterationsPerPass(100), 20);
    EXPECT_EQ(IterationsPerPass(200), 40);
    EXPECT_EQ(IterationsPerPass(400), 80);
}

Model CoilModel(int n, int mainSteps) {
    Model m = MakeModel(n, 100);
    m.project.MainSteps = static_cast<std::int16_t>(mainSteps);
    m.project.CurrentDensity1 = 1e6;
    BuildMaterialMap(m, AirCoil(n));
    return m;
}

TEST(RunCalculation, RunsTheScheduleWithItsFactors) {
    Model m = CoilModel(50, 3);
    m.project.ReluctivityRelaxation = 0.08;
    RecordingObserver observer(m);
    RunCalculation(m.arrays, m.project, observer);

    // Opening: cursors, bars, one yield; closing: the result command, then the cursors.
    ASSERT_GE(observer.events.size(), 6u);
    EXPECT_EQ(observer.events[0], "begin");
    EXPECT_EQ(observer.events[1], "progress-max");
    EXPECT_EQ(observer.events[2], "progress");
    EXPECT_EQ(observer.events[3], "error");
    EXPECT_EQ(observer.events[4], "yield");
    EXPECT_EQ(observer.events[observer.events.size() - 2], "result");
    EXPECT_EQ(observer.events.back(), "end");
    EXPECT_EQ(observer.progressMaximum, 7);
    EXPECT_EQ(observer.progressValues.front(), 0.001);
    EXPECT_EQ(observer.errorValues.front(), 8);

    const double rMid1 = (0.995 + 0.9995) * 0.5;
    const double rMid2 = (0.9995 + 0.95) * 0.5;
    const struct {
        int passNo;
        double omega;
        double kMuCur;
    } expected[] = {{1, OptimalOmega(0.995, 50), 0},     {2, OptimalOmega(rMid1, 50), 0.04},
                    {3, OptimalOmega(0.9995, 50), 0.08}, {4, OptimalOmega(0.9995, 50), 0.08},
                    {5, OptimalOmega(0.9995, 50), 0.08}, {6, OptimalOmega(rMid2, 50), 0.04},
                    {7, OptimalOmega(0.95, 50), 0}};
    ASSERT_EQ(observer.passes.size(), std::size(expected));
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        EXPECT_EQ(observer.passes[k].passNo, expected[k].passNo);
        EXPECT_EQ(observer.passes[k].omega, expected[k].omega);
        EXPECT_EQ(observer.passes[k].kMuCur, expected[k].kMuCur);
        // Each pass: 10 iterations with a yield each, then the bars, then one more yield.
        EXPECT_EQ(observer.passes[k].yieldsBefore, 1 + static_cast<int>(k) * 11 + 10);
    }
    EXPECT_EQ(observer.yields, 1 + 7 * 11);
    EXPECT_EQ(m.arrays.SourceNorm, [&] {
        double sum = 1e-200;
        for (double s : m.arrays.Source.Vector()) {
            sum += std::abs(s);
        }
        return sum;
    }());
    EXPECT_FALSE(m.StopRequested);
}

TEST(RunCalculation, ZeroMainPassesRunsFourPasses) {
    for (int mainSteps : {0, -5}) {
        // A negative number of main passes counts as none.
        Model m = CoilModel(50, mainSteps);
        RecordingObserver observer(m);
        RunCalculation(m.arrays, m.project, observer);
        EXPECT_EQ(observer.progressMaximum, 4);
        ASSERT_EQ(observer.passes.size(), 4u);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(observer.passes[k].passNo, k + 1);
        }
        EXPECT_EQ(observer.passes[2].kMuCur, m.project.ReluctivityRelaxation / 2);
        EXPECT_EQ(observer.passes[3].kMuCur, 0);
    }
}

TEST(RunCalculation, StopDuringTheFirstPass) {
    Model m = CoilModel(50, 10);
    Model reference = m;
    RecordingObserver observer(m);
    observer.stopAtYield = 3;  // the driver's yield, then iterations 1 and 2 of pass 1
    RunCalculation(m.arrays, m.project, observer);

    // Pass 1 ends after its second iteration; passes 2, 13 and 14 run no iteration but show
    // their numbers and the error of the last iteration; no main pass runs.
    ASSERT_EQ(observer.passes.size(), 4u);
    EXPECT_EQ(observer.passes[0].passNo, 1);
    EXPECT_EQ(observer.passes[1].passNo, 2);
    EXPECT_EQ(observer.passes[2].passNo, 13);
    EXPECT_EQ(observer.passes[3].passNo, 14);
    EXPECT_EQ(observer.progressValues, (std::vector<double>{0.001, 1, 2, 13, 14}));
    ASSERT_EQ(observer.errorValues.size(), 5u);
    for (int k = 2; k <= 4; ++k) {
        EXPECT_EQ(observer.errorValues[k], observer.errorValues[1]);
    }
    EXPECT_EQ(observer.yields, 1 + 2 + 4);
    EXPECT_EQ(observer.events[observer.events.size() - 2], "result");
    EXPECT_TRUE(m.StopRequested);

    // The potential is that of two iterations at the first pass's factor, and the result
    // was evaluated from it.
    reference.Omega = OptimalOmega(reference.project.Rjac0, 50);
    reference.arrays.LastReluctivityStep = 0;
    ReferenceIteration(reference);
    ReferenceIteration(reference);
    EXPECT_EQ(m.arrays.VecPot.Vector(), reference.arrays.VecPot.Vector());
    EXPECT_EQ(m.field.B.N(), 50);
    EXPECT_NE(m.field.B(11, 25), 0);  // two iterations spread the potential a few nodes

    // The next calculation clears Stop again.
    observer.stopAtYield = 0;
    RunCalculation(m.arrays, m.project, observer);
    EXPECT_FALSE(m.StopRequested);
}

TEST(RunCalculation, ModelWithoutSourcesStaysAtZero) {
    Model m = MakeModel(100, 100);
    Grid2D<MaterialCode> material(100);
    Paint(material, 30, 40, 30, 60, MaterialCode::Iron);   // iron but nothing to drive it
    Paint(material, 50, 60, 30, 60, MaterialCode::Coil1);  // a coil without current
    m.project.CurrentDensity1 = 0;
    BuildMaterialMap(m, material);
    RecordingObserver observer(m);
    RunCalculation(m.arrays, m.project, observer);
    EXPECT_EQ(m.arrays.SourceNorm, 1e-200);
    ASSERT_EQ(observer.errorValues.size(), 15u);
    for (std::size_t k = 1; k < observer.errorValues.size(); ++k) {
        EXPECT_DOUBLE_EQ(observer.errorValues[k], std::log(0.1) + 2.5);
    }
    for (double a : m.arrays.VecPot.Vector()) {
        ASSERT_EQ(a, 0);
    }
    for (float b : m.field.B.Vector()) {
        ASSERT_EQ(b, 0);
    }
}

TEST(RelaxPass, ShowsTheBarsAndTheIntermediateView) {
    Model m = CoilModel(50, 10);
    m.ShowIntermediate = true;
    m.Omega = OptimalOmega(0.995, 50);
    m.arrays.LastReluctivityStep = 0;
    m.PassNo = 6;
    m.arrays.SourceNorm = 1e-200;  // a wrong normaliser makes the indicator huge: it stops at 8
    RecordingObserver observer(m);
    RelaxPass(m, observer);
    const std::vector<std::string> tail(observer.events.end() - 4, observer.events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"progress", "error", "yield", "intermediate"}));
    EXPECT_EQ(observer.progressValues, std::vector<double>{6});
    EXPECT_EQ(observer.errorValues, std::vector<double>{8});
    EXPECT_EQ(observer.yields, 11);
}

TEST(RelaxPass, BoundaryFollowsTheExtrapolation) {
    Model m = CoilModel(100, 4);
    RecordingObserver observer(m);
    RunCalculation(m.arrays, m.project, observer);  // enough passes for the potential to reach every edge
    const double k = 0.01;
    const auto& a = m.arrays.VecPot;
    for (int i = 1; i <= 99; ++i) {
        EXPECT_EQ(a(i, 0), (1.5 - k) * a(i, 1) - (0.5 + k) * a(i, 2));
        EXPECT_EQ(a(i, 100), (1.5 - k) * a(i, 99) - (0.5 + k) * a(i, 98));
    }
    for (int j = 1; j <= 100; ++j) {
        EXPECT_EQ(a(100, j), (1.5 - k) * a(99, j) - (0.5 + k) * a(98, j));
        EXPECT_EQ(a(0, j), 0);
    }
    EXPECT_EQ(a(100, 0), 0);
    EXPECT_EQ(a(0, 0), 0);
    EXPECT_NE(a(100, 50), 0);
}

// An observer whose yield does what an impatient user might: change the grid and rebuild the
// map in the middle of a calculation.
class RebuildingObserver : public CalculationObserver {
  public:
    explicit RebuildingObserver(Model& m) : m_(m) {}
    void Yield() override {
        if (++yields_ == 4) {
            m_.project.GridSize = 100;
            m_.project.GridStep = 0.001;
            BuildMaterialMap(m_, AirCoil(100));
        }
    }
    void ShowResult() override { EvaluateField(m_); }

  private:
    Model& m_;
    int yields_ = 0;
};

TEST(RunCalculation, SurvivesArraysReplacedDuringAYield) {
    Model m = CoilModel(50, 2);
    RebuildingObserver observer(m);
    RunCalculation(m.arrays, m.project, observer);  // must neither crash nor read outside the new arrays
    EXPECT_EQ(m.field.B.N(), 100);
    // A pass over arrays of another grid runs no iteration.
    Model stale = CoilModel(50, 2);
    stale.GridSize = 100;
    stale.Omega = 1.5;
    CalculationObserver quiet;
    RelaxPass(stale, quiet);
    for (double a : stale.VecPot.Vector()) {
        ASSERT_EQ(a, 0);
    }
}

}  // namespace
}  // namespace tesvid::testing
