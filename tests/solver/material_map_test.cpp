// The solver's input derived from the material grid, the coil figures and the magnet curve fit.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/calculation.h"
#include "solver/coil_quantities.h"
#include "solver/material_map.h"
#include "solver/relax_pass.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

class MaterialMap : public ::testing::Test {
  protected:
    static constexpr int kN = 50;
    Model m = MakeModel(kN, 100);  // h = 2 mm
    Grid2D<MaterialCode> material{kN};
    double Face() const { return m.project.MagHc * kMu0 * m.project.GridStep; }
};

TEST_F(MaterialMap, StencilIsExactForTheFieldsThatSolveTheEquation) {
    // A = r (a + b z) solves the source-free equation with nu = 1 and its differences are
    // exact: the discrete equation holds to rounding in air, coil and nu = 1 iron.
    m.project.SteelMu = 1;
    Paint(material, 10, 20, 10, 20, MaterialCode::Coil1);
    Paint(material, 30, 40, 25, 35, MaterialCode::Iron);
    BuildMaterialMap(m, material);
    for (const auto& [a, b] : {std::pair{1.0, 0.0}, {0.3, 0.05}}) {
        double sum = 0;
        for (int i = 1; i <= kN; ++i) {
            for (int j = 0; j <= kN; ++j) {
                m.arrays.VecPot(i, j) = 1e-3 * i * (a + b * j);
                sum += std::abs(m.arrays.VecPot(i, j));
            }
        }
        RecordingObserver observer(m);
        observer.stopAtYield = 1;  // one iteration
        RelaxPass(m.arrays, m.project, {1.5, 0, 1}, observer);
        EXPECT_LT(m.arrays.ResidualSum, 1e-14 * sum) << a << ", " << b;
    }
}

TEST_F(MaterialMap, IronWeightsTheStencilsThatReadItsReluctivity) {
    m.arrays.VecPot.Create(kN);
    m.arrays.VecPot(5, 5) = 1;  // a previous result, discarded
    material(20, 30) = MaterialCode::Iron;
    material(30, 30) = MaterialCode::Nonmag;  // non-magnetic: air to the solver
    BuildMaterialMap(m, material);
    EXPECT_EQ(m.arrays.VecPot(5, 5), 0);
    for (int i = 0; i <= kN; ++i) {
        for (int j = 0; j <= kN; ++j) {
            // The node itself and the two whose stencils read its reluctivity (i + 1, j + 1).
            const bool weighted =
                (i == 20 && j == 30) || (i == 21 && j == 30) || (i == 20 && j == 31);
            const bool inner = i > 0 && j > 0 && i < kN && j < kN;
            ASSERT_EQ(m.arrays.UniformStencil(i, j), inner && !weighted ? 1 : 0) << i << ", " << j;
            ASSERT_EQ(m.arrays.Reluctivity(i, j), i == 20 && j == 30 ? 1 / m.project.SteelMu : 1);
            ASSERT_EQ(m.arrays.Source(i, j), 0);
        }
    }
}

TEST_F(MaterialMap, SampleOfAnotherSizeGivesTheNodesBothGridsHave) {
    Grid2D<MaterialCode> sampled(100);
    Paint(sampled, 0, 0, 0, 100, MaterialCode::Iron);  // the axis column
    Paint(sampled, 40, 100, 45, 45, MaterialCode::Coil1);
    BuildMaterialMap(m, sampled);
    for (int i = 0; i <= kN; ++i) {
        EXPECT_EQ(m.arrays.Material(0, i), MaterialCode::Iron);
        EXPECT_EQ(m.arrays.Material(i, 45), i >= 40 ? MaterialCode::Coil1
                                            : i > 0 ? MaterialCode::Vacuum
                                                    : MaterialCode::Iron);
    }
    EXPECT_EQ(m.arrays.UniformStencil(1, 10), 0);  // next to the iron on the axis
}

TEST_F(MaterialMap, MagnetFacesCarryTheSurfaceCurrentsAndTheBorderNone) {
    m.project.CurrentDensity1 = 3e6;
    m.project.SteelMu = 0;  // no iron drawn: never divided by
    Paint(material, 10, 19, 5, 5, MaterialCode::MagnetS);
    Paint(material, 10, 19, 8, 8, MaterialCode::MagnetN);
    material(20, 8) = MaterialCode::Coil1;  // a winding just outside the N magnet's outer face
    Paint(material, 0, 0, 0, kN, MaterialCode::MagnetN);     // on the axis: its inner face unseen
    Paint(material, 40, kN, 20, 20, MaterialCode::MagnetS);  // out to the edge
    Paint(material, 0, kN, kN, kN, MaterialCode::Coil1);
    BuildMaterialMap(m, material);
    for (int i = 2; i < 20; ++i) {
        EXPECT_EQ(m.arrays.Source(i, 5), i == 10 ? Face() : 0) << i;
        EXPECT_EQ(m.arrays.Source(i, 8), i == 10 ? -Face() : 0) << i;
    }
    EXPECT_EQ(m.arrays.Source(20, 5), -Face());
    EXPECT_DOUBLE_EQ(m.arrays.Source(20, 8), 3e6 * kMu0 * std::pow(m.project.GridStep, 2) + Face());
    EXPECT_EQ(m.arrays.Source(1, 30), Face());
    EXPECT_EQ(m.arrays.Source(40, 20), Face());
    EXPECT_EQ(m.arrays.Reluctivity(15, 5), 1 / m.project.MagMuRec);
    EXPECT_EQ(m.arrays.UniformStencil(20, 5), 0);  // the node outside reads the magnet's nu
    EXPECT_EQ(m.arrays.UniformStencil(21, 5), 1);
    for (int k = 0; k <= kN; ++k) {
        for (const auto& [i, j] : {std::pair{k, 0}, {k, kN}, {0, k}, {kN, k}}) {
            EXPECT_EQ(m.arrays.Source(i, j), 0) << i << ", " << j;
            EXPECT_EQ(m.arrays.UniformStencil(i, j), 0) << i << ", " << j;
        }
    }
}

TEST(MagnetCurve, FitsTheFirstStartMagnetAndNeedsRemanenceAndCoercivity) {
    Project p = MakeModel(50, 100).project;  // 1 T, 100 kA/m, 30 kJ/m3
    EXPECT_NEAR(p.MagCurveK, 1.99945, 5e-6);
    EXPECT_NEAR(p.MagMuRec, 30.07, 0.005);
    p.MagBHmax = 60e3;  // a squarer loop needs a smaller coefficient
    FitMagnetCurve(p);
    EXPECT_NEAR(p.MagCurveK, 0.9365, 5e-5);
    EXPECT_EQ(p.MagMuRec, MagnetMuRec(1, 100e3, p.MagCurveK));
    for (const auto& [br, hc] : {std::pair{0.0, 1e5}, {1.0, 0.0}, {NAN, 1e5}}) {
        p.MagBr = br, p.MagHc = hc;
        FitMagnetCurve(p);
        EXPECT_EQ(std::make_pair(p.MagCurveK, p.MagMuRec), std::make_pair(0.0, 0.0));
    }
}

TEST(CoilFigures, TurnsDensityAndPowerOfTheDrawnWinding) {
    // A 10 x 10 mm winding at r = 50 .. 60 mm of 1 mm wire: 100 turns, 10 A each, 1e7 A/m2;
    // copper power rho J^2 times the ring's volume 2 pi 54.5 mm 1e-4 m2 (2 pi taken as 6.28).
    Grid2D<MaterialCode> material(100);
    Paint(material, 50, 59, 20, 29, MaterialCode::Coil1);
    Paint(material, 0, 100, 0, 0, MaterialCode::Coil2);  // on the border only: not a coil
    CoilFigures c1, c2;
    ComputeCoilFigures(material, {0.001, 10, 7, 1, 1}, c1, c2);
    EXPECT_NEAR(c1.turns, 100, 1e-9);
    EXPECT_NEAR(c1.curDens, 1e7, 1e-4);
    EXPECT_NEAR(c1.power, kCopperResistivity * 1e14 * kTwoPi * 0.0545 * 1e-4, 0.1);
    EXPECT_EQ(std::make_tuple(c2.present, c2.current, c2.curDens),
              std::make_tuple(false, 0.0, 0.0));
    ComputeCoilFigures(material, {0.001, 10, 7, 0.5, 0}, c1, c2);  // half the wire: 4 x J
    EXPECT_NEAR(c1.curDens, 4e7, 1e-3);
    ComputeCoilFigures(material, {0.001, 10, 7, 0, 0}, c1, c2);  // no wire: no division by 0
    EXPECT_EQ(std::make_tuple(c1.turns, c1.curDens, c1.power), std::make_tuple(0.0, 0.0, 0.0));
}

}  // namespace
}  // namespace tesvid::testing
