#include <cmath>
#include <cstdio>
#include <string>

#include "solver/calculation.h"

namespace tesvid {

namespace {

// Which materials the inner nodes of the map hold (the solver never reads a material on the
// border, and the coil panel counts only inner nodes).
struct MaterialsOnMap {
    bool iron = false;
    bool magnet = false;
    bool coil1 = false;
    bool coil2 = false;
};

MaterialsOnMap FindMaterials(const Grid2D<MaterialCode>& material) {
    MaterialsOnMap found;
    const int n = material.N();
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            switch (material(i, j)) {
                case MaterialCode::Iron:
                    found.iron = true;
                    break;
                case MaterialCode::MagnetS:
                case MaterialCode::MagnetN:
                    found.magnet = true;
                    break;
                case MaterialCode::Coil1:
                    found.coil1 = true;
                    break;
                case MaterialCode::Coil2:
                    found.coil2 = true;
                    break;
                default:
                    break;
            }
        }
    }
    return found;
}

// Limits beyond which the reluctivity curve's squares overflow: far outside any material,
// but they keep every intermediate value of the curve finite.
constexpr double kLargestMu = 1e100;
// The solver works with the reluctivity 1/Mu: a smaller Mu would make it larger than the
// largest Mu makes it small, and a subnormal Mu (1e-310) makes it infinite.
constexpr double kSmallestMu = 1e-100;
constexpr double kLargestCurveB = 1e30;
// Where the field vanishes the local induction sits at its floor of 1e-10 T and the curve's
// target reluctivity is the small difference of two numbers of about m * b / 1e-10. Up to
// this product the difference keeps within half of its true value, 1/m; beyond it rounding
// can make it zero or negative, and the reluctivity of field-free iron would then drift
// towards 0 or infinity pass after pass.
constexpr double kLargestMuTimesB = 5e5;
// The reluctivity changes per visit by the factor 1 + ReluctivityRelaxation * (q - 1) with q in 0.7 .. 1.5;
// up to this factor it stays positive (10/3 would make it reach 0).
constexpr double kLargestKMu = 3.3;

bool PositiveUpTo(double v, double largest) {
    return v > 0 && v <= largest;
}
bool UsableMu(double mu) {
    return mu >= kSmallestMu && mu <= kLargestMu;
}

std::optional<std::string> Refuse(const char* message) {
    return std::string(message);
}

std::string GridName(int n) {
    return std::to_string(n) + "x" + std::to_string(n);
}

std::optional<std::string> JacobiRadiusRefusal(const Model& m) {
    const int n = m.project.GridSize;
    const double lowest = 1 - n / 50.0;
    const struct {
        double value;
        const char* name;
    } radii[] = {
        {m.project.Rjac0, "The initial Jacoby radius"},
        {m.project.Rjac1, "The main Jacoby radius"},
        {m.project.RjacFin, "The final Jacoby radius"},
        {(m.project.Rjac0 + m.project.Rjac1) * 0.5, "The mean of the initial and main Jacoby radii"},
        {(m.project.Rjac1 + m.project.RjacFin) * 0.5, "The mean of the main and final Jacoby radii"},
    };
    for (const auto& r : radii) {
        if (!(r.value >= lowest && r.value <= 1)) {
            char bound[32];
            std::snprintf(bound, sizeof bound, "%g", lowest);
            return std::string(r.name) + " must lie between " + bound + " and 1 on the " +
                   GridName(n) + " grid: check the Jacoby radii in Options.";
        }
    }
    return std::nullopt;
}

std::optional<std::string> CoilRefusal(int coil, double dProv, double curDens, double h) {
    const std::string name = "coil " + std::to_string(coil);
    if (!(dProv > 0) || !std::isfinite(dProv)) {
        return "The wire diameter of " + name + " must be positive: check the Coils values in " +
               "Options.";
    }
    if (!std::isfinite(curDens * kMu0 * h * h)) {
        return "The current density of " + name + " is too large to calculate: check its " +
               "current and wire diameter.";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CalculationRefusal(const Model& m,
                                              const Grid2D<MaterialCode>& material) {
    const int n = m.project.GridSize;
    if (!IsSupportedGridSize(n)) {
        return Refuse(
            "The grid must be 50x50, 100x100, 200x200 or 400x400: choose the grid "
            "in Options.");
    }
    const double h = m.project.GridStep;
    if (!(h > 0) || !std::isfinite(h * h)) {
        return Refuse("The grid step must be positive: check the area size in Options.");
    }
    if (auto refusal = JacobiRadiusRefusal(m)) {
        return refusal;
    }

    const MaterialsOnMap on = FindMaterials(material);
    if (on.iron) {
        if (!UsableMu(m.project.SteelMu)) {
            return Refuse(
                "The iron Mu must be a positive number from 1e-100 to 1e100: check the "
                "Iron values in Options.");
        }
        if (!(m.project.SteelSaturationB >= 0 && m.project.SteelSaturationB <= kLargestCurveB)) {
            return Refuse(
                "The iron Br must not be negative (nor above 1e30 T): check the "
                "Iron values in Options.");
        }
        if (!(m.project.SteelMu * m.project.SteelSaturationB <= kLargestMuTimesB)) {
            return Refuse(
                "The iron Mu times the iron Br must not exceed 500000 T: check the "
                "Iron values in Options.");
        }
    }
    if (on.magnet) {
        if (!(m.project.MagBr > 0) || !std::isfinite(m.project.MagBr)) {
            return Refuse("The magnet Br must be positive: check the Magnet values in Options.");
        }
        if (!(m.project.MagHc > 0) || !std::isfinite(m.project.MagHc * kMu0 * h)) {
            return Refuse("The magnet Hc must be positive: check the Magnet values in Options.");
        }
        if (!PositiveUpTo(m.project.MagCurveK, kLargestCurveB)) {
            return Refuse(
                "The magnet curve coefficient K is not a positive number: check Br, "
                "Hc and BHmax of the Magnet in Options.");
        }
        if (!UsableMu(m.project.MagMuRec) || !(m.project.MagMuRec * m.project.MagCurveK <= kLargestMuTimesB)) {
            return Refuse(
                "The magnet permeability derived from Br, Hc and BHmax is not a "
                "usable positive number: check the Magnet values in Options.");
        }
    }
    if ((on.iron || on.magnet) && !(m.project.ReluctivityRelaxation >= 0 && m.project.ReluctivityRelaxation <= kLargestKMu)) {
        return Refuse(
            "The Mu relaxation factor must lie between 0 and 3.3: check the "
            "Miscellaneous values in Options.");
    }
    if (on.coil1) {
        if (auto refusal = CoilRefusal(1, m.project.WireDiameter1, m.project.CurrentDensity1, h)) {
            return refusal;
        }
    }
    if (on.coil2) {
        if (auto refusal = CoilRefusal(2, m.project.WireDiameter2, m.project.CurrentDensity2, h)) {
            return refusal;
        }
    }
    return std::nullopt;
}

}  // namespace tesvid
