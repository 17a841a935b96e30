// Models that cannot give a finite result are refused before they reach the solver; every
// model that is accepted runs to a finite field.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Iron, both magnets and both coils on a 50 grid.
Grid2D<MaterialCode> EverythingDrawn() {
    Grid2D<MaterialCode> material = RingMagnets(50);
    Paint(material, 30, 32, 10, 15, MaterialCode::Coil1);
    Paint(material, 34, 36, 10, 15, MaterialCode::Coil2);
    return material;
}

Model ValidModel() {
    Model m = MakeModel(50, 100);
    m.project.CurrentDensity1 = 1e6;
    m.project.CurrentDensity2 = -1e6;
    return m;
}

// The refusal for a model changed by `change`, with everything drawn.
std::string RefusalAfter(const std::function<void(Model&)>& change) {
    Model m = ValidModel();
    change(m);
    return CalculationRefusal(m, EverythingDrawn()).value_or("");
}

TEST(CalculationRefusal, NamesTheOffendingValue) {
    EXPECT_FALSE(CalculationRefusal(ValidModel(), EverythingDrawn()).has_value());
    const struct {
        std::function<void(Model&)> change;
        const char* words;
    } cases[] = {
        {[](Model& m) { m.project.GridSize = 60; }, "grid must be"},
        {[](Model& m) { m.project.GridStep = 0; }, "grid step"},
        {[](Model& m) { m.project.GridStep = -0.002; }, "grid step"},
        {[](Model& m) { m.project.GridStep = kNaN; }, "grid step"},
        {[](Model& m) { m.project.Rjac0 = 1.001; }, "initial Jacoby radius"},
        {[](Model& m) { m.project.Rjac1 = -0.01; }, "main Jacoby radius"},
        {[](Model& m) { m.project.RjacFin = kNaN; }, "final Jacoby radius"},
        {[](Model& m) { m.project.SteelMu = 0; }, "iron Mu"},
        {[](Model& m) { m.project.SteelMu = -5; }, "iron Mu"},
        {[](Model& m) { m.project.SteelMu = kInf; }, "iron Mu"},
        {[](Model& m) { m.project.SteelSaturationB = -1; }, "iron Br"},
        {[](Model& m) { m.project.SteelSaturationB = kInf; }, "iron Br"},
        {[](Model& m) { m.project.SteelMu = 1e6; }, "iron Mu times the iron Br"},
        {[](Model& m) { m.project.MagBr = 0; }, "magnet Br"},
        {[](Model& m) { m.project.MagHc = 0; }, "magnet Hc"},
        {[](Model& m) { m.project.MagCurveK = -0.1; }, "curve coefficient"},
        {[](Model& m) { m.project.MagMuRec = 0; }, "magnet permeability"},
        {[](Model& m) { m.project.MagMuRec = kNaN; }, "magnet permeability"},
        {[](Model& m) { m.project.ReluctivityRelaxation = -0.1; }, "Mu relaxation factor"},
        {[](Model& m) { m.project.ReluctivityRelaxation = 3.5; }, "Mu relaxation factor"},
        {[](Model& m) { m.project.WireDiameter1 = 0; }, "wire diameter of coil 1"},
        {[](Model& m) { m.project.WireDiameter2 = -1; }, "wire diameter of coil 2"},
        {[](Model& m) { m.project.CurrentDensity1 = kInf; }, "current density of coil 1"},
    };
    for (const auto& c : cases) {
        const std::string refusal = RefusalAfter(c.change);
        ASSERT_FALSE(refusal.empty()) << c.words;
        EXPECT_NE(refusal.find(c.words), std::string::npos) << refusal << " / " << c.words;
        EXPECT_EQ(refusal.back(), '.');
    }
}

TEST(CalculationRefusal, JacobiRangeDependsOnTheGrid) {
    // 1 - N/50 <= R <= 1: at 50 cells R must not be negative, at 100 cells -1 is allowed.
    Model m = ValidModel();
    m.project.RjacFin = -0.5;
    const Grid2D<MaterialCode> blank(50);
    EXPECT_TRUE(CalculationRefusal(m, blank).has_value());
    EXPECT_NE(CalculationRefusal(m, blank)->find("between 0 and 1 on the 50x50 grid"),
              std::string::npos);
    m.project.GridSize = 100;
    m.project.GridStep = 0.001;
    EXPECT_FALSE(CalculationRefusal(m, Grid2D<MaterialCode>(100)).has_value());
}

TEST(CalculationRefusal, ConstantsOfMaterialsNotDrawnDoNotMatter) {
    Model m = ValidModel();
    m.project.SteelMu = 0;
    m.project.SteelSaturationB = -1;
    m.project.MagBr = 0;
    m.project.MagMuRec = 0;
    m.project.ReluctivityRelaxation = -7;
    m.project.WireDiameter2 = 0;
    Grid2D<MaterialCode> material(50);
    Paint(material, 10, 12, 20, 30, MaterialCode::Coil1);
    Paint(material, 0, 50, 0, 0, MaterialCode::Coil2);  // only on the border: not a coil
    EXPECT_FALSE(CalculationRefusal(m, material).has_value());
    m.project.MainSteps = -3;  // not refused: no main pass runs
    EXPECT_FALSE(CalculationRefusal(m, material).has_value());
}

TEST(CalculationRefusal, AcceptedExtremesStayFinite) {
    // The edges of what is accepted: Jacobi radii at both ends of the range, the largest
    // relaxation factor, a very soft and a very hard iron, a tiny grid step.
    for (const auto& change : std::vector<std::function<void(Model&)>>{
             [](Model& m) {
                 m.project.Rjac0 = 0;
                 m.project.Rjac1 = 1;
                 m.project.RjacFin = 0;
             },
             [](Model& m) { m.project.ReluctivityRelaxation = 3.3; },
             [](Model& m) { m.project.SteelMu = 1e-3; },
             [](Model& m) { m.project.SteelMu = 3e5; },  // Mu times Br 4.5e5 T
             [](Model& m) { m.project.SteelSaturationB = 0; },
             [](Model& m) { m.project.GridStep = 1e-9; },
         }) {
        Model m = ValidModel();
        change(m);
        const Grid2D<MaterialCode> material = EverythingDrawn();
        ASSERT_FALSE(CalculationRefusal(m, material).has_value());
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
