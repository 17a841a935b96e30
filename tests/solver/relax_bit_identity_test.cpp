// The solver against the plain transcription of the relaxation: the potential and the
// reluctivity must agree to the last bit, for every build of the sweep this machine runs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "reference_relaxation.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver/relax_sweep.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

using relax::SweepBuild;

bool SameBits(const Grid2D<double>& a, const Grid2D<double>& b) {
    return a.Size() == b.Size() && std::memcmp(a.Data(), b.Data(), a.Size() * sizeof(double)) == 0;
}

struct Arrangement {
    const char* name;
    Grid2D<MaterialCode> (*draw)(int);
    double currentDensity1;
};
// The pot core's current saturates its iron, so the reluctivity curve is exercised.
const Arrangement kArrangements[] = {{"air coil", AirCoil, 1e6},
                                     {"saturated pot core", PotCore, 3e8},
                                     {"ring magnets", RingMagnets, 0},
                                     {"iron at the top edge",
                                      [](int n) {
                                          Grid2D<MaterialCode> g = AirCoil(n);
                                          Paint(g, 5, 8, 2, 3, MaterialCode::Iron);
                                          return g;
                                      },
                                      1e8}};

void ComparePasses(const Arrangement& arrangement, int n, SweepBuild build) {
    SCOPED_TRACE(::testing::Message()
                 << arrangement.name << " at " << n << ", build " << static_cast<int>(build));
    relax::SelectSweepBuild(build);
    ASSERT_EQ(relax::ActiveSweepBuild(), build);
    Model fast = MakeModel(n, 100);
    fast.project.CurrentDensity1 = arrangement.currentDensity1;
    BuildMaterialMap(fast, arrangement.draw(n));
    Model plain = fast;
    const Grid2D<double> startNu = fast.arrays.Reluctivity;

    const struct {
        double rjac, step;
    } passes[] = {{0.995, 0}, {0.99725, 0.025}, {0.9995, 0.05}, {0.9995, 0.05}, {0.95, 0}};
    CalculationObserver quiet;
    int number = 0;
    for (const auto& p : passes) {
        const PassSettings pass{OptimalOmega(p.rjac, n), p.step, ++number};
        RelaxPass(fast.arrays, fast.project, pass, quiet);
        ReferencePass(plain.arrays, plain.project, pass);
        ASSERT_TRUE(SameBits(fast.arrays.VecPot, plain.arrays.VecPot)) << "pass " << number;
        ASSERT_TRUE(SameBits(fast.arrays.Reluctivity, plain.arrays.Reluctivity))
            << "pass " << number;
        // The vector builds sum the residuals in another order.
        EXPECT_NEAR(fast.arrays.ResidualSum, plain.arrays.ResidualSum,
                    build == SweepBuild::Scalar ? 0 : 1e-12 * plain.arrays.ResidualSum);
    }
    // The comparison means something only if the potential moved and, with iron or magnets,
    // the reluctivity left its starting value.
    EXPECT_FALSE(SameBits(plain.arrays.VecPot, Grid2D<double>(n)));
    if (arrangement.draw != AirCoil) {
        EXPECT_FALSE(SameBits(plain.arrays.Reluctivity, startNu));
    }
}

TEST(RelaxBitIdentity, EveryBuildMatchesTheTranscription) {
    std::vector<SweepBuild> builds{SweepBuild::Scalar};
    for (SweepBuild b : {SweepBuild::Sse2, SweepBuild::Avx}) {
        relax::SelectSweepBuild(b);
        if (relax::ActiveSweepBuild() == b) {
            builds.push_back(b);
        }
    }
#if defined(__x86_64__)
    EXPECT_GE(builds.size(), 2u) << "x86-64 always has the SSE2 build";
#endif
    for (SweepBuild build : builds) {
        for (const Arrangement& arrangement : kArrangements) {
            for (int n : {50, 100}) {
                ComparePasses(arrangement, n, build);
            }
        }
    }
    relax::SelectFastestSweepBuild();
}

}  // namespace
}  // namespace tesvid::testing
