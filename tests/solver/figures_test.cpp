// Engineering figures against loop integrals of the mutual inductance, 1/2 L I^2, energy
// scaling and Newton's third law. Tolerances are those of the calculation's closed box.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "loop_integrals.h"
#include "solver/calculation.h"
#include "solver/drawn_model.h"
#include "solver/engineering_figures.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

// A uniformly filled winding: radii r0..r1, axial extent z0..z1 (m), N turns.
struct Winding {
    double r0, r1, z0, z1, turns;
    double Area() const { return (r1 - r0) * (z1 - z0); }
    double Density() const { return turns / Area(); }
};

// (N/S)^2 times M integrated over the winding twice; d = l u^2 and r' = r -+ (..) v^2 keep
// the integrands regular.
double SelfInductance(const Winding& w) {
    const double l = w.z1 - w.z0;
    const auto axial = [&](double r, double rr) {
        return Integrate(0, 1, [&](double u) {
            return 4 * l * l * u * (1 - u * u) * LoopMutual(r, rr, l * u * u);
        });
    };
    return w.Density() * w.Density() * Integrate(w.r0, w.r1, [&](double r) {
               return Integrate(0, 1, [&](double v) {
                   return 2 * v *
                          ((r - w.r0) * axial(r, r - (r - w.r0) * v * v) +
                           (w.r1 - r) * axial(r, r + (w.r1 - r) * v * v));
               });
           });
}

// Axial force I1 I2 dM/dz2 on winding 2, integrated over z2: M at its two ends.
double Force(const Winding& w1, double i1, const Winding& w2, double i2) {
    return i1 * i2 * w1.Density() * w2.Density() * Integrate(w1.r0, w1.r1, [&](double r1) {
               return Integrate(w2.r0, w2.r1, [&](double r2) {
                   return Integrate(w1.z0, w1.z1, [&](double z1) {
                       return LoopMutual(r1, r2, w2.z1 - z1) - LoopMutual(r1, r2, w2.z0 - z1);
                   });
               });
           });
}

// Flux along +Bz through the circle (r, z); a positive current drives a negative Bz.
double Flux(const Winding& w, double current, double r, double z) {
    return -current * w.Density() * Integrate(w.r0, w.r1, [&](double rr) {
        return Integrate(w.z0, w.z1, [&](double zz) { return LoopMutual(rr, r, z - zz); });
    });
}

struct Block {
    int i0, i1, j0, j1;
    MaterialCode code;
};

// Node i covers (i - 1/2) h .. (i + 1/2) h, row j covers j h .. (j + 1) h.
Winding WindingOf(const Block& b, double h, double wireMm) {
    Winding w{(b.i0 - 0.5) * h, (b.i1 + 0.5) * h, b.j0 * h, (b.j1 + 1) * h, 0};
    w.turns = w.Area() / (wireMm * wireMm * 1e-6);
    return w;
}

Model Calculate(int n, double areaMm, const std::vector<Block>& blocks, double current1,
                double current2, int mainSteps) {
    Model m = MakeModel(n, areaMm);
    m.project.MainSteps = static_cast<std::int16_t>(mainSteps);
    m.project.Current1 = current1, m.project.Current2 = current2;
    Grid2D<MaterialCode> material(n);
    for (const Block& b : blocks) {
        Paint(material, b.i0, b.i1, b.j0, b.j1, b.code);
    }
    CalculationObserver quiet;
    EXPECT_FALSE(CalculateDrawnModel(m, material, FixedSchedule(), quiet).refusal.has_value());
    EXPECT_FALSE(FiguresRefusal(m).has_value());
    return m;
}

double Relative(double value, double reference) {
    return value / reference - 1;
}

const Block kSolenoid{10, 19, 40, 59, MaterialCode::Coil1};  // 9.5..19.5 mm, 40..60 mm

TEST(EngineeringFigures, SolenoidInductanceEnergyAndFlux) {
    const Model m = Calculate(100, 100, {kSolenoid}, 2, 0, 60);
    const EngineeringFigures f = ComputeEngineeringFigures(m);
    const double h = m.project.GridStep;
    const Winding w = WindingOf(kSolenoid, h, 1);
    const double inductance = SelfInductance(w);
    ASSERT_TRUE(f.coil1.present && f.coil1.inductance && f.energy);
    EXPECT_NEAR(f.coil1.turns, w.turns, 1e-9 * w.turns);
    EXPECT_TRUE(f.coil1.current == 2 && !f.coil2.present);
    EXPECT_NEAR(Relative(*f.coil1.inductance, inductance), 0, 0.003);  // 0.07 % here
    EXPECT_NEAR(Relative(*f.energy, 0.5 * inductance * 2 * 2), 0, 0.003);
    // Copper wire of square section, 1.75e-8 ohm m.
    const double wireLength = w.turns * M_PI * (w.r0 + w.r1);
    EXPECT_NEAR(Relative(f.coil1.resistance, 1.75e-8 * wireLength / 1e-6), 0, 0.002);
    EXPECT_NEAR(Relative(f.coil1.power, 4 * f.coil1.resistance), 0, 1e-9);
    EXPECT_LT(std::abs(f.coil1.forceZ), 1e-4 * 0.5 * inductance * 4 / h);

    // In the bore, the winding and just outside it, at and between nodes.
    struct Circle {
        double r, z;  // m
    };
    for (const Circle c : {Circle{5 * h, 50 * h}, Circle{5.5 * h, 45.3 * h}, Circle{15 * h, 61 * h},
                           Circle{22 * h, 48 * h}}) {
        const std::optional<double> flux = FluxThroughCircle(m, c.r, c.z);
        ASSERT_TRUE(flux.has_value());
        const double reference = Flux(w, 2, c.r, c.z);
        EXPECT_NEAR(Relative(*flux, reference), 0, 0.01) << c.r << " " << c.z;
    }
    EXPECT_EQ(FluxThroughCircle(m, 5 * h, 50 * h), FluxThroughNodeCircle(m, 5, 50));
    EXPECT_FALSE(FluxThroughCircle(m, 101 * h, 50 * h).has_value());
    EXPECT_FALSE(FluxThroughCircle(m, 5 * h, -h).has_value());

    Model broken = m;
    broken.arrays.VecPot(50, 50) = NAN;
    EXPECT_TRUE(FiguresRefusal(broken).has_value());
    EXPECT_TRUE(FiguresRefusal(Model{m.project, {}, {}}).has_value());
}

TEST(EngineeringFigures, CoaxialCoilsAttractEquallyAndOppositely) {
    const Block upper{10, 19, 25, 39, MaterialCode::Coil1};
    const Block lower{10, 19, 50, 64, MaterialCode::Coil2};
    const Model m = Calculate(100, 100, {upper, lower}, 3, 2, 60);
    const EngineeringFigures f = ComputeEngineeringFigures(m);
    const double h = m.project.GridStep;
    const double onLower = Force(WindingOf(upper, h, 1), 3, WindingOf(lower, h, 1), 2);
    ASSERT_LT(onLower, 0);  // the lower coil is pulled up the picture
    EXPECT_NEAR(Relative(f.coil2.forceZ, onLower), 0, 0.01);  // 0.5 % here
    EXPECT_NEAR(Relative(-f.coil1.forceZ, onLower), 0, 0.01);
    EXPECT_NEAR(f.coil1.forceZ + f.coil2.forceZ, 0, 0.01 * std::abs(onLower));
}

TEST(EngineeringFigures, CoilAboveIronPlateFeelsItsImage) {
    // The plate (unsaturated) pulls as the coil's mirror image in its face, half a cell up.
    const Block coil{10, 19, 30, 44, MaterialCode::Coil1};
    const Block plate{0, 100, 50, 65, MaterialCode::Iron};
    const Model m = Calculate(100, 100, {coil, plate}, 1, 0, 60);
    const EngineeringFigures f = ComputeEngineeringFigures(m, {{40, 60}});
    const double h = m.project.GridStep;
    const double face = 49.5 * h;
    const Winding w = WindingOf(coil, h, 1);
    const Winding image{w.r0, w.r1, 2 * face - w.z1, 2 * face - w.z0, w.turns};
    const double onCoil = Force(image, 1, w, 1);
    ASSERT_GT(onCoil, 0);  // down the picture, towards the plate
    EXPECT_NEAR(Relative(f.coil1.forceZ, onCoil), 0, 0.03);
    ASSERT_EQ(f.bodies.size(), 1u);
    EXPECT_TRUE(f.bodies[0].material == MaterialCode::Iron && f.bodies[0].nodes == 101 * 16 &&
                f.bodies[0].touchesEdge);
    EXPECT_NEAR(f.bodies[0].forceZ, -f.coil1.forceZ, 0.01 * onCoil);
}

TEST(EngineeringFigures, ForcesOnAllBodiesBalance) {
    struct Case {
        const char* name;
        std::vector<Block> blocks;
        double current;                  // of both coils
        std::pair<int, int> pulledDown;  // a node of the body pulled down the picture
    };
    using M = MaterialCode;
    const std::vector<Case> cases = {
        {"plunger", {{0, 7, 20, 50, M::Iron}, {10, 20, 40, 70, M::Coil1}}, 10, {0, 20}},
        // Magnet S in an opposing Coil 2 field, above its middle: the winding is pushed down.
        {"magnet in a coil", {{0, 6, 40, 55, M::MagnetS}, {7, 15, 35, 65, M::Coil2}}, 5, {7, 35}},
        {"magnet and plate", {{0, 10, 30, 45, M::MagnetN}, {0, 30, 50, 55, M::Iron}}, 0, {0, 30}},
        {"magnet, disc and plate",
         {{0, 10, 30, 45, M::MagnetN}, {0, 20, 24, 29, M::Iron}, {0, 30, 50, 55, M::Iron}},
         0,
         {0, 24}},
    };
    for (const Case& c : cases) {
        const Model m = Calculate(100, 100, c.blocks, c.current, c.current, 60);
        const std::vector<BodyForce> all = ForcesOnAllBodies(m);
        ASSERT_EQ(all.size(), c.blocks.size()) << c.name;
        double sum = 0, largest = 0;
        for (const BodyForce& b : all) {
            sum += b.forceZ;
            largest = std::max(largest, std::abs(b.forceZ));
        }
        EXPECT_LT(std::abs(sum), 0.01 * largest) << c.name;
        const EngineeringFigures f = ComputeEngineeringFigures(m, {c.pulledDown});
        EXPECT_GT(f.bodies.at(0).forceZ, 0.1 * largest) << c.name;
    }
}

TEST(EngineeringFigures, TouchingPlungerForceIsTheVirtualWork) {
    // (I^2 / 2) dL/dz, dL/dz from the plunger drawn one cell higher and lower.
    const auto plunger = [](int dj) {
        return std::vector<Block>{{0, 9, 20 + dj, 50 + dj, MaterialCode::Iron},
                                  {10, 20, 40, 70, MaterialCode::Coil1}};
    };
    const Model m = Calculate(100, 100, plunger(0), 1, 0, 60);
    const EngineeringFigures f = ComputeEngineeringFigures(m, {{0, 20}});
    const EngineeringFigures up =
        ComputeEngineeringFigures(Calculate(100, 100, plunger(-1), 1, 0, 60));
    const EngineeringFigures down =
        ComputeEngineeringFigures(Calculate(100, 100, plunger(1), 1, 0, 60));
    const double work =
        0.5 * (*down.coil1.inductance - *up.coil1.inductance) / (2 * m.project.GridStep);
    ASSERT_GT(work, 0);  // pulled in, down the picture
    EXPECT_NEAR(Relative(f.bodies.at(0).forceZ, work), 0, 0.005);
    EXPECT_NEAR(Relative(-f.coil1.forceZ, work), 0, 0.005);
}

struct CurrentSweep {
    std::vector<double> current, energy, fluxLinkage;
};
CurrentSweep Sweep(int n, const std::vector<Block>& blocks, double largest, int steps) {
    CurrentSweep s;
    for (int k = 1; k <= steps; ++k) {
        const double current = largest * k / steps;
        const EngineeringFigures f =
            ComputeEngineeringFigures(Calculate(n, 100, blocks, current, 0, 100));
        s.current.push_back(current);
        s.energy.push_back(f.energy.value_or(NAN));
        s.fluxLinkage.push_back(f.coil1.fluxLinkage);
    }
    return s;
}

TEST(EngineeringFigures, EnergyScalesWithTheSquareOfTheCurrentUntilIronSaturates) {
    const CurrentSweep air = Sweep(50, {{5, 10, 20, 35, MaterialCode::Coil1}}, 3, 3);
    EXPECT_NEAR(air.energy[2] / air.energy[0], 9, 9e-9);
    EXPECT_NEAR(air.energy[1] / air.energy[0], 4, 4e-9);

    // Saturating iron: energy grows slower than I^2 and stays the integral of I dPsi.
    const CurrentSweep iron = Sweep(
        50, {{0, 3, 10, 24, MaterialCode::Iron}, {5, 10, 20, 35, MaterialCode::Coil1}}, 200, 10);
    double work = 0, previousCurrent = 0, previousLinkage = 0;
    for (std::size_t k = 0; k < iron.current.size(); ++k) {
        work += (iron.current[k] + previousCurrent) / 2 * (iron.fluxLinkage[k] - previousLinkage);
        previousCurrent = iron.current[k];
        previousLinkage = iron.fluxLinkage[k];
        EXPECT_NEAR(Relative(iron.energy[k], work), 0, 0.03) << iron.current[k];
    }
    const double first = iron.energy.front() / (iron.current.front() * iron.current.front());
    const double last = iron.energy.back() / (iron.current.back() * iron.current.back());
    EXPECT_LT(last, 0.85 * first);
}

TEST(EngineeringFigures, TextLinesCarryUnits) {
    EXPECT_EQ(EngineeringText(999.7, "N"), "1.00 kN");
    EXPECT_EQ(EngineeringText(2.5e-4, "Wb"), "250 µWb");
    EXPECT_EQ(EngineeringText(1.5e-15, "H"), "1.50e-15 H");
    EngineeringFigures f;
    f.coil1 = {true, 450.75, 10, 0.0424, 0.00424, 0.991, 99.1, -0.5};
    f.bodies.push_back({3, 4, MaterialCode::Iron, 120, true, 2.5});
    const std::vector<std::string> lines = FiguresTextLines(f, ',');
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "Coil 1: L = 4,24 mH, Psi = 42,4 mWb, F_z = -500 mN, N = 450,8 turns, I = 10,0 A, "
              "R = 991 mohm, P = 99,1 W");
    EXPECT_EQ(lines[1], "Stored energy: not given with a permanent magnet on the map");
    EXPECT_EQ(lines[2], "Iron at node (3, 4), 120 nodes: F_z = 2,50 N (cut by the area's edge)");
}

}  // namespace
}  // namespace tesvid::testing
