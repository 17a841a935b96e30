#include "solver/material_map.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tesvid {

void CreateGridArrays(Model& m) {
    // A negative size would wrap around in the element count; such a grid gets no nodes.
    const int n = std::max<int>(m.project.GridSize, 0);
    const auto columns = static_cast<std::size_t>(n) + 1;
    m.arrays.CoefRPlus.assign(columns, 0.0);
    m.arrays.CoefRMinus.assign(columns, 0.0);
    m.arrays.CoefDiag.assign(columns, 0.0);
    m.arrays.Material.Create(n);
    m.arrays.UniformStencil.Create(n);
    m.arrays.VecPot.Create(n);
    m.arrays.Source.Create(n);
    m.arrays.Reluctivity.Create(n);
    for (int i = 0; i <= n; ++i) {
        m.arrays.CoefRPlus[i] = (i + 1) / (i + 0.5);
        m.arrays.CoefRMinus[i] = (i - 1) / (i - 0.5);
        m.arrays.CoefDiag[i] = i / (i + 0.5) + i / (i - 0.5) + 2;
    }
    m.arrays.MapGridSize = m.project.GridSize;
    m.arrays.Differences = FieldDifferences::OneSided;
}

namespace {

// A node is relaxed with the uniform (nu = 1) stencil unless it or a neighbour whose
// reluctivity its stencil reads (i-1 and j-1) is magnetic, or it lies in a winding.
void DeriveUniformStencil(Model& m) {
    const int n = m.arrays.Material.N();
    const auto& mat = m.arrays.Material;
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            const bool weighted = IsMagnetic(mat(i, j)) || IsMagnetic(mat(i - 1, j)) ||
                                  IsMagnetic(mat(i, j - 1)) || IsCoil(mat(i, j));
            m.arrays.UniformStencil(i, j) = weighted ? 0 : 1;
        }
    }
}

// The right-hand side S = mu0 J h^2 of each node's equation (T m). A winding carries its
// current density J (CurrentDensity1/2, A/m2) on every node. A magnet magnetised along the
// axis is replaced by its equivalent surface currents, K = Hc (A/m) on its inner and outer
// faces: a sheet current K h per cell, spread over the cell's area h^2, is J = K / h, so the
// node just inside the face gets +-mu0 Hc h, the sign set by the face (inner or outer) and
// the pole that faces up.
void DeriveSource(Model& m) {
    const int n = m.arrays.Material.N();
    const auto& mat = m.arrays.Material;
    const double h = m.project.GridStep;
    const double face = m.project.MagHc * kMu0 * h;
    std::fill(m.arrays.Source.Vector().begin(), m.arrays.Source.Vector().end(), 0.0);
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            const MaterialCode here = mat(i, j);
            const MaterialCode inner = mat(i - 1, j);
            double& s = m.arrays.Source(i, j);
            if (here == MaterialCode::Coil1) {
                s = m.project.CurrentDensity1 * kMu0 * h * h;
            }
            if (here == MaterialCode::Coil2) {
                s = m.project.CurrentDensity2 * kMu0 * h * h;
            }
            if (inner != MaterialCode::MagnetS && here == MaterialCode::MagnetS) {
                s += face;
            }
            if (inner == MaterialCode::MagnetS && here != MaterialCode::MagnetS) {
                s -= face;
            }
            if (inner != MaterialCode::MagnetN && here == MaterialCode::MagnetN) {
                s -= face;
            }
            if (inner == MaterialCode::MagnetN && here != MaterialCode::MagnetN) {
                s += face;
            }
        }
    }
}

void DeriveReluctivity(Model& m) {
    const auto& mat = m.arrays.Material.Vector();
    auto& nu = m.arrays.Reluctivity.Vector();
    // The divisions happen only for materials on the map, so a zero constant of a material
    // that is not drawn does no harm.
    for (std::size_t k = 0; k < mat.size(); ++k) {
        switch (mat[k]) {
            case MaterialCode::Iron:
                nu[k] = 1 / m.project.SteelMu;
                break;
            case MaterialCode::MagnetS:
            case MaterialCode::MagnetN:
                nu[k] = 1 / m.project.MagMuRec;
                break;
            default:
                nu[k] = 1;
                break;
        }
    }
}

}  // namespace

void DeriveFromMaterial(Model& m) {
    const int n = m.arrays.Material.N();
    if (m.arrays.UniformStencil.N() != n || m.arrays.Source.N() != n || m.arrays.Reluctivity.N() != n ||
        m.arrays.Reluctivity.Size() != m.arrays.Material.Size()) {
        return;  // arrays of another grid: nothing can be derived consistently
    }
    DeriveUniformStencil(m);
    DeriveSource(m);
    DeriveReluctivity(m);
}

void BuildMaterialMap(Model& m, const Grid2D<MaterialCode>& sampled) {
    CreateGridArrays(m);
    const int n = m.arrays.Material.N();
    if (sampled.N() == n && sampled.Size() == m.arrays.Material.Size()) {
        m.arrays.Material = sampled;
    } else {
        // A picture sampled at another size: take the nodes both grids have, Vacuum elsewhere.
        const int common = std::min(n, sampled.N());
        for (int i = 0; i <= common; ++i) {
            for (int j = 0; j <= common; ++j) {
                if (sampled.Contains(i, j)) {
                    m.arrays.Material(i, j) = sampled(i, j);
                }
            }
        }
    }
    DeriveFromMaterial(m);
}

double MagnetMuRec(double br, double hc, double k) {
    return (k / (kMu0 * hc)) / (1 + br / (-k - kMu0 * hc));
}

namespace {

// The demagnetisation curve B(H), H from -Hc to 0, for shape coefficient k.
double MagnetCurveB(double h, double br, double hc, double k) {
    const double a = (hc / br) * (1 + br / (-k - kMu0 * hc));
    return 1 / (a / (h + hc) + 1 / (k + kMu0 * (h + hc)));
}

double LargestEnergyProduct(double br, double hc, double k) {
    double largest = 0;
    for (int p = 1; p <= 99; ++p) {
        const double hp = -hc * p / 100;
        const double product = MagnetCurveB(hp, br, hc, k) * -hp;
        if (product > largest) {
            largest = product;
        }
    }
    return largest;
}

}  // namespace

void FitMagnetCurve(Project& p) {
    const double br = p.MagBr;
    const double hc = p.MagHc;
    if (!(br > 0) || !(hc > 0) || !std::isfinite(br) || !std::isfinite(hc)) {
        // The curve needs both; a calculation with a magnet on the map is refused then.
        p.MagCurveK = 0;
        p.MagMuRec = 0;
        return;
    }
    double lo = br - kMu0 * hc;
    double hi = 2;
    double k = (lo + hi) / 2;
    for (int step = 0; step < 10; ++step) {
        if (LargestEnergyProduct(br, hc, k) < p.MagBHmax) {
            hi = k;
        } else {
            lo = k;
        }
        k = (lo + hi) / 2;
    }
    p.MagCurveK = k;
    p.MagMuRec = MagnetMuRec(br, hc, k);
}

}  // namespace tesvid
