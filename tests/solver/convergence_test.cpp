// Convergence against the loop integrals, Stop, overflow, and thread-independent bits.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "loop_integrals.h"
#include "solver/calculation.h"
#include "solver/convergence.h"
#include "solver/material_map.h"
#include "solver/relax_sweep.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

// Paints nodes whose position (mm) lies in r0..r1, z0..z1.
void PaintMm(Grid2D<MaterialCode>& g, double h, double r0, double r1, double z0, double z1,
             MaterialCode code) {
    Paint(g, static_cast<int>(std::ceil(r0 / h - 1e-9)), static_cast<int>(std::floor(r1 / h + 1e-9)),
          static_cast<int>(std::ceil(z0 / h - 1e-9)), static_cast<int>(std::floor(z1 / h + 1e-9)),
          code);
}

enum class Shape { AirCoil, PotCore, RingMagnet };

// The air coil of the accuracy table, a saturated pot core, a ring magnet between pole pieces.
Model Arrangement(Shape shape, int n) {
    Model m = MakeModel(n, 100);
    m.project.SteelMu = 1000, m.project.SteelSaturationB = 1.6;
    m.project.MagBr = 1.2, m.project.MagHc = 900e3, m.project.MagBHmax = 280e3;
    FitMagnetCurve(m.project);
    m.project.CurrentDensity1 = shape == Shape::PotCore ? 2e7 : 2e6;
    const double h = 100.0 / n;
    Grid2D<MaterialCode> g(n);
    using M = MaterialCode;
    if (shape == Shape::AirCoil) {
        PaintMm(g, h, 19, 25, 39, 61, M::Coil1);
    } else if (shape == Shape::PotCore) {
        for (const auto& [r0, r1, z0, z1] : {std::array{0, 35, 24, 31}, {0, 35, 70, 77},
                                             {0, 11, 32, 69}, {28, 35, 32, 69}}) {
            PaintMm(g, h, r0, r1, z0, z1, M::Iron);
        }
        PaintMm(g, h, 14, 25, 34, 67, M::Coil1);
    } else {
        PaintMm(g, h, 12, 29, 44, 55, M::MagnetN);
        PaintMm(g, h, 8, 31, 36, 43, M::Iron);
        PaintMm(g, h, 8, 31, 56, 63, M::Iron);
    }
    BuildMaterialMap(m, g);
    return m;
}

CalculationSettings Converge(double tolerance, int threads = 1) {
    CalculationSettings s;
    s.schedule = ScheduleKind::Converge, s.tolerance = tolerance, s.threads = threads;
    return s;
}

// |B| of a winding of section r0..r1 x z0..z1 (m) at current density j, summed over loops.
double WindingField(double r0, double r1, double z0, double z1, double j, double r, double z) {
    const auto part = [&](auto component) {
        return Integrate(r0, r1, [&](double rr) {
            return Integrate(z0, z1, [&](double zz) {
                const auto b = LoopField(rr, zz, j, r, z);
                return component == 0 ? b.first : b.second;
            }, 16);
        }, 8);
    };
    return std::hypot(part(0), part(1));
}

TEST(CoilReference, LoopIntegralsGiveTheQuotedFigures) {
    const double r0 = 18.875e-3, r1 = 25.125e-3, z0 = 38.875e-3, z1 = 61.125e-3;
    EXPECT_NEAR(WindingField(r0, r1, z0, z1, 2e6, 0, 50e-3), 7.1113e-3, 1e-7);
    EXPECT_NEAR(WindingField(r0, r1, z0, z1, 2e6, 40e-3, 50e-3), 8.1629e-4, 1e-8);
    EXPECT_NEAR(WindingField(r0, r1, z0, z1, 2e6, 60e-3, 80e-3), 1.8861e-4, 1e-8);
}

double Probe(const Model& m, double rMm, double zMm) {
    const double h = m.project.GridStep * 1000;
    return m.field.B(static_cast<int>(std::lround(rMm / h)),
                     static_cast<int>(std::lround(zMm / h)));
}

// Against the loop integrals of its own painting: second-order error, a quarter on the finer grid.
TEST(CalculationUntilConverged, AirCoilMatchesTheLoopIntegrals) {
    const struct {
        double r, z, within100, within200;
    } points[] = {{0, 50, 1e-4, 3e-5}, {40, 50, 6e-4, 2e-4}, {60, 80, 1.2e-3, 3e-4}};
    for (const int n : {100, 200}) {
        Model m = Arrangement(Shape::AirCoil, n);
        CalculationObserver quiet;
        const CalculationOutcome out = Calculate(m.arrays, m.project, Converge(1e-6), quiet);
        ASSERT_EQ(out.ending, CalculationEnding::Converged) << OutcomeSentence(out);
        EvaluateField(m);
        const double h = 0.1 / n;
        for (const auto& p : points) {
            const double exact = WindingField(19e-3 - h / 2, 25e-3 + h / 2, 39e-3 - h / 2,
                                              61e-3 + h / 2, 2e6, p.r * 1e-3, p.z * 1e-3);
            EXPECT_NEAR(Probe(m, p.r, p.z) / exact, 1, n == 100 ? p.within100 : p.within200)
                << "N " << n << " at (" << p.r << ", " << p.z << ") mm";
        }
    }
}

TEST(CalculationUntilConverged, DefaultToleranceAgreesWithATinyOne) {
    for (const Shape shape : {Shape::AirCoil, Shape::PotCore, Shape::RingMagnet}) {
        Model normal = Arrangement(shape, 100);
        Model strict = normal;
        CalculationObserver quiet;
        const CalculationOutcome a =
            Calculate(normal.arrays, normal.project, Converge(kDefaultTolerance), quiet);
        const CalculationOutcome b =
            Calculate(strict.arrays, strict.project, Converge(1e-10), quiet);
        ASSERT_EQ(a.ending, CalculationEnding::Converged) << OutcomeSentence(a);
        ASSERT_EQ(b.ending, CalculationEnding::Converged) << OutcomeSentence(b);
        EXPECT_GT(b.passes, a.passes);
        EvaluateField(normal);
        EvaluateField(strict);
        float largest = 0;
        float worst = 0;
        for (std::size_t k = 0; k < strict.field.B.Size(); ++k) {
            largest = std::max(largest, strict.field.B.Vector()[k]);
            worst = std::max({worst,
                              std::abs(normal.field.Br.Vector()[k] - strict.field.Br.Vector()[k]),
                              std::abs(normal.field.Bz.Vector()[k] - strict.field.Bz.Vector()[k])});
        }
        EXPECT_LT(worst, 1e-4 * largest) << "arrangement " << static_cast<int>(shape);
    }
}

TEST(FixedSchedule, SameBitsOnOneTwoAndThreeThreads) {
    for (const relax::SweepBuild build :
         {relax::SweepBuild::Scalar, relax::SweepBuild::Sse2, relax::SweepBuild::Avx}) {
        relax::SelectSweepBuild(build);
        if (relax::ActiveSweepBuild() != build) {
            continue;
        }
        for (const Shape shape : {Shape::PotCore, Shape::RingMagnet}) {
            Model one = Arrangement(shape, 100);
            one.project.MainSteps = 2;
            CalculationObserver quiet;
            CalculationSettings fixed = FixedSchedule();
            Calculate(one.arrays, one.project, fixed, quiet);
            for (const int threads : {2, 3}) {
                Model shared = Arrangement(shape, 100);
                shared.project.MainSteps = 2;
                fixed.threads = threads;
                Calculate(shared.arrays, shared.project, fixed, quiet);
                EXPECT_TRUE(shared.arrays.VecPot == one.arrays.VecPot &&
                            shared.arrays.Reluctivity == one.arrays.Reluctivity)
                    << threads << " threads, build " << static_cast<int>(build);
            }
        }
    }
    relax::SelectFastestSweepBuild();
}

// Presses Stop at the end of a chosen pass; counts the result views.
class StopAfterPass : public CalculationObserver {
  public:
    explicit StopAfterPass(int pass) : pass_(pass) {}
    void PassMeasured(int pass, double) override { stop_ = stop_ || pass >= pass_; }
    bool StopRequested() const override { return stop_; }
    void ShowResult() override { ++results; }
    int results = 0;

  private:
    int pass_;
    bool stop_ = false;
};

TEST(CalculationUntilConverged, StopKeepsThePartialResult) {
    Model m = Arrangement(Shape::PotCore, 100);
    StopAfterPass observer(2);
    const CalculationOutcome out = Calculate(m.arrays, m.project, Converge(1e-10), observer);
    EXPECT_EQ(out.ending, CalculationEnding::Stopped);
    EXPECT_EQ(out.passes, 2);
    EXPECT_EQ(observer.results, 1);
    EXPECT_EQ(m.arrays.Differences, FieldDifferences::Centred);
    EXPECT_NE(m.arrays.VecPot.Vector(), std::vector<double>(m.arrays.VecPot.Size(), 0.0));
    EXPECT_NE(OutcomeSentence(out).find("Stopped after 2 passes"), std::string::npos)
        << OutcomeSentence(out);
}

// Stop before any step below the 200 grid: the zero potential is carried up unchanged.
TEST(CalculationUntilConverged, StopDuringTheNestedGridsKeepsTheirPotential) {
    Model m = Arrangement(Shape::PotCore, 200);
    StopAfterPass observer(0);
    observer.PassMeasured(0, 0);
    const CalculationOutcome out = Calculate(m.arrays, m.project, Converge(1e-10), observer);
    EXPECT_EQ(out.ending, CalculationEnding::Stopped);
    EXPECT_EQ(observer.results, 1);
    EXPECT_EQ(m.arrays.VecPot.Vector(), std::vector<double>(m.arrays.VecPot.Size(), 0.0));
}

TEST(Calculation, OverflowLeavesTheArraysAsTheyWere) {
    for (const ScheduleKind schedule : {ScheduleKind::Fixed, ScheduleKind::Converge}) {
        Model m = Arrangement(Shape::AirCoil, 50);
        for (std::size_t k = 0; k < m.arrays.VecPot.Size(); ++k) {
            m.arrays.VecPot.Vector()[k] = 1e-9 * static_cast<double>(k % 97);
        }
        m.project.CurrentDensity1 = 1e307;
        DeriveFromMaterial(m);
        const SolverArrays before = m.arrays;
        StopAfterPass never(1 << 30);
        CalculationSettings settings = Converge(kDefaultTolerance);
        settings.schedule = schedule;
        const CalculationOutcome out = Calculate(m.arrays, m.project, settings, never);
        EXPECT_EQ(out.ending, CalculationEnding::Diverged) << OutcomeSentence(out);
        EXPECT_EQ(never.results, 0);
        EXPECT_TRUE(m.arrays.VecPot == before.VecPot);
        EXPECT_TRUE(m.arrays.Reluctivity == before.Reluctivity);
        EXPECT_EQ(m.arrays.Differences, before.Differences);
    }
}

TEST(Tolerance, RefusedWhenDoublePrecisionCannotReachIt) {
    const struct {
        double tolerance;
        bool accepted;
    } cases[] = {{1e-12, true}, {1, true},  {1e-13, false},
                 {0, false},    {2, false}, {std::nan(""), false}};
    for (const auto& c : cases) {
        const auto refusal = ToleranceRefusal(c.tolerance);
        EXPECT_EQ(!refusal, c.accepted) << c.tolerance;
        if (refusal && std::isfinite(c.tolerance)) {
            char text[32];
            std::snprintf(text, sizeof text, "%g", c.tolerance);
            EXPECT_NE(refusal->find(text), std::string::npos) << *refusal;
        }
    }
}

TEST(OpenBoundaryWarning, NamesWhatTouchesTheEdge) {
    const struct {
        int i0, i1, j0, j1;
        MaterialCode code;
        const char* named;  // null: no warning
    } cases[] = {
        {0, 10, 20, 30, MaterialCode::Iron, nullptr},      // on the axis: no edge
        {40, 49, 20, 30, MaterialCode::Iron, "Iron"},      // reaches the outer column
        {10, 20, 0, 5, MaterialCode::Coil1, "A winding"},  // reaches the top row
        {10, 20, 45, 50, MaterialCode::MagnetS, "A magnet"},
        {10, 20, 2, 47, MaterialCode::Nonmag, nullptr},
    };
    for (const auto& c : cases) {
        Grid2D<MaterialCode> g(50);
        Paint(g, c.i0, c.i1, c.j0, c.j1, c.code);
        const auto warning = OpenBoundaryWarning(g);
        ASSERT_EQ(warning.has_value(), c.named != nullptr) << c.i0 << " " << c.j0;
        if (warning) {
            EXPECT_EQ(warning->rfind(c.named, 0), 0u) << *warning;
        }
    }
}

}  // namespace
}  // namespace tesvid::testing
