// Deriving the solver's input from the material grid, and the magnet curve fit.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/material_map.h"
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

TEST_F(MaterialMap, CreatesEveryArrayWithItsCoefficients) {
    m.arrays.VecPot.Create(20);  // a previous result of another size
    m.arrays.VecPot(3, 3) = 1;
    CreateGridArrays(m);
    EXPECT_EQ(m.arrays.MapGridSize, kN);
    for (const auto* grid : {&m.arrays.VecPot, &m.FluxFunction, &m.arrays.Source, &m.arrays.Reluctivity}) {
        EXPECT_EQ(grid->N(), kN);
        for (double v : grid->Vector()) {
            ASSERT_EQ(v, 0);
        }
    }
    EXPECT_EQ(m.arrays.Material.N(), kN);
    EXPECT_EQ(m.arrays.UniformStencil.N(), kN);
    EXPECT_EQ(m.TraceMark.N(), kN);
    EXPECT_EQ(m.NodeColor.N(), kN);
    ASSERT_EQ(m.arrays.CoefDiag.size(), static_cast<std::size_t>(kN + 1));
    EXPECT_EQ(m.arrays.CoefRPlus[0], 2);
    EXPECT_EQ(m.arrays.CoefRMinus[0], 2);
    EXPECT_EQ(m.arrays.CoefDiag[0], 2);
    EXPECT_DOUBLE_EQ(m.arrays.CoefRPlus[3], 4 / 3.5);
    EXPECT_DOUBLE_EQ(m.arrays.CoefRMinus[3], 2 / 2.5);
    EXPECT_DOUBLE_EQ(m.arrays.CoefDiag[3], 3 / 3.5 + 3 / 2.5 + 2);
    EXPECT_FALSE(m.field.B.Exists());  // left to the field evaluation
}

TEST_F(MaterialMap, BlankMap) {
    BuildMaterialMap(m, material);
    for (int i = 0; i <= kN; ++i) {
        for (int j = 0; j <= kN; ++j) {
            const bool inner = i > 0 && j > 0 && i < kN && j < kN;
            ASSERT_EQ(m.arrays.Source(i, j), 0);
            ASSERT_EQ(m.arrays.Reluctivity(i, j), 1);
            ASSERT_EQ(m.arrays.UniformStencil(i, j), inner ? 1 : 0) << i << ", " << j;
        }
    }
}

TEST_F(MaterialMap, SingleIronNodeWeightsItsStencils) {
    material(20, 30) = MaterialCode::Iron;
    BuildMaterialMap(m, material);
    for (int i = 1; i < kN; ++i) {
        for (int j = 1; j < kN; ++j) {
            const bool weighted =
                (i == 20 && j == 30) || (i == 21 && j == 30) || (i == 20 && j == 31);
            ASSERT_EQ(m.arrays.UniformStencil(i, j), weighted ? 0 : 1) << i << ", " << j;
        }
    }
    EXPECT_EQ(m.arrays.Reluctivity(20, 30), 1 / m.project.SteelMu);
    EXPECT_EQ(m.arrays.Reluctivity(21, 30), 1);
}

TEST_F(MaterialMap, MagnetFacesCarryTheSurfaceCurrents) {
    Paint(material, 10, 19, 5, 5, MaterialCode::MagnetS);
    Paint(material, 10, 19, 8, 8, MaterialCode::MagnetN);
    BuildMaterialMap(m, material);
    for (int i = 1; i < kN; ++i) {
        const double s = i == 10 ? Face() : i == 20 ? -Face() : 0;
        EXPECT_EQ(m.arrays.Source(i, 5), s) << i;
        EXPECT_EQ(m.arrays.Source(i, 8), -s) << i;
        EXPECT_EQ(m.arrays.Source(i, 6), 0);
    }
    EXPECT_EQ(m.arrays.Reluctivity(15, 5), 1 / m.project.MagMuRec);
    EXPECT_EQ(m.arrays.Reluctivity(15, 8), 1 / m.project.MagMuRec);
    EXPECT_EQ(m.arrays.Reluctivity(20, 5), 1);
    // The magnet and the node outside its outer face are weighted; so is the row below.
    EXPECT_EQ(m.arrays.UniformStencil(20, 5), 0);
    EXPECT_EQ(m.arrays.UniformStencil(15, 6), 0);
    EXPECT_EQ(m.arrays.UniformStencil(21, 5), 1);
}

TEST_F(MaterialMap, CoilNextToAMagnetFace) {
    m.project.CurrentDensity1 = 3e6;
    m.project.CurrentDensity2 = -2e6;
    Paint(material, 10, 19, 5, 5, MaterialCode::MagnetS);
    material(20, 5) = MaterialCode::Coil1;  // just outside the S magnet's outer face
    Paint(material, 10, 19, 9, 9, MaterialCode::MagnetN);
    material(10, 9) = MaterialCode::Coil2;  // a coil node on the N magnet's inner face
    material(9, 9) = MaterialCode::MagnetN;
    BuildMaterialMap(m, material);
    const double h = m.project.GridStep;
    EXPECT_DOUBLE_EQ(m.arrays.Source(20, 5), 3e6 * kMu0 * h * h - Face());
    EXPECT_DOUBLE_EQ(m.arrays.Source(10, 9), -2e6 * kMu0 * h * h + Face());
    EXPECT_EQ(m.arrays.Source(9, 9), -Face());
    EXPECT_EQ(m.arrays.UniformStencil(20, 5), 0);
}

TEST_F(MaterialMap, BorderNodesKeepNoSource) {
    m.project.CurrentDensity1 = 1e6;
    Paint(material, 0, kN, 0, 0, MaterialCode::Coil1);
    Paint(material, 0, kN, kN, kN, MaterialCode::Coil1);
    Paint(material, kN, kN, 0, kN, MaterialCode::Coil1);
    Paint(material, 0, 0, 0, kN, MaterialCode::MagnetN);     // the axis column
    Paint(material, 40, kN, 20, 20, MaterialCode::MagnetS);  // a magnet out to the edge
    BuildMaterialMap(m, material);
    for (int k = 0; k <= kN; ++k) {
        EXPECT_EQ(m.arrays.Source(k, 0), 0);
        EXPECT_EQ(m.arrays.Source(k, kN), 0);
        EXPECT_EQ(m.arrays.Source(0, k), 0);
        EXPECT_EQ(m.arrays.Source(kN, k), 0);
        EXPECT_EQ(m.arrays.UniformStencil(kN, k), 0);
        EXPECT_EQ(m.arrays.UniformStencil(0, k), 0);
    }
    // The N magnet on the axis has its inner face at i = 0, which is never visited; the node
    // beside it meets the outer face.
    EXPECT_EQ(m.arrays.Source(1, 10), Face());
    EXPECT_EQ(m.arrays.Source(40, 20), Face());
    EXPECT_EQ(m.arrays.Reluctivity(0, 10), 1 / m.project.MagMuRec);
}

TEST_F(MaterialMap, UnusedZeroConstantsDoNoHarm) {
    m.project.SteelMu = 0;
    m.project.MagMuRec = 0;
    material(5, 5) = MaterialCode::Coil2;
    BuildMaterialMap(m, material);
    for (double nu : m.arrays.Reluctivity.Vector()) {
        ASSERT_EQ(nu, 1);
    }
}

TEST_F(MaterialMap, BuildDiscardsThePreviousResult) {
    m.arrays.VecPot.Create(kN);
    m.arrays.VecPot(5, 5) = 1;
    m.TraceMark.Create(kN);
    m.TraceMark(5, 5) = 1;
    material(30, 30) = MaterialCode::Nonmag;
    BuildMaterialMap(m, material);
    EXPECT_EQ(m.arrays.VecPot(5, 5), 0);
    EXPECT_EQ(m.TraceMark(5, 5), 0);
    EXPECT_EQ(m.arrays.Material(30, 30), MaterialCode::Nonmag);
    EXPECT_EQ(m.arrays.UniformStencil(30, 30), 1);  // non-magnetic material is uniform
}

TEST(MagnetCurve, FitsTheEnergyProduct) {
    Model m = MakeModel(50, 100);
    m.project.MagBr = 1;
    m.project.MagHc = 100e3;
    m.project.MagBHmax = 30e3;
    FitMagnetCurve(m.project);
    EXPECT_NEAR(m.project.MagCurveK, 1.99945, 5e-6);
    EXPECT_NEAR(m.project.MagMuRec, 30.07, 0.005);
    EXPECT_EQ(m.project.MagMuRec, MagnetMuRec(1, 100e3, m.project.MagCurveK));

    m.project.MagBHmax = 60e3;
    FitMagnetCurve(m.project);
    EXPECT_NEAR(m.project.MagCurveK, 0.9365, 5e-5);
    EXPECT_NEAR(m.project.MagMuRec, 127.5, 0.05);
}

TEST(MagnetCurve, BracketEnds) {
    Model m = MakeModel(50, 100);
    m.project.MagBr = 1;
    m.project.MagHc = 100e3;
    const double lo = 1 - kMu0 * 100e3;
    const double width = (2 - lo) / 1024;  // ten halvings
    m.project.MagBHmax = 25e3;                     // Br*Hc/4: the straight line, K towards 2
    FitMagnetCurve(m.project);
    EXPECT_NEAR(m.project.MagCurveK, 2 - width / 2, 1e-12);
    m.project.MagBHmax = 99.9e3;  // near Br*Hc: almost rectangular, K towards the lower end
    FitMagnetCurve(m.project);
    EXPECT_NEAR(m.project.MagCurveK, lo + width / 2, 1e-12);
}

TEST(MagnetCurve, ZeroRemanenceOrCoercivityGivesNoCurve) {
    Model m = MakeModel(50, 100);
    m.project.MagBr = 0;
    FitMagnetCurve(m.project);
    EXPECT_EQ(m.project.MagCurveK, 0);
    EXPECT_EQ(m.project.MagMuRec, 0);
    m.project.MagBr = 1;
    m.project.MagHc = 0;
    FitMagnetCurve(m.project);
    EXPECT_EQ(m.project.MagMuRec, 0);
}

}  // namespace
}  // namespace tesvid::testing
