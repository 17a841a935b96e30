// Convergence against the loop integrals, Stop, overflow, and thread-independent bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "loop_integrals.h"
#include "solver/calculation.h"
#include "solver/convergence.h"
#include "solver/material_map.h"
#include "solver/relax_sweep.h"
#include "solver/sweep_team.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

// Paints nodes whose position (mm) lies in r0..r1, z0..z1.
void PaintMm(Grid2D<MaterialCode>& g, double h, double r0, double r1, double z0, double z1,
             MaterialCode code) {
    Paint(g, static_cast<int>(std::ceil(r0 / h - 1e-9)),
          static_cast<int>(std::floor(r1 / h + 1e-9)), static_cast<int>(std::ceil(z0 / h - 1e-9)),
          static_cast<int>(std::floor(z1 / h + 1e-9)), code);
}

enum class Shape { AirCoil, PotCore, RingMagnets, MagnetSInAir, MagnetNInAir };

// The air coil of the accuracy table, the pot core (saturated), the ring magnets between pole
// pieces, and a ring magnet alone with a straight recoil line of slope mu0 (MagMuRec 1, and a
// curve coefficient so far above its induction that its reluctivity stays 1 within 0.1 %).
Model Arrangement(Shape shape, int n) {
    Model m = MakeModel(n, 100);
    m.project.SteelMu = 1000, m.project.SteelSaturationB = 1.6;
    m.project.MagBr = 1.2, m.project.MagHc = 900e3, m.project.MagBHmax = 280e3;
    FitMagnetCurve(m.project);
    m.project.CurrentDensity1 = shape == Shape::PotCore ? 2e7 : 2e6;
    Grid2D<MaterialCode> g = shape == Shape::PotCore       ? PotCore(n)
                             : shape == Shape::RingMagnets ? RingMagnets(n)
                                                           : Grid2D<MaterialCode>(n);
    const double h = 100.0 / n;
    if (shape == Shape::AirCoil) {
        PaintMm(g, h, 19, 25, 39, 61, MaterialCode::Coil1);
    } else if (shape == Shape::MagnetSInAir || shape == Shape::MagnetNInAir) {
        m.project.MagMuRec = 1, m.project.MagCurveK = 1000;
        PaintMm(g, h, 12, 29, 44, 55,
                shape == Shape::MagnetSInAir ? MaterialCode::MagnetS : MaterialCode::MagnetN);
    }
    BuildMaterialMap(m, g);
    return m;
}

CalculationSettings Converge(double tolerance, int threads = 1) {
    CalculationSettings s;
    s.schedule = ScheduleKind::Converge, s.tolerance = tolerance, s.threads = threads;
    return s;
}

// A source in air: the current density j (A/m2) filling r0..r1 x z0..z1 (m), or with r0 == r1
// a current sheet of j A/m on that cylinder. A positive density drives a negative Bz.
struct AirSource {
    double r0, r1, z0, z1, j;
};

// Br or Bz (T) at (r, z) of the sources, summed over their loops.
double LoopIntegral(const std::vector<AirSource>& sources, int component, double r, double z) {
    double sum = 0;
    for (const AirSource& s : sources) {
        const auto column = [&](double rr) {
            return Integrate(
                s.z0, s.z1,
                [&](double zz) {
                    const auto b = LoopField(rr, zz, s.j, r, z);
                    return component == 0 ? b.first : -b.second;
                },
                16);
        };
        sum += s.r1 > s.r0 ? Integrate(s.r0, s.r1, column, 8) : column(s.r0);
    }
    return sum;
}

// Against the loop integrals of the painting, node i standing for the ring (i -+ 1/2) h and
// row j for (j -+ 1/2) h: second-order error, a quarter on the finer grid. The magnet is the
// sheet -Hc on its outer face and +Hc on its inner one (the S pole up; N reverses both). Its
// field is wrong by 100 % when its sheets are twice as strong or 1 / (mu0 Hc h) times as
// strong, and by 1.5 % or more when they lie half a cell out or in.
TEST(CalculationUntilConverged, SourcesInAirMatchTheLoopIntegrals) {
    const struct {
        bool magnet;
        double r, z, within100, within200;  // mm; relative to |B|
    } points[] = {{false, 0, 50, 1e-4, 3e-5},    {false, 40, 50, 6e-4, 2e-4},
                  {false, 60, 80, 1.2e-3, 3e-4}, {true, 0, 50, 4e-3, 1e-3},
                  {true, 20, 50, 7e-3, 2e-3},    {true, 40, 50, 8e-3, 2.5e-3},
                  {true, 20, 70, 4e-3, 1.2e-3}};
    for (const Shape shape : {Shape::AirCoil, Shape::MagnetSInAir, Shape::MagnetNInAir}) {
        for (const int n : {100, 200}) {
            SCOPED_TRACE(::testing::Message() << "shape " << int(shape) << ", N " << n);
            Model m = Arrangement(shape, n);
            CalculationObserver quiet;
            const CalculationOutcome out = Calculate(m.arrays, m.project, Converge(1e-6), quiet);
            ASSERT_EQ(out.ending, CalculationEnding::Converged) << OutcomeSentence(out);
            EvaluateField(m);
            const double h = 0.1 / n, k = (shape == Shape::MagnetSInAir ? 1 : -1) * 900e3;
            const double z0 = 44e-3 - h / 2, z1 = 55e-3 + h / 2;
            const std::vector<AirSource> sources =
                shape == Shape::AirCoil
                    ? std::vector<AirSource>{{19e-3 - h / 2, 25e-3 + h / 2, 39e-3 - h / 2,
                                              61e-3 + h / 2, 2e6}}
                    : std::vector<AirSource>{{12e-3 - h / 2, 12e-3 - h / 2, z0, z1, k},
                                             {29e-3 + h / 2, 29e-3 + h / 2, z0, z1, -k}};
            for (const auto& p : points) {
                if (p.magnet == (shape == Shape::AirCoil)) {
                    continue;
                }
                const int i = static_cast<int>(std::lround(p.r * 1e-3 / h)),
                          j = static_cast<int>(std::lround(p.z * 1e-3 / h));
                const double br = LoopIntegral(sources, 0, i * h, j * h),
                             bz = LoopIntegral(sources, 1, i * h, j * h);
                const double within = (n == 100 ? p.within100 : p.within200) * std::hypot(br, bz);
                EXPECT_NEAR(m.field.Br(i, j), br, within) << p.r << ", " << p.z;
                EXPECT_NEAR(m.field.Bz(i, j), bz, within) << p.r << ", " << p.z;
            }
        }
    }
}

TEST(CalculationUntilConverged, DefaultToleranceAgreesWithATinyOne) {
    for (const Shape shape : {Shape::AirCoil, Shape::PotCore, Shape::RingMagnets}) {
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

TEST(FixedSchedule, SameBitsOnAnyNumberOfThreads) {
    for (const relax::SweepBuild build :
         {relax::SweepBuild::Scalar, relax::SweepBuild::Sse2, relax::SweepBuild::Avx}) {
        relax::SelectSweepBuild(build);
        if (relax::ActiveSweepBuild() != build) {
            continue;
        }
        for (const Shape shape : {Shape::PotCore, Shape::RingMagnets}) {
            Model one = Arrangement(shape, 100);
            one.project.MainSteps = 2;
            CalculationObserver quiet;
            CalculationSettings fixed = FixedSchedule();
            Calculate(one.arrays, one.project, fixed, quiet);
            for (const int threads : {2, 3, SweepTeam::kMostThreads}) {  // 64: shares of a column
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

// Stop after pass 2 keeps the partial result; Stop before any step below the 200 grid carries
// the zero potential up unchanged.
TEST(CalculationUntilConverged, StopKeepsThePartialResult) {
    for (const auto& [n, pass] : {std::pair{100, 2}, {200, 0}}) {
        Model m = Arrangement(Shape::PotCore, n);
        StopAfterPass observer(pass);
        observer.PassMeasured(0, 0);
        const CalculationOutcome out = Calculate(m.arrays, m.project, Converge(1e-10), observer);
        EXPECT_EQ(out.ending, CalculationEnding::Stopped);
        EXPECT_EQ(std::make_pair(out.passes, observer.results), std::make_pair(pass, 1));
        EXPECT_EQ(m.arrays.Differences, FieldDifferences::Centred);
        EXPECT_EQ(m.arrays.VecPot == Grid2D<double>(n), pass == 0) << n;
        EXPECT_NE(OutcomeSentence(out).find("Stopped after " + std::to_string(pass) + " passes"),
                  std::string::npos)
            << OutcomeSentence(out);
    }
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

// The change between two potentials whose fields are known in closed form, for which centred
// differences are exact: A = r b0 / 2 (Bz = b0) and A = r (b0 / 2 + g z) (Br = -g r,
// Bz = b0 + 2 g z). The measure is the largest |delta B| over the largest |B| afterwards.
TEST(FieldChange, LargestChangeOfBOverLargestB) {
    const int n = 20, s = n + 1;
    const double h = 0.002, b0 = 0.3, g = 4;
    std::vector<double> before(static_cast<std::size_t>(s * s)), after(before.size());
    double change = 0, field = 0;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const double r = i * h, z = j * h;
            before[static_cast<std::size_t>(i * s + j)] = r * b0 / 2;
            after[static_cast<std::size_t>(i * s + j)] = r * (b0 / 2 + g * z);
            if (i > 0 && j > 0 && i < n && j < n) {
                change = std::max(change, std::hypot(g * r, 2 * g * z));
                field = std::max(field, std::hypot(g * r, b0 + 2 * g * z));
            }
        }
    }
    EXPECT_NEAR(FieldChange(before, after, n, h, FieldDifferences::Centred), change / field, 1e-9);
    EXPECT_EQ(FieldChange(after, after, n, h, FieldDifferences::OneSided), 0);
}

TEST(Tolerance, RefusalsSayWhy) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct {
        double tolerance;
        const char* why;  // null: accepted
    } cases[] = {{1e-12, nullptr},
                 {1, nullptr},
                 {1e-13, "cannot reach"},
                 {2, "above 1"},
                 {0, "a positive number"},
                 {-1e-6, "a positive number"},
                 {kInf, "a positive number"},
                 {-kInf, "a positive number"},
                 {std::nan(""), "a positive number"}};
    for (const auto& c : cases) {
        const auto refusal = ToleranceRefusal(c.tolerance);
        ASSERT_EQ(refusal.has_value(), c.why != nullptr) << c.tolerance;
        if (refusal) {
            char text[32];
            std::snprintf(text, sizeof text, "The tolerance %g ", c.tolerance);
            EXPECT_EQ(refusal->rfind(text, 0), 0u) << *refusal;
            EXPECT_NE(refusal->find(c.why), std::string::npos) << *refusal;
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
