#include "solver/material_map.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tesvid {

void CreateGridArrays(ModelState& m) {
    // A negative size would wrap around in the element count; such a grid gets no nodes.
    const int n = std::max<int>(m.GridSize, 0);
    const auto columns = static_cast<std::size_t>(n) + 1;
    m.CoefRPlus.assign(columns, 0.0);
    m.CoefRMinus.assign(columns, 0.0);
    m.CoefDiag.assign(columns, 0.0);
    m.Material.Create(n);
    m.FixedMask.Create(n);
    m.TraceMark.Create(n);
    m.VecPot.Create(n);
    m.FluxFn.Create(n);
    m.Source.Create(n);
    m.MuNode.Create(n);
    m.NodeColor.Create(n);
    for (int i = 0; i <= n; ++i) {
        m.CoefRPlus[i] = (i + 1) / (i + 0.5);
        m.CoefRMinus[i] = (i - 1) / (i - 0.5);
        m.CoefDiag[i] = i / (i + 0.5) + i / (i - 0.5) + 2;
    }
    m.MapGridSize = m.GridSize;
}

namespace {

void DeriveFixedMask(ModelState& m) {
    const int n = m.Material.N();
    const auto& mat = m.Material;
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            const bool weighted = IsMagnetic(mat(i, j)) || IsMagnetic(mat(i - 1, j)) ||
                                  IsMagnetic(mat(i, j - 1)) || IsCoil(mat(i, j));
            m.FixedMask(i, j) = weighted ? 0 : 1;
        }
    }
}

void DeriveSource(ModelState& m) {
    const int n = m.Material.N();
    const auto& mat = m.Material;
    const double h = m.GridStep;
    const double face = m.MagHc * kMu0 * h;
    std::fill(m.Source.Vector().begin(), m.Source.Vector().end(), 0.0);
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            const MaterialCode here = mat(i, j);
            const MaterialCode inner = mat(i - 1, j);
            double& s = m.Source(i, j);
            if (here == MaterialCode::Coil1) {
                s = m.CurDens1 * kMu0 * h * h;
            }
            if (here == MaterialCode::Coil2) {
                s = m.CurDens2 * kMu0 * h * h;
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

void DeriveReluctivity(ModelState& m) {
    const auto& mat = m.Material.Vector();
    auto& nu = m.MuNode.Vector();
    // The divisions happen only for materials on the map, so a zero constant of a material
    // that is not drawn does no harm.
    for (std::size_t k = 0; k < mat.size(); ++k) {
        switch (mat[k]) {
            case MaterialCode::Iron:
                nu[k] = 1 / m.SteelMu;
                break;
            case MaterialCode::MagnetS:
            case MaterialCode::MagnetN:
                nu[k] = 1 / m.MagMuRec;
                break;
            default:
                nu[k] = 1;
                break;
        }
    }
}

}  // namespace

void DeriveFromMaterial(ModelState& m) {
    const int n = m.Material.N();
    if (m.FixedMask.N() != n || m.Source.N() != n || m.MuNode.N() != n ||
        m.MuNode.Size() != m.Material.Size()) {
        return;  // arrays of another grid: nothing can be derived consistently
    }
    DeriveFixedMask(m);
    DeriveSource(m);
    DeriveReluctivity(m);
}

void BuildMaterialMap(ModelState& m, const Grid2D<MaterialCode>& sampled) {
    CreateGridArrays(m);
    const int n = m.Material.N();
    if (sampled.N() == n && sampled.Size() == m.Material.Size()) {
        m.Material = sampled;
    } else {
        // A picture sampled at another size: take the nodes both grids have, Vacuum elsewhere.
        const int common = std::min(n, sampled.N());
        for (int i = 0; i <= common; ++i) {
            for (int j = 0; j <= common; ++j) {
                if (sampled.Contains(i, j)) {
                    m.Material(i, j) = sampled(i, j);
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

void FitMagnetCurve(ModelState& m) {
    const double br = m.MagBr;
    const double hc = m.MagHc;
    if (!(br > 0) || !(hc > 0) || !std::isfinite(br) || !std::isfinite(hc)) {
        // The curve needs both; a calculation with a magnet on the map is refused then.
        m.MagCurveK = 0;
        m.MagMuRec = 0;
        return;
    }
    double lo = br - kMu0 * hc;
    double hi = 2;
    double k = (lo + hi) / 2;
    for (int step = 0; step < 10; ++step) {
        if (LargestEnergyProduct(br, hc, k) < m.MagBHmax) {
            hi = k;
        } else {
            lo = k;
        }
        k = (lo + hi) / 2;
    }
    m.MagCurveK = k;
    m.MagMuRec = MagnetMuRec(br, hc, k);
}

}  // namespace tesvid
