// The sign-and-size example: a short thick coil in air on a 50 grid over 100 mm, run through
// the whole schedule, against the known values and against the analytic field of a thick
// solenoid.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

// Axial field on the axis of a uniformly filled thick solenoid (current density j, radii
// r1 < r2, ends at z1 < z2) at the axial position z, with the magnetic constant mu0.
double ThickSolenoidAxialField(double j, double r1, double r2, double z1, double z2, double z,
                               double mu0) {
    const auto f = [&](double u) {
        return u * std::log((r2 + std::sqrt(r2 * r2 + u * u)) / (r1 + std::sqrt(r1 * r1 + u * u)));
    };
    return mu0 * j / 2 * (f(z - z1) - f(z - z2));
}

struct SolenoidRun {
    Model model;
    double lastError = 0;
};

// A Coil 1 block of the given nodes, 1e6 A/m2, the usual schedule.
SolenoidRun RunCoil(int n, double areaMm, int i0, int i1, int j0, int j1, int mainSteps) {
    SolenoidRun run{MakeModel(n, areaMm)};
    Model& m = run.model;
    m.project.CurrentDensity1 = 1e6;
    m.project.Rjac0 = 0.995;
    m.project.Rjac1 = 0.9995;
    m.project.RjacFin = 0.95;
    m.project.MainSteps = static_cast<std::int16_t>(mainSteps);
    m.project.ReluctivityRelaxation = 0.05;
    Grid2D<MaterialCode> material(n);
    Paint(material, i0, i1, j0, j1, MaterialCode::Coil1);
    EXPECT_FALSE(CalculationRefusal(m, material).has_value());
    BuildMaterialMap(m, material);
    RecordingObserver observer(m);
    RunCalculation(m.arrays, m.project, observer);
    run.lastError = observer.errorValues.back();
    return run;
}

// The field the solver should approach for the coil of nodes i0..i1, j0..j1, on the axis at
// row j. Node i carries the current of the ring from (i - 1/2) h to (i + 1/2) h. Along the
// axis each equation takes the mean source of its node and the node above, so the rows
// j0..j1 act from j0 h to (j1 + 1) h; that is also why the radial field vanishes on the row
// whose forward difference straddles the middle of that span.
double AnalyticField(const Model& m, int i0, int i1, int j0, int j1, int j) {
    const double h = m.project.GridStep;
    return ThickSolenoidAxialField(m.project.CurrentDensity1, (i0 - 0.5) * h, (i1 + 0.5) * h, j0 * h, (j1 + 1) * h,
                                   j * h, kMu0);
}

TEST(SolenoidField, SignAndSizeOfTheExample) {
    // 50 grid over 100 mm, Coil 1 at i 10..12, j 20..30, 1e6 A/m2: a positive current density
    // gives a negative axial field.
    const SolenoidRun run = RunCoil(50, 100, 10, 12, 20, 30, 10);
    const Model& m = run.model;
    EXPECT_NEAR(m.field.Bz(1, 25), -3.37e-3, 0.01e-3);
    EXPECT_EQ(m.field.Bz(0, 25), m.field.Bz(1, 25));
    for (int i = 1; i <= 49; ++i) {
        EXPECT_LT(std::abs(m.field.Br(i, 25)), 0.003 * std::abs(m.field.Bz(1, 25))) << "i = " << i;
    }
    EXPECT_NEAR(run.lastError, 0.21, 0.005);

    // Within 0.5 % of the analytic coil. (At this coarse step two errors of opposite sign
    // meet: the discretisation raises the field by about 0.6 %, the open boundary 40 mm from
    // the winding lowers it by about 0.7 %.)
    const double analytic = AnalyticField(m, 10, 12, 20, 30, 25);
    EXPECT_NEAR(-m.field.Bz(1, 25) / analytic, 1, 0.005);
}

TEST(SolenoidField, FineGridWithFarBoundaryAgreesClosely) {
    // The same coil at half the step (1 mm), with the boundary 75 mm or more from it: only
    // the second-order discretisation error is left, about 0.05 %.
    const SolenoidRun run = RunCoil(200, 200, 20, 25, 90, 110, 40);
    const Model& m = run.model;
    const double analytic = AnalyticField(m, 20, 25, 90, 110, 100);
    EXPECT_NEAR(-m.field.Bz(1, 100) / analytic, 1, 0.002);
    for (int i = 1; i <= 199; ++i) {
        EXPECT_LT(std::abs(m.field.Br(i, 100)), 0.003 * std::abs(m.field.Bz(1, 100))) << i;
    }
}

}  // namespace
}  // namespace tesvid::testing
