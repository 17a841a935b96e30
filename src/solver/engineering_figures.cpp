#include "solver/engineering_figures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/number_format.h"
#include "model/physical_constants.h"
#include "solver/coil_quantities.h"

// The physics of the figures
// --------------------------
// Symbols and the arrays that hold them: A (T m) is VecPot, the azimuthal vector potential,
// node (i, j) at r = i h, z = j h with h = GridStep (z runs down the picture); mu0 = kMu0
// (1.256e-6 H/m); J (A/m2) the coil current density N I / S of a winding of N turns over the
// cross-section S; nu = 1 / mu_r the relative reluctivity. With this z the program's A is the
// potential of the right-handed frame (r, phi, z): Br = -dA/dz, Bz = (1/r) d(r A)/dr, and the
// field equation the solver relaxes,
//     d/dz(nu dA/dz) + d/dr(nu (1/r) d(r A)/dr) = mu0 J,
// says that a winding of positive J carries the azimuthal current -J (it drives a negative Bz
// on the axis). On the grid the equation of inner node (i, j) is (relax_pass.cpp)
//     L_nu A (i, j) = Smean(i, j),   Smean = (S(i, j-1) + S(i, j)) / 2,  S = mu0 J h^2,
// where L_nu is the sum over the node's four links of nu_link times the link's difference:
//     right link to (i+1, j):  Phi(i, j)  = ((i+1) A(i+1, j) - i A(i, j)) / (i + 1/2)  (= h Bz),
//     down link to (i, j+1):   dA(i, j)   = A(i, j+1) - A(i, j)                         (= -h Br),
// each link carrying the reluctivity of its lower-index end ("owner"), and the axis link
// (0, j)-(1, j) that of node (1, j) when (1, j) is magnetic. So node (i, j) stands for the
// ring i h -+ h/2 in radius and, for a winding, j h .. (j + 1) h along the axis.
//
// Flux linkage. Psi = (N / S) times the sum over the winding of 2 pi r A dr dz, counted in the
// sense of the coil's own current (which is -phi for a positive J):
//     Psi_k = -(N_k / S_k) sum over inner nodes of 2 pi (i h) h^2 A(i, j) f_k(i, j),
// f_k(i, j) = the share (0, 1/2 or 1) of Smean(i, j) that winding k supplies. With this f_k
// the stored energy of a linear arrangement is exactly 1/2 sum Psi_k I_k for the grid's own
// equations (once they are satisfied), and L_k = Psi_k / I_k.
//
// Energy. W = integral of w(B) dV, w(B) = integral from 0 to B of H dB.
//   Without iron (and magnets) W = 1/2 sum Psi_k I_k: this holds the energy beyond the area's
//   edge too, as far as the calculation's boundary stands for the space outside.
//   With iron, W is the integral over the area (the energy beyond its edge is missing):
//     vacuum, coils, Nonmag:  w = B^2 / (2 mu0);
//     iron, the hyperbola B = m p (p + b) / ((1 + m) p + b), p = mu0 H, m = SteelMu,
//     b = SteelSaturationB (relax_sweep_kernels.h):  w = (p B - C(p)) / mu0 with
//         C(p) = integral of B dp = m [p^2 / (2 c) + (m b^2 / c^3) (x - ln(1 + x))],
//         c = 1 + m, x = c p / b,
//     p from B the positive root of m p^2 + (m b - c B) p - b B = 0.
//   Every link holds its share of its owner node's energy: the link's volume (2 pi (i + 1/2)
//   h^3 for a right link, 2 pi i h^3 for a down link; half on the area's edges) times
//   w(B_o) b^2 / B_o^2, b the link's component (Phi / h or dA / h) and B_o = sqrt(Phi^2 +
//   dA^2) / h the induction at the owner. For a linear material that is nu b^2 / (2 mu0)
//   per link, the energy of the grid's own equations (equal to 1/2 sum Psi_k I_k once they
//   are satisfied, up to the energy beyond the edge); for iron the owner's two links
//   together hold w(B_o) times its cell. Once the iron saturates w < p B / 2 and W grows
//   more slowly than I^2.
//   A magnet's w is not defined by the field (it depends on how the magnet was magnetised),
//   so the energy is not reported with magnets on the map.
//
// Forces. The grid's equation is exact for vacuum (nu = 1) everywhere if every node carries the
// source s(i, j) = L_1 A (i, j), the uniform stencil applied to the potential: the winding's
// Smean, the magnets' face currents (material_map.cpp) and the magnetisation currents of
// every link whose owner is magnetic, (1 - nu_link) times the link's difference added at the
// owner's end and taken at the other. In vacuum the force on a set of sources is the Lorentz
// force F_z = integral of (J x B)_z dV with the azimuthal current -s / (mu0 h^2) and Br:
//     F_z = -(pi / mu0) sum over inner nodes of i s(i, j) (A(i, j+1) - A(i, j-1)),
// Br taken as the central difference. Because the uniform stencil (weighted by i) is symmetric
// and commutes with that difference along z, the sources of one body exert no net force on
// themselves, the pairs of bodies exert equal and opposite forces, and the sum over a body
// equals the discrete Maxwell stress on any contour through vacuum around it. The force on
// a body is this sum over its share of the sources:
//     - a winding: its share of Smean;
//     - a magnet: its face currents and the magnetisation currents of the links it owns;
//     - iron: the magnetisation currents of the links it owns;
//     - Nonmag: nothing (F_z = 0).
// nu_link comes from the material's curve at B_o (the reluctivity a converged calculation
// holds; a stored project keeps no reluctivity). What L_1 A holds beyond these shares (the
// calculation's residual, and the difference between the curve's nu and the calculation's)
// is given to the bodies that have sources on the node, in proportion to their shares, so
// that a body surrounded by vacuum gets exactly the stress on a contour around it. Where
// two bodies touch, the shared links are split by their owner, as the grid itself places the
// interface: the force is that of the two bodies parted by a gap thinner than a cell.
// The force on a coil is this force on its winding: for the coil in vacuum the Lorentz force
// F_z = integral of J Br dV with the program's J (the winding's azimuthal current density is
// -J), so that two coaxial coils with currents in the same sense attract.
//
// Flux through a circle: Phi = integral of Bz dS over the disc = 2 pi r A(r, z), along +Bz.

namespace tesvid {
namespace {

constexpr double kPi = kTwoPi / 2;

bool PositiveFinite(double v) {
    return v > 0 && std::isfinite(v);
}

// The saturating material curve B(p) = m p (p + b) / ((1 + m) p + b), p = mu0 H.
struct Curve {
    double m = 1;
    double b = 0;

    // p at induction b0 >= 0: the positive root of m p^2 + (m b - c B) p - b B = 0, in the form
    // that does not cancel.
    double P(double bInd) const {
        const double c = 1 + m;
        const double q = m * b - c * bInd;
        const double root = std::sqrt(q * q + 4 * m * b * bInd);
        if (q > 0) {
            return 2 * b * bInd / (q + root);
        }
        return (root - q) / (2 * m);
    }
    // nu = p / B (its limit 1/m, or c/m for b = 0, at B = 0).
    double Nu(double bInd) const {
        const double c = 1 + m;
        const double q = m * b - c * bInd;
        const double root = std::sqrt(q * q + 4 * m * b * bInd);
        if (q > 0) {
            return 2 * b / (q + root);
        }
        return bInd > 0 ? (root - q) / (2 * m * bInd) : c / m;
    }
    // Co-energy times mu0: the integral of B dp from 0 to p.
    double CoEnergy(double p) const {
        const double c = 1 + m;
        const double linear = m * p * p / (2 * c);
        if (!(b > 0)) {
            return linear;
        }
        const double x = c * p / b;
        // x - ln(1 + x), by its series where the two nearly cancel.
        const double rest =
            x < 1e-3 ? x * x * (0.5 - x * (1.0 / 3 - x * (0.25 - x * 0.2))) : x - std::log1p(x);
        return linear + m * m * b * b / (c * c * c) * rest;
    }
    // Energy density times mu0 at induction B: p B - C(p).
    double Energy(double bInd) const {
        const double p = P(bInd);
        return std::max(0.0, p * bInd - CoEnergy(p));
    }
};

// The connected regions of one material (four-neighbour), labelled 0.. in the order of their
// first node (column by column); Vacuum nodes get -1.
struct Bodies {
    Grid2D<int> label;
    std::vector<BodyForce> body;  // node, material, count, edge; forceZ filled in later

    explicit Bodies(const Grid2D<MaterialCode>& mat) {
        const int n = mat.N();
        label.Create(n);
        std::fill(label.Vector().begin(), label.Vector().end(), -1);
        std::vector<std::pair<int, int>> stack;
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                if (mat(i, j) == MaterialCode::Vacuum || label(i, j) >= 0) {
                    continue;
                }
                const int id = static_cast<int>(body.size());
                BodyForce b;
                b.i = i;
                b.j = j;
                b.material = mat(i, j);
                label(i, j) = id;
                stack.assign(1, {i, j});
                while (!stack.empty()) {
                    const auto [p, q] = stack.back();
                    stack.pop_back();
                    ++b.nodes;
                    b.touchesEdge = b.touchesEdge || p == n || q == 0 || q == n;
                    const std::array<std::pair<int, int>, 4> next = {
                        {{p - 1, q}, {p + 1, q}, {p, q - 1}, {p, q + 1}}};
                    for (const auto& [u, v] : next) {
                        if (mat.Contains(u, v) && label(u, v) < 0 && mat(u, v) == b.material) {
                            label(u, v) = id;
                            stack.push_back({u, v});
                        }
                    }
                }
                body.push_back(b);
            }
        }
    }
};

// Everything the figures read from the model, derived once.
class FigureField {
  public:
    explicit FigureField(const Model& m)
        : m_(m),
          a_(m.arrays.VecPot),
          mat_(m.arrays.Material),
          n_(m.arrays.VecPot.N()),
          h_(m.project.GridStep),
          bodies_(mat_),
          iron_{m.project.SteelMu, m.project.SteelSaturationB},
          magnet_{m.project.MagMuRec, m.project.MagCurveK} {
        ComputeCoilFigures(mat_,
                           CoilInputs{h_, m.project.Current1, m.project.Current2,
                                      m.project.WireDiameter1, m.project.WireDiameter2},
                           panel1_, panel2_);
        DeriveLinks();
    }

    EngineeringFigures Figures(const std::vector<std::pair<int, int>>& bodyNodes) const {
        EngineeringFigures f;
        const std::vector<double> force = BodyForces();
        f.coil1 = Coil(MaterialCode::Coil1, panel1_, m_.project.WireDiameter1, force);
        f.coil2 = Coil(MaterialCode::Coil2, panel2_, m_.project.WireDiameter2, force);
        f.energy = Energy(f.coil1, f.coil2);
        for (const auto& [i, j] : bodyNodes) {
            if (!mat_.Contains(i, j) || bodies_.label(i, j) < 0) {
                continue;  // refused by BodyRefusal: no body there
            }
            BodyForce b = bodies_.body[static_cast<std::size_t>(bodies_.label(i, j))];
            b.forceZ = force[static_cast<std::size_t>(bodies_.label(i, j))];
            b.i = i;
            b.j = j;
            f.bodies.push_back(b);
        }
        return f;
    }

    std::vector<BodyForce> AllBodies() const {
        const std::vector<double> force = BodyForces();
        std::vector<BodyForce> all = bodies_.body;
        for (std::size_t k = 0; k < all.size(); ++k) {
            all[k].forceZ = force[k];
        }
        return all;
    }

  private:
    const Model& m_;
    const Grid2D<double>& a_;
    const Grid2D<MaterialCode>& mat_;
    int n_;
    double h_;
    Bodies bodies_;
    Curve iron_;
    Curve magnet_;
    CoilFigures panel1_, panel2_;
    // Per node: the right and down link differences (h Bz and -h Br), the induction at the
    // node and the reluctivity its links carry by the material's curve.
    Grid2D<double> phi_, dA_, nu_;

    double A(int i, int j) const { return a_(i, j); }

    // The node whose material (and induction) sets the reluctivity of the right link of (i, j).
    std::pair<int, int> RightOwner(int i, int j) const {
        if (i == 0 && n_ >= 1 && IsMagnetic(mat_(1, j))) {
            return {1, j};
        }
        return {i, j};
    }

    void DeriveLinks() {
        phi_.Create(n_);
        dA_.Create(n_);
        nu_.Create(n_);
        for (int i = 0; i <= n_; ++i) {
            for (int j = 0; j <= n_; ++j) {
                if (i < n_) {
                    phi_(i, j) = ((i + 1) * A(i + 1, j) - i * A(i, j)) / (i + 0.5);
                }
                if (j < n_) {
                    dA_(i, j) = A(i, j + 1) - A(i, j);
                }
                // The induction reads only this node's two links, set just above.
                const Curve* curve = CurveOf(mat_(i, j));
                nu_(i, j) = curve != nullptr ? curve->Nu(Induction(i, j)) : 1;
            }
        }
    }

    const Curve* CurveOf(MaterialCode c) const {
        switch (c) {
            case MaterialCode::Iron:
                return &iron_;
            case MaterialCode::MagnetS:
            case MaterialCode::MagnetN:
                return &magnet_;
            default:
                return nullptr;
        }
    }

    double Induction(int i, int j) const { return std::hypot(phi_(i, j), dA_(i, j)) / h_; }

    // Source contributions of one node, by body.
    struct Share {
        int body;
        double value;
    };
    struct Shares {
        std::array<Share, 16> items{};
        int count = 0;
        void Add(int body, double value) {
            if (body < 0 || value == 0) {
                return;
            }
            for (int k = 0; k < count; ++k) {
                if (items[k].body == body) {
                    items[k].value += value;
                    return;
                }
            }
            items[count++] = {body, value};
        }
    };

    // The magnets' face currents of node (i, j) (their part of S = mu0 J h^2), by magnet
    // (material_map.cpp: +-mu0 Hc h on the node just inside each magnet's inner face and just
    // outside its outer face).
    void AddFaces(Shares& s, int i, int j, double weight) const {
        const double face = m_.project.MagHc * kMu0 * h_ * weight;
        const MaterialCode here = mat_(i, j);
        const MaterialCode inner = mat_(i - 1, j);
        const int hereBody = bodies_.label(i, j);
        const int innerBody = bodies_.label(i - 1, j);
        if (inner != MaterialCode::MagnetS && here == MaterialCode::MagnetS) {
            s.Add(hereBody, face);
        }
        if (inner == MaterialCode::MagnetS && here != MaterialCode::MagnetS) {
            s.Add(innerBody, -face);
        }
        if (inner != MaterialCode::MagnetN && here == MaterialCode::MagnetN) {
            s.Add(hereBody, -face);
        }
        if (inner == MaterialCode::MagnetN && here != MaterialCode::MagnetN) {
            s.Add(innerBody, face);
        }
    }

    // The winding's part of S at node (i, j).
    double CoilSource(int i, int j) const {
        switch (mat_(i, j)) {
            case MaterialCode::Coil1:
                return panel1_.curDens * kMu0 * h_ * h_;
            case MaterialCode::Coil2:
                return panel2_.curDens * kMu0 * h_ * h_;
            default:
                return 0;
        }
    }

    // Every body's share of the source of inner node (i, j), the residual included.
    void SharesOf(int i, int j, Shares& s) const {
        s.count = 0;
        // Winding and faces of this node and of the node above, each through the mean.
        for (int q = j - 1; q <= j; ++q) {
            if (q >= 1) {
                s.Add(bodies_.label(i, q), CoilSource(i, q) / 2);
                AddFaces(s, i, q, 0.5);
            }
        }
        // Magnetisation currents of the four links.
        const auto link = [&](int oi, int oj, double difference, double sign) {
            const double nu = nu_(oi, oj);
            if (nu != 1) {
                s.Add(bodies_.label(oi, oj), sign * (1 - nu) * difference);
            }
        };
        {
            const auto [oi, oj] = RightOwner(i - 1, j);
            link(oi, oj, phi_(i - 1, j), -1);
        }
        link(i, j, phi_(i, j), 1);
        link(i, j - 1, dA_(i, j - 1), -1);
        link(i, j, dA_(i, j), 1);
        // The residual: the uniform stencil's source less the shares.
        const double total = (phi_(i, j) - phi_(i - 1, j)) + (dA_(i, j) - dA_(i, j - 1));
        double sum = 0, sumAbs = 0;
        for (int k = 0; k < s.count; ++k) {
            sum += s.items[k].value;
            sumAbs += std::abs(s.items[k].value);
        }
        if (sumAbs > 0) {
            const double residual = total - sum;
            for (int k = 0; k < s.count; ++k) {
                s.items[k].value += residual * std::abs(s.items[k].value) / sumAbs;
            }
        }
    }

    // The force on every body.
    std::vector<double> BodyForces() const {
        std::vector<double> force(bodies_.body.size(), 0.0);
        Shares s;
        const auto vacuum = [&](int i, int j) { return mat_(i, j) == MaterialCode::Vacuum; };
        for (int i = 1; i <= n_ - 1; ++i) {
            for (int j = 1; j <= n_ - 1; ++j) {
                // Every share of node (i, j) comes from a material at (i, j), (i-1, j),
                // (i, j-1) or (i-1, j-1).
                if (vacuum(i, j) && vacuum(i - 1, j) && vacuum(i, j - 1) && vacuum(i - 1, j - 1)) {
                    continue;
                }
                SharesOf(i, j, s);
                if (s.count == 0) {
                    continue;
                }
                const double f = -(kPi / kMu0) * i * (A(i, j + 1) - A(i, j - 1));
                for (int k = 0; k < s.count; ++k) {
                    force[static_cast<std::size_t>(s.items[k].body)] += f * s.items[k].value;
                }
            }
        }
        return force;
    }

    CoilEngineeringFigures Coil(MaterialCode code, const CoilFigures& panel, double wireMm,
                                const std::vector<double>& force) const {
        CoilEngineeringFigures c;
        c.present = panel.present;
        if (!panel.present) {
            return c;
        }
        c.turns = panel.turns;
        c.current = panel.current;
        c.power = panel.power;
        // The coil panel's power is I^2 rho l / d^2 with the wire length l = (h^2 / d^2) times
        // the summed ring length: a wire of square section d x d filling the winding.
        const double d = wireMm / 1000;
        c.resistance =
            c.turns > 0 ? kCopperResistivity * panel.ringLength * h_ * h_ / (d * d * d * d) : 0;
        // Flux linkage: the winding's share of each inner node's mean source.
        double sum = 0;
        for (int i = 1; i <= n_ - 1; ++i) {
            for (int j = 1; j <= n_ - 1; ++j) {
                const double share =
                    ((j >= 2 && mat_(i, j - 1) == code ? 0.5 : 0) + (mat_(i, j) == code ? 0.5 : 0));
                if (share > 0) {
                    sum += i * A(i, j) * share;
                }
            }
        }
        c.fluxLinkage = -(c.turns / panel.area) * kTwoPi * h_ * h_ * h_ * sum;
        if (c.current != 0 && c.turns > 0) {
            c.inductance = c.fluxLinkage / c.current;
        }
        for (std::size_t k = 0; k < bodies_.body.size(); ++k) {
            if (bodies_.body[k].material == code) {
                c.forceZ += force[k];
            }
        }
        return c;
    }

    // Without iron W = 1/2 sum Psi_k I_k; with iron the integral of w(B) over the area.
    std::optional<double> Energy(const CoilEngineeringFigures& c1,
                                 const CoilEngineeringFigures& c2) const {
        bool iron = false;
        for (const MaterialCode c : mat_.Vector()) {
            if (c == MaterialCode::MagnetS || c == MaterialCode::MagnetN) {
                return std::nullopt;
            }
            iron = iron || c == MaterialCode::Iron;
        }
        if (!iron) {
            return 0.5 * (c1.fluxLinkage * c1.current + c2.fluxLinkage * c2.current);
        }
        // Sum over the links of (volume / (2 pi h^3)) mu0 w(B_o) / B_o^2 (h b)^2: the factor
        // mu0 w / B^2 is 1/2 but in iron, where it is found once per owner node.
        const auto factor = [&](int i, int j) {
            if (mat_(i, j) != MaterialCode::Iron) {
                return 0.5;
            }
            const double b = Induction(i, j);
            return b > 0 ? iron_.Energy(b) / (b * b) : iron_.Nu(0) / 2;
        };
        double sum = 0;
        for (int i = 0; i <= n_; ++i) {
            for (int j = 0; j <= n_; ++j) {
                const double own = factor(i, j);
                if (i < n_) {
                    const auto [oi, oj] = RightOwner(i, j);
                    const double volume = (i + 0.5) * ((j == 0 || j == n_) ? 0.5 : 1);
                    const double f = oi == i ? own : factor(oi, oj);
                    sum += volume * f * phi_(i, j) * phi_(i, j);
                }
                if (j < n_) {
                    const double volume = i * (i == n_ ? 0.5 : 1);
                    sum += volume * own * dA_(i, j) * dA_(i, j);
                }
            }
        }
        return kTwoPi * h_ * sum / kMu0;
    }
};

}  // namespace

bool HoldsPotential(const SolverArrays& arrays) {
    for (const double v : arrays.VecPot.Vector()) {
        if (v != 0) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> FiguresRefusal(const Model& m) {
    const int n = m.project.GridSize;
    const auto fits = [&](const auto& grid) {
        return n >= 2 && grid.N() == n &&
               grid.Size() == static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1);
    };
    if (!fits(m.arrays.VecPot) || !fits(m.arrays.Material)) {
        return "There is no calculated field for the grid in force: calculate first.";
    }
    if (!PositiveFinite(m.project.GridStep)) {
        return "The grid step is not a positive number: check the area size in Options.";
    }
    for (const double v : m.arrays.VecPot.Vector()) {
        if (!std::isfinite(v)) {
            return "The calculated potential holds values that are not numbers: calculate again.";
        }
    }
    bool iron = false, magnet = false;
    for (const MaterialCode c : m.arrays.Material.Vector()) {
        iron = iron || c == MaterialCode::Iron;
        magnet = magnet || c == MaterialCode::MagnetS || c == MaterialCode::MagnetN;
    }
    if (iron && (!PositiveFinite(m.project.SteelMu) || !(m.project.SteelSaturationB >= 0) ||
                 !std::isfinite(m.project.SteelSaturationB))) {
        return "The iron constants are not usable numbers: check the Iron values in Options.";
    }
    if (magnet && (!PositiveFinite(m.project.MagMuRec) || !PositiveFinite(m.project.MagCurveK) ||
                   !std::isfinite(m.project.MagHc))) {
        return "The magnet constants are not usable numbers: check the Magnet values in Options.";
    }
    return std::nullopt;
}

std::optional<std::string> BodyRefusal(const Model& m, int i, int j) {
    const auto& mat = m.arrays.Material;
    const std::string node = "(" + std::to_string(i) + ", " + std::to_string(j) + ")";
    if (!mat.Contains(i, j)) {
        return "Node " + node + " lies outside the grid (nodes 0.." + std::to_string(mat.N()) +
               "): no body to take the force on.";
    }
    if (mat(i, j) == MaterialCode::Vacuum) {
        return "Node " + node + " is Vacuum: choose a node of iron, a magnet or a coil.";
    }
    return std::nullopt;
}

EngineeringFigures ComputeEngineeringFigures(const Model& m,
                                             const std::vector<std::pair<int, int>>& bodyNodes) {
    return FigureField(m).Figures(bodyNodes);
}

std::vector<BodyForce> ForcesOnAllBodies(const Model& m) {
    return FigureField(m).AllBodies();
}

double FluxThroughNodeCircle(const Model& m, int i, int j) {
    return kTwoPi * i * m.project.GridStep * m.arrays.VecPot(i, j);
}

std::optional<double> FluxThroughCircle(const Model& m, double r, double z) {
    const int n = m.arrays.VecPot.N();
    const double h = m.project.GridStep;
    if (n < 1 || !PositiveFinite(h)) {
        return std::nullopt;
    }
    const double x = r / h;
    const double y = z / h;
    if (!(x >= 0 && x <= n && y >= 0 && y <= n)) {
        return std::nullopt;
    }
    const int i = std::min(static_cast<int>(x), n - 1);
    const int j = std::min(static_cast<int>(y), n - 1);
    const double u = x - i;
    const double v = y - j;
    const auto& a = m.arrays.VecPot;
    const auto ra = [&](int p, int q) { return p * a(p, q); };
    const double rA = (1 - u) * ((1 - v) * ra(i, j) + v * ra(i, j + 1)) +
                      u * ((1 - v) * ra(i + 1, j) + v * ra(i + 1, j + 1));
    return kTwoPi * h * rA;
}

std::string EngineeringText(double value, const std::string& unit, char decimalSeparator) {
    static constexpr std::array<const char*, 8> kPrefixes = {"p", "n", "µ", "m", "", "k", "M", "G"};
    char buffer[64];
    std::string number;
    std::string prefix;
    if (value == 0 || !std::isfinite(value)) {
        number = value == 0 ? "0" : (std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf"));
    } else {
        // Three significant digits first, so that 999.7 becomes 1.00 k rather than 1000.
        std::snprintf(buffer, sizeof buffer, "%.2e", value);
        const double rounded = std::strtod(buffer, nullptr);
        const char* e = std::strchr(buffer, 'e');
        const int exponent = e != nullptr ? std::atoi(e + 1) : 0;
        const int group = static_cast<int>(std::floor(exponent / 3.0));
        if (group < -4 || group > 3) {
            number = buffer;
        } else {
            const double mantissa = rounded / std::pow(10.0, 3 * group);
            const int decimals = std::max(0, 2 - (exponent - 3 * group));
            std::snprintf(buffer, sizeof buffer, "%.*f", decimals, mantissa);
            number = buffer;
            prefix = kPrefixes[static_cast<std::size_t>(group + 4)];
        }
    }
    if (decimalSeparator != '.') {
        std::replace(number.begin(), number.end(), '.', decimalSeparator);
    }
    return number + " " + prefix + unit;
}

std::vector<std::string> FiguresTextLines(const EngineeringFigures& f, char decimalSeparator) {
    const auto t = [&](double v, const char* unit) {
        return EngineeringText(v, unit, decimalSeparator);
    };
    std::vector<std::string> lines;
    const auto coil = [&](const CoilEngineeringFigures& c, const char* name) {
        if (!c.present) {
            return;
        }
        std::string line = std::string(name) + ": ";
        line += "L = " + (c.inductance ? t(*c.inductance, "H") : std::string("- (no current)"));
        line += ", Psi = " + t(c.fluxLinkage, "Wb");
        line += ", F_z = " + t(c.forceZ, "N");
        // Turns as the coil panel shows them: to one decimal.
        line += ", N = " + GeneralText(RoundHalfEven(c.turns, 1), decimalSeparator) + " turns";
        line += ", I = " + t(c.current, "A");
        line += ", R = " + t(c.resistance, "ohm");
        line += ", P = " + t(c.power, "W");
        lines.push_back(line);
    };
    coil(f.coil1, "Coil 1");
    coil(f.coil2, "Coil 2");
    lines.push_back(f.energy ? "Stored energy: W = " + t(*f.energy, "J")
                             : std::string("Stored energy: not given with a permanent magnet "
                                           "on the map"));
    for (const BodyForce& b : f.bodies) {
        std::string line = std::string(MaterialLabel(b.material)) + " at node (" +
                           std::to_string(b.i) + ", " + std::to_string(b.j) + "), " +
                           std::to_string(b.nodes) + " nodes: F_z = " + t(b.forceZ, "N");
        if (b.touchesEdge) {
            line += " (cut by the area's edge)";
        }
        lines.push_back(line);
    }
    lines.push_back("F_z: axial force, positive down the picture.");
    return lines;
}

}  // namespace tesvid
