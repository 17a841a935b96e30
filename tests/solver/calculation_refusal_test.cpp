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

ModelState ValidModel() {
    ModelState m = MakeModel(50, 100);
    m.CurDens1 = 1e6;
    m.CurDens2 = -1e6;
    return m;
}

// The refusal for a model changed by `change`, with everything drawn.
std::string RefusalAfter(const std::function<void(ModelState&)>& change) {
    ModelState m = ValidModel();
    change(m);
    return CalculationRefusal(m, EverythingDrawn()).value_or("");
}

TEST(CalculationRefusal, AcceptsAValidModel) {
    EXPECT_FALSE(CalculationRefusal(ValidModel(), EverythingDrawn()).has_value());
}

TEST(CalculationRefusal, NamesTheOffendingValue) {
    const struct {
        std::function<void(ModelState&)> change;
        const char* words;
    } cases[] = {
        {[](ModelState& m) { m.GridSize = 60; }, "grid must be"},
        {[](ModelState& m) { m.GridStep = 0; }, "grid step"},
        {[](ModelState& m) { m.GridStep = -0.002; }, "grid step"},
        {[](ModelState& m) { m.GridStep = kNaN; }, "grid step"},
        {[](ModelState& m) { m.Rjac0 = 1.001; }, "initial Jacoby radius"},
        {[](ModelState& m) { m.Rjac1 = -0.01; }, "main Jacoby radius"},
        {[](ModelState& m) { m.RjacFin = kNaN; }, "final Jacoby radius"},
        {[](ModelState& m) { m.SteelMu = 0; }, "iron Mu"},
        {[](ModelState& m) { m.SteelMu = -5; }, "iron Mu"},
        {[](ModelState& m) { m.SteelMu = kInf; }, "iron Mu"},
        {[](ModelState& m) { m.SteelMu = 3.47e-310; }, "iron Mu"},  // 1 / Mu overflows
        {[](ModelState& m) { m.SteelMaxB = -1; }, "iron Br"},
        {[](ModelState& m) { m.SteelMaxB = kInf; }, "iron Br"},
        {[](ModelState& m) { m.SteelMu = 1e6; }, "iron Mu times the iron Br"},
        {[](ModelState& m) { m.MagBr = 0; }, "magnet Br"},
        {[](ModelState& m) { m.MagHc = 0; }, "magnet Hc"},
        {[](ModelState& m) { m.MagCurveK = -0.1; }, "curve coefficient"},
        {[](ModelState& m) { m.MagMuRec = 0; }, "magnet permeability"},
        {[](ModelState& m) { m.MagMuRec = kNaN; }, "magnet permeability"},
        {[](ModelState& m) { m.MagMuRec = 1e-310; }, "magnet permeability"},
        {[](ModelState& m) { m.KMu = -0.1; }, "Mu relaxation factor"},
        {[](ModelState& m) { m.KMu = 3.5; }, "Mu relaxation factor"},
        {[](ModelState& m) { m.DProv1 = 0; }, "wire diameter of coil 1"},
        {[](ModelState& m) { m.DProv2 = -1; }, "wire diameter of coil 2"},
        {[](ModelState& m) { m.CurDens1 = kInf; }, "current density of coil 1"},
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
    ModelState m = ValidModel();
    m.RjacFin = -0.5;
    const Grid2D<MaterialCode> blank(50);
    EXPECT_TRUE(CalculationRefusal(m, blank).has_value());
    EXPECT_NE(CalculationRefusal(m, blank)->find("between 0 and 1 on the 50x50 grid"),
              std::string::npos);
    m.GridSize = 100;
    m.GridStep = 0.001;
    EXPECT_FALSE(CalculationRefusal(m, Grid2D<MaterialCode>(100)).has_value());
}

TEST(CalculationRefusal, ConstantsOfMaterialsNotDrawnDoNotMatter) {
    ModelState m = ValidModel();
    m.SteelMu = 0;
    m.SteelMaxB = -1;
    m.MagBr = 0;
    m.MagMuRec = 0;
    m.KMu = -7;
    m.DProv2 = 0;
    Grid2D<MaterialCode> material(50);
    Paint(material, 10, 12, 20, 30, MaterialCode::Coil1);
    Paint(material, 0, 50, 0, 0, MaterialCode::Coil2);  // only on the border: not a coil
    EXPECT_FALSE(CalculationRefusal(m, material).has_value());
    m.MainSteps = -3;  // not refused: no main pass runs
    EXPECT_FALSE(CalculationRefusal(m, material).has_value());
}

TEST(CalculationRefusal, AcceptedExtremesStayFinite) {
    // The edges of what is accepted: Jacobi radii at both ends of the range, the largest
    // relaxation factor, a very soft and a very hard iron, a tiny grid step.
    for (const auto& change : std::vector<std::function<void(ModelState&)>>{
             [](ModelState& m) {
                 m.Rjac0 = 0;
                 m.Rjac1 = 1;
                 m.RjacFin = 0;
             },
             [](ModelState& m) { m.KMu = 3.3; },
             [](ModelState& m) { m.SteelMu = 1e-100; },  // the smallest Mu
             [](ModelState& m) { m.MagMuRec = 1e-100; },
             [](ModelState& m) { m.SteelMu = 3e5; },  // Mu times Br 4.8e5 T
             [](ModelState& m) { m.SteelMaxB = 0; },
             [](ModelState& m) { m.GridStep = 1e-9; },
         }) {
        ModelState m = ValidModel();
        change(m);
        const Grid2D<MaterialCode> material = EverythingDrawn();
        ASSERT_FALSE(CalculationRefusal(m, material).has_value());
        BuildMaterialMap(m, material);
        RecordingObserver observer(m);
        RunCalculation(m, observer);
        for (double a : m.VecPot.Vector()) {
            ASSERT_TRUE(std::isfinite(a));
        }
        for (double nu : m.MuNode.Vector()) {
            ASSERT_TRUE(std::isfinite(nu) && nu > 0);
        }
        for (float b : m.FieldB.Vector()) {
            ASSERT_TRUE(std::isfinite(b));
        }
        for (double e : observer.errorValues) {
            ASSERT_TRUE(std::isfinite(e));
        }
    }
}

}  // namespace
}  // namespace tesvid::testing
