// The solver against the plain transcription of the relaxation: the potential and the
// reluctivity must agree to the last bit, for every build of the sweep this machine runs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>

#include "reference_relaxation.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver/relax_pass.h"
#include "solver/relax_sweep.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

using relax::SweepBuild;

struct Arrangement {
    std::string name;
    std::function<Grid2D<MaterialCode>(int)> draw;
    double curDens1;
};

// Restores the automatic choice of the sweep build when a test ends.
class SweepBuildGuard {
  public:
    explicit SweepBuildGuard(SweepBuild build) { relax::SelectSweepBuild(build); }
    ~SweepBuildGuard() { relax::SelectFastestSweepBuild(); }
};

bool SameBits(const Grid2D<double>& a, const Grid2D<double>& b) {
    return a.Size() == b.Size() && std::memcmp(a.Data(), b.Data(), a.Size() * sizeof(double)) == 0;
}

// The first node where two grids differ, for the failure message.
std::string FirstDifference(const Grid2D<double>& a, const Grid2D<double>& b) {
    for (int i = 0; i <= a.N(); ++i) {
        for (int j = 0; j <= a.N(); ++j) {
            if (std::memcmp(&a(i, j), &b(i, j), sizeof(double)) != 0) {
                std::ostringstream text;
                text.precision(17);
                text << "(" << i << ", " << j << "): " << a(i, j) << " vs " << b(i, j);
                return text.str();
            }
        }
    }
    return "none";
}

std::vector<SweepBuild> BuildsOnThisMachine() {
    std::vector<SweepBuild> builds{SweepBuild::Scalar};
    if (relax::Sse2SweepBuilt()) {
        builds.push_back(SweepBuild::Sse2);
    }
    relax::SelectSweepBuild(SweepBuild::Avx);
    if (relax::ActiveSweepBuild() == SweepBuild::Avx) {
        builds.push_back(SweepBuild::Avx);
    }
    relax::SelectFastestSweepBuild();
    return builds;
}

const char* BuildName(SweepBuild b) {
    switch (b) {
        case SweepBuild::Scalar:
            return "scalar";
        case SweepBuild::Sse2:
            return "sse2";
        case SweepBuild::Avx:
            return "avx";
    }
    return "?";
}

// Runs passes of the solver and of the transcription side by side and compares after each.
void ComparePasses(const Arrangement& arrangement, int n, SweepBuild build) {
    std::ostringstream trace;
    trace << arrangement.name << " at " << n << ", " << BuildName(build);
    SCOPED_TRACE(trace.str());
    SweepBuildGuard guard(build);
    ASSERT_EQ(relax::ActiveSweepBuild(), build);

    Model fast = MakeModel(n, 100);
    fast.project.CurrentDensity1 = arrangement.curDens1;
    BuildMaterialMap(fast, arrangement.draw(n));
    Model plain = fast;

    struct PassSetting {
        double rjac;
        double kMu;
    };
    const PassSetting passes[] = {
        {0.995, 0}, {0.99725, 0.025}, {0.9995, 0.05}, {0.9995, 0.05}, {0.95, 0}};
    CalculationObserver quiet;
    int passNo = 0;
    for (const PassSetting& p : passes) {
        ++passNo;
        SCOPED_TRACE(::testing::Message() << "pass " << passNo);
        for (Model* m : {&fast, &plain}) {
            m->Omega = OptimalOmega(p.rjac, n);
            m->LastReluctivityStep = p.kMu;
            m->PassNo = static_cast<std::int16_t>(passNo);
        }
        RelaxPass(fast, quiet);
        ReferencePass(plain);
        ASSERT_TRUE(SameBits(fast.arrays.VecPot, plain.arrays.VecPot))
            << FirstDifference(fast.arrays.VecPot, plain.arrays.VecPot);
        ASSERT_TRUE(SameBits(fast.arrays.Reluctivity, plain.arrays.Reluctivity))
            << FirstDifference(fast.arrays.Reluctivity, plain.arrays.Reluctivity);
        if (build == SweepBuild::Scalar) {
            EXPECT_EQ(fast.arrays.ResidualSum, plain.arrays.ResidualSum);  // summed in the same order
        } else {
            EXPECT_NEAR(fast.arrays.ResidualSum, plain.arrays.ResidualSum, 1e-12 * plain.arrays.ResidualSum);
        }
    }
    // The comparison means something only if the potential moved and, with iron or magnets,
    // the reluctivity left its starting value.
    double largestA = 0;
    for (double a : plain.arrays.VecPot.Vector()) {
        largestA = std::max(largestA, std::abs(a));
    }
    EXPECT_GT(largestA, 0);
}

const Arrangement kArrangements[] = {
    {"air coil", AirCoil, 1e6},
    {"saturated pot core", PotCore, 3e8},
    {"ring magnets", RingMagnets, 0},
};

TEST(RelaxBitIdentity, EveryBuildMatchesTheTranscription) {
    for (SweepBuild build : BuildsOnThisMachine()) {
        for (const Arrangement& arrangement : kArrangements) {
            for (int n : {50, 100}) {
                ComparePasses(arrangement, n, build);
            }
        }
    }
}

TEST(RelaxBitIdentity, ThisMachineRunsAVectorBuild) {
    // On x86-64 at least the SSE2 build exists; otherwise the test above checks only the
    // scalar sweep, which is fine elsewhere.
#if defined(__x86_64__)
    EXPECT_TRUE(relax::Sse2SweepBuilt());
    EXPECT_NE(relax::ActiveSweepBuild(), SweepBuild::Scalar);
#endif
}

TEST(RelaxBitIdentity, SaturationReallyMovesTheReluctivity) {
    // Without this the pot-core comparison would not exercise the curve: the big current
    // must drive some iron well away from 1/SteelMu, and the magnets away from 1/MagMuRec.
    Model m = MakeModel(50, 100);
    m.project.CurrentDensity1 = 3e8;
    BuildMaterialMap(m, PotCore(50));
    CalculationObserver quiet;
    for (int pass = 0; pass < 3; ++pass) {
        m.Omega = OptimalOmega(0.9995, 50);
        m.arrays.LastReluctivityStep = 0.05;
        RelaxPass(m, quiet);
    }
    double largestIronNu = 0;
    for (int i = 0; i <= 50; ++i) {
        for (int j = 0; j <= 50; ++j) {
            if (m.arrays.Material(i, j) == MaterialCode::Iron) {
                largestIronNu = std::max(largestIronNu, m.arrays.Reluctivity(i, j));
            }
        }
    }
    EXPECT_GT(largestIronNu, 2.0 / m.project.SteelMu);
    // The axis column copies its magnetic neighbour.
    EXPECT_EQ(m.arrays.Reluctivity(0, 25), m.arrays.Reluctivity(1, 25));
    EXPECT_NE(m.arrays.Reluctivity(1, 25), 1 / m.project.SteelMu);

    Model magnets = MakeModel(50, 100);
    BuildMaterialMap(magnets, RingMagnets(50));
    for (int pass = 0; pass < 3; ++pass) {
        magnets.Omega = OptimalOmega(0.9995, 50);
        magnets.LastReluctivityStep = 0.05;
        RelaxPass(magnets, quiet);
    }
    EXPECT_NE(magnets.Reluctivity(8, 24), 1 / magnets.MagMuRec);
}

}  // namespace
}  // namespace tesvid::testing
