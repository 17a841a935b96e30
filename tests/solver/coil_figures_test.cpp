// The coil panel's figures from the material grid.
#include <gtest/gtest.h>

#include "solver/coil_quantities.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

TEST(CoilFigures, TenByTenBlock) {
    Grid2D<MaterialCode> material(100);
    Paint(material, 50, 59, 20, 29, MaterialCode::Coil1);
    CoilFigures c1;
    CoilFigures c2;
    ComputeCoilFigures(material, {0.001, 10, 7, 1, 1}, c1, c2);
    EXPECT_TRUE(c1.present);
    EXPECT_NEAR(c1.area, 1e-4, 1e-16);
    EXPECT_NEAR(c1.turns, 100, 1e-9);
    EXPECT_EQ(c1.current, 10);
    EXPECT_NEAR(c1.curDens, 1e7, 1e-4);
    EXPECT_NEAR(c1.ringLength, 34.226, 1e-9);
    EXPECT_NEAR(c1.power, 59.8955, 1e-3);
    // Coil 2 is not drawn: no current, whatever was typed.
    EXPECT_FALSE(c2.present);
    EXPECT_EQ(c2.current, 0);
    EXPECT_EQ(c2.turns, 0);
    EXPECT_EQ(c2.curDens, 0);
    EXPECT_EQ(c2.power, 0);
}

TEST(CoilFigures, DensityIsCurrentOverWireSquare) {
    Grid2D<MaterialCode> material(50);
    Paint(material, 5, 7, 5, 30, MaterialCode::Coil2);
    CoilFigures c1;
    CoilFigures c2;
    ComputeCoilFigures(material, {0.002, 0, 2.5, 1, 0.5}, c1, c2);
    EXPECT_TRUE(c2.present);
    EXPECT_NEAR(c2.curDens, 2.5 / (0.0005 * 0.0005), 1e-3);
    EXPECT_NEAR(c2.turns, 78 * 4e-6 / 0.25e-6, 1e-9);
}

TEST(CoilFigures, CoilOnlyOnTheBorderIsAbsent) {
    Grid2D<MaterialCode> material(100);
    Paint(material, 0, 100, 0, 0, MaterialCode::Coil1);
    Paint(material, 100, 100, 0, 100, MaterialCode::Coil1);
    CoilFigures c1;
    CoilFigures c2;
    ComputeCoilFigures(material, {0.001, 10, 10, 1, 1}, c1, c2);
    EXPECT_FALSE(c1.present);
    EXPECT_EQ(c1.current, 0);
    EXPECT_EQ(c1.area, 1e-200);
    EXPECT_EQ(c1.curDens, 0);
    EXPECT_EQ(c1.power, 0);
}

TEST(CoilFigures, ZeroWireDiameterGivesNoTurns) {
    Grid2D<MaterialCode> material(50);
    Paint(material, 5, 7, 5, 7, MaterialCode::Coil1);
    CoilFigures c1;
    CoilFigures c2;
    ComputeCoilFigures(material, {0.002, 10, 0, 0, 0}, c1, c2);
    EXPECT_TRUE(c1.present);
    EXPECT_EQ(c1.turns, 0);
    EXPECT_EQ(c1.curDens, 0);
    EXPECT_EQ(c1.power, 0);
    EXPECT_EQ(c2.curDens, 0);  // absent, and its zero diameter divides nothing either
}

}  // namespace
}  // namespace tesvid::testing
