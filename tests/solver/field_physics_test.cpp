// The field against the analytic solenoid, closed-surface flux, mirror symmetry, linearity.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/calculation.h"
#include "solver/drawn_model.h"
#include "solver/material_map.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

// Axial field on the axis of a thick solenoid (density j, radii r1 < r2, ends z1 < z2).
double ThickSolenoidAxialField(double j, double r1, double r2, double z1, double z2, double z) {
    const auto f = [&](double u) {
        return u * std::log((r2 + std::hypot(r2, u)) / (r1 + std::hypot(r1, u)));
    };
    return kMu0 * j / 2 * (f(z - z1) - f(z - z2));
}

// Node i carries the ring (i -+ 1/2) h; rows j0..j1 act from j0 h to (j1 + 1) h.
double AnalyticAxialField(const Model& m, int i0, int i1, int j0, int j1, int j) {
    const double h = m.project.GridStep;
    return ThickSolenoidAxialField(m.project.CurrentDensity1, (i0 - 0.5) * h, (i1 + 0.5) * h,
                                   j0 * h, (j1 + 1) * h, j * h);
}

Model CoilRun(int n, double areaMm, int i0, int i1, int j0, int j1, int mainSteps,
              double* lastError = nullptr) {
    Model m = MakeModel(n, areaMm);
    m.project.MainSteps = static_cast<std::int16_t>(mainSteps);
    Grid2D<MaterialCode> material(n);
    Paint(material, i0, i1, j0, j1, MaterialCode::Coil1);
    const double error = Calculate(m, material, 1e6);
    if (lastError != nullptr) {
        *lastError = error;
    }
    return m;
}

TEST(FieldEvaluation, PotentialOfAKnownFieldGivesThatField) {
    // A = r (B0 / 2 + g z): Bz = B0 + 2 g z, Br = g r, exact for the one-sided differences
    // on every node but the corners; the axis repeats |B| of i = 1.
    Model m = MakeModel(50, 100);
    CreateGridArrays(m);
    const double h = m.project.GridStep, b0 = 0.3, g = 5;
    for (int i = 0; i <= 50; ++i) {
        for (int j = 0; j <= 50; ++j) {
            m.arrays.VecPot(i, j) = i * h * (b0 / 2 + g * j * h);
        }
    }
    EvaluateField(m);
    for (int i = 0; i <= 50; ++i) {
        for (int j = 0; j <= 50; ++j) {
            const bool corner = (i == 0 || i == 50) && (j == 0 || j == 50);
            const double br = corner || i == 0 ? 0 : g * i * h,
                         bz = corner ? 0 : b0 + 2 * g * j * h;
            ASSERT_NEAR(m.field.Br(i, j), br, 1e-6) << i << ", " << j;
            ASSERT_NEAR(m.field.Bz(i, j), bz, 1e-6) << i << ", " << j;
            ASSERT_NEAR(m.field.B(i, j), corner ? 0 : std::hypot(g * std::max(i, 1) * h, bz), 1e-6)
                << i << ", " << j;
        }
    }
    // A potential of another grid, or no step: field 0.
    m.project.GridSize = 100;
    EvaluateField(m);
    EXPECT_EQ(m.field.B, Grid2D<float>(100));
    m.project.GridSize = 50;
    m.project.GridStep = 0;
    EvaluateField(m);
    EXPECT_EQ(m.field.B, Grid2D<float>(50));
}

TEST(SolenoidField, SignAndSizeOfTheExample) {
    // A positive current density gives a negative axial field.
    double lastError = 0;
    const Model m = CoilRun(50, 100, 10, 12, 20, 30, 10, &lastError);
    EXPECT_NEAR(m.field.Bz(1, 25), -3.37e-3, 0.01e-3);
    EXPECT_EQ(m.field.Bz(0, 25), m.field.Bz(1, 25));
    EXPECT_EQ(m.field.Br(0, 25), 0);
    EXPECT_NEAR(lastError, 0.21, 0.005);
    // Discretisation (+0.6 %) and the near open boundary (-0.7 %) nearly cancel.
    EXPECT_NEAR(-m.field.Bz(1, 25) / AnalyticAxialField(m, 10, 12, 20, 30, 25), 1, 0.005);
}

// Half the step, the boundary far: only the second-order error is left. A cylinder in the bore
// from the mid-plane past the coil's end: the disc flux falls by what leaves through the side.
TEST(FineSolenoid, AgreesWithTheAnalyticFieldAndNoNetFluxLeavesAClosedCylinder) {
    const Model m = CoilRun(200, 200, 20, 25, 90, 110, 40);
    EXPECT_NEAR(-m.field.Bz(1, 100) / AnalyticAxialField(m, 20, 25, 90, 110, 100), 1, 0.002);
    const double h = m.project.GridStep;
    const int rim = 15, top = 100, bottom = 130;
    const auto discFlux = [&](int j) {
        double flux = 0;
        for (int i = 0; i < rim; ++i) {
            flux += m.field.Bz(i, j) * kTwoPi * (i + 0.5) * h * h;
        }
        return flux;
    };
    double sideFlux = 0;
    for (int j = top; j < bottom; ++j) {
        sideFlux += m.field.Br(rim, j) * kTwoPi * rim * h * h;
    }
    const double topFlux = discFlux(top), bottomFlux = discFlux(bottom);
    EXPECT_GT(std::abs(sideFlux), 0.5 * std::abs(topFlux));  // much leaves sideways
    EXPECT_NEAR(bottomFlux - topFlux, sideFlux, 0.01 * std::abs(topFlux));
}

TEST(FieldSymmetry, ArrangementSymmetricAboutTheMidPlaneGivesAMirroredField) {
    // Windings centred on row 25: Bz(i, 25 + k) = Bz(i, 25 - k) and Br, a difference across
    // rows j and j + 1, Br(i, 25 + k) = -Br(i, 24 - k).
    Model m = MakeModel(50, 100);
    Grid2D<MaterialCode> material(50);
    Paint(material, 4, 6, 20, 29, MaterialCode::Coil1);
    Paint(material, 15, 20, 22, 27, MaterialCode::Coil1);
    Calculate(m, material, 1e6);
    const double tolerance = 1e-5 * std::abs(m.field.Bz(1, 25));
    for (int i = 0; i <= 50; ++i) {
        for (int k = 1; k <= 23; ++k) {  // row 0 of the far column is a corner
            ASSERT_NEAR(m.field.Bz(i, 25 + k), m.field.Bz(i, 25 - k), tolerance) << i << ", " << k;
            ASSERT_NEAR(m.field.Br(i, 25 + k), -m.field.Br(i, 24 - k), tolerance) << i << ", " << k;
        }
    }
    EXPECT_GT(std::abs(m.field.Br(10, 35)), 100 * tolerance);  // the check is not of zeros
}

TEST(FieldLinearity, WithoutIronTheFieldIsLinearInTheCurrents) {
    Grid2D<MaterialCode> material = AirCoil(50);
    Paint(material, 30, 33, 5, 12, MaterialCode::Coil2);
    const auto field = [&](double current1, double current2) {
        Model m = MakeModel(50, 100);
        m.project.Current1 = current1;
        m.project.Current2 = current2;
        RecordingObserver observer(m);
        EXPECT_FALSE(CalculateDrawnModel(m, material, FixedSchedule(), observer).refusal);
        return m.field;
    };
    const FieldArrays one = field(3, -2), two = field(6, -4);
    // Doubling every source doubles every intermediate value exactly.
    for (std::size_t k = 0; k < one.B.Size(); ++k) {
        ASSERT_EQ(2 * one.Bz.Data()[k], two.Bz.Data()[k]) << k;
        ASSERT_EQ(2 * one.Br.Data()[k], two.Br.Data()[k]) << k;
    }
    // Superposition: each coil alone adds up to both together.
    const FieldArrays first = field(3, 0), second = field(0, -2);
    const double tolerance = 1e-5 * one.B(1, 25);
    for (std::size_t k = 0; k < one.B.Size(); ++k) {
        ASSERT_NEAR(first.Bz.Data()[k] + second.Bz.Data()[k], one.Bz.Data()[k], tolerance) << k;
        ASSERT_NEAR(first.Br.Data()[k] + second.Br.Data()[k], one.Br.Data()[k], tolerance) << k;
    }
    EXPECT_GT(std::abs(second.Bz(1, 8)), 100 * tolerance);
}

}  // namespace
}  // namespace tesvid::testing
