// Models that cannot give a finite result are refused before they reach the solver; every
// model that is accepted runs to a finite field.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Iron, both magnets and both coils, with currents.
Model Everything(Grid2D<MaterialCode>& material) {
    material = RingMagnets(50);
    Paint(material, 30, 32, 10, 15, MaterialCode::Coil1);
    Paint(material, 34, 36, 10, 15, MaterialCode::Coil2);
    Model m = MakeModel(50, 100);
    m.project.CurrentDensity1 = 1e6;
    m.project.CurrentDensity2 = -1e6;
    return m;
}

TEST(CalculationRefusal, NamesTheOffendingValue) {
    const struct {
        double Project::*field;
        double value;
        const char* words;
    } cases[] = {
        {&Project::GridStep, 0, "grid step"},
        {&Project::GridStep, kNaN, "grid step"},
        {&Project::Rjac0, 1.001, "initial Jacoby radius"},
        {&Project::Rjac1, -0.01, "main Jacoby radius must lie between 0 and 1 on the 50x50 grid"},
        {&Project::RjacFin, kNaN, "final Jacoby radius"},
        {&Project::SteelMu, 0, "iron Mu"},
        {&Project::SteelMu, kInf, "iron Mu"},
        {&Project::SteelSaturationB, -1, "iron Br"},
        {&Project::SteelSaturationB, kInf, "iron Br"},
        {&Project::SteelMu, 1e6, "iron Mu times the iron Br"},
        {&Project::MagBr, 0, "magnet Br"},
        {&Project::MagHc, 0, "magnet Hc"},
        {&Project::MagCurveK, -0.1, "curve coefficient"},
        {&Project::MagMuRec, kNaN, "magnet permeability"},
        {&Project::ReluctivityRelaxation, -0.1, "Mu relaxation factor"},
        {&Project::ReluctivityRelaxation, 3.5, "Mu relaxation factor"},
        {&Project::WireDiameter1, 0, "wire diameter of coil 1"},
        {&Project::WireDiameter2, -1, "wire diameter of coil 2"},
        {&Project::CurrentDensity1, kInf, "current density of coil 1"},
    };
    Grid2D<MaterialCode> material;
    EXPECT_FALSE(CalculationRefusal(Everything(material), material));
    for (const auto& c : cases) {
        Model m = Everything(material);
        m.project.*c.field = c.value;
        const std::string refusal = CalculationRefusal(m, material).value_or("");
        EXPECT_NE(refusal.find(c.words), std::string::npos) << refusal << " / " << c.words;
        EXPECT_EQ(refusal.back(), '.');
    }
    Model m = Everything(material);
    m.project.GridSize = 60;
    EXPECT_NE(CalculationRefusal(m, material).value_or("").find("grid must be"), std::string::npos);
    // 1 - N/50 <= R <= 1: on a 100 grid a radius of -1 is allowed.
    m = MakeModel(100, 100);
    m.project.RjacFin = -1;
    EXPECT_FALSE(CalculationRefusal(m, Grid2D<MaterialCode>(100)));
}

TEST(CalculationRefusal, ConstantsOfMaterialsNotDrawnDoNotMatter) {
    Model m = MakeModel(50, 100);
    m.project.SteelMu = m.project.MagBr = m.project.MagMuRec = m.project.WireDiameter2 = 0;
    m.project.ReluctivityRelaxation = -7;
    m.project.MainSteps = -3;  // not refused: no main pass runs
    Grid2D<MaterialCode> material = AirCoil(50);
    Paint(material, 0, 50, 0, 0, MaterialCode::Coil2);  // only on the border: not a coil
    EXPECT_FALSE(CalculationRefusal(m, material));
}

TEST(CalculationRefusal, AcceptedExtremesStayFinite) {
    // Both ends of the Jacobi range, the largest relaxation factor, very soft and very hard
    // iron (Mu times Br 4.5e5 T), iron without saturation, a tiny grid step.
    const std::vector<std::vector<std::pair<double Project::*, double>>> extremes = {
        {{&Project::Rjac0, 0}, {&Project::Rjac1, 1}, {&Project::RjacFin, 0}},
        {{&Project::ReluctivityRelaxation, 3.3}},
        {{&Project::SteelMu, 1e-3}},
        {{&Project::SteelMu, 3e5}},
        {{&Project::SteelSaturationB, 0}},
        {{&Project::GridStep, 1e-9}}};
    for (const auto& changes : extremes) {
        Grid2D<MaterialCode> material;
        Model m = Everything(material);
        for (const auto& [field, value] : changes) {
            m.project.*field = value;
        }
        ASSERT_FALSE(CalculationRefusal(m, material));
        BuildMaterialMap(m, material);
        RecordingObserver observer(m);
        RunCalculation(m.arrays, m.project, observer);
        for (double nu : m.arrays.Reluctivity.Vector()) {
            ASSERT_TRUE(std::isfinite(nu) && nu > 0);
        }
        for (float b : m.field.B.Vector()) {
            ASSERT_TRUE(std::isfinite(b));
        }
        for (double e : observer.errors) {
            ASSERT_TRUE(std::isfinite(e));
        }
    }
}

}  // namespace
}  // namespace tesvid::testing
