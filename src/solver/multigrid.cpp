#include "solver/multigrid.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "solver/sweep_team.h"

namespace tesvid {

namespace {

// Grids of at most this many cells (or of an odd number) are the coarsest.
constexpr int kCoarsestCells = 32;
constexpr int kPreSmoothing = 2;
constexpr int kPostSmoothing = 2;

std::size_t Nodes(int n) {
    return static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1);
}

// Geometric weights of the link form at radius index i.
struct Radial {
    double outer;      // (i+1)/(i+1/2): A(i+1) in the sum
    double inner;      // (i-1)/(i-1/2): A(i-1)
    double outerDiag;  // i/(i+1/2)
    double innerDiag;  // i/(i-1/2)
    explicit Radial(int i)
        : outer((i + 1) / (i + 0.5)),
          inner((i - 1) / (i - 0.5)),
          outerDiag(i / (i + 0.5)),
          innerDiag(i / (i - 0.5)) {}
};

// Red-black relaxation of the nodes of one colour in columns i0 .. i1. Over-relaxed by omega
// (1: Gauss-Seidel).
void RelaxColour(int n, double* a, const double* f, const double* nuR, const double* nuZ,
                 int colour, int i0, int i1, double omega) {
    const int s = n + 1;
    for (int i = i0; i <= i1; ++i) {
        const Radial w(i);
        double* col = a + static_cast<std::ptrdiff_t>(i) * s;
        const double* left = col - s;
        const double* right = col + s;
        const double* rhs = f + static_cast<std::ptrdiff_t>(i) * s;
        const double* nr = nuR + static_cast<std::ptrdiff_t>(i) * s;
        const double* nrLeft = nr - s;
        const double* nz = nuZ + static_cast<std::ptrdiff_t>(i) * s;
        const int j0 = ((i + 1) & 1) == colour ? 1 : 2;
        for (int j = j0; j <= n - 1; j += 2) {
            const double sum = nr[j] * w.outer * right[j] + nrLeft[j] * w.inner * left[j] +
                                nz[j] * col[j + 1] + nz[j - 1] * col[j - 1];
            const double diag = nr[j] * w.outerDiag + nrLeft[j] * w.innerDiag + nz[j] + nz[j - 1];
            const double target = (sum - rhs[j]) / diag;
            col[j] += omega * (target - col[j]);
        }
    }
}

void ResidualColumns(int n, const double* a, const double* f, const double* nuR,
                     const double* nuZ, double* r, int i0, int i1) {
    const int s = n + 1;
    for (int i = i0; i <= i1; ++i) {
        const Radial w(i);
        const std::ptrdiff_t c = static_cast<std::ptrdiff_t>(i) * s;
        const double* col = a + c;
        const double* left = col - s;
        const double* right = col + s;
        const double* nr = nuR + c;
        const double* nrLeft = nr - s;
        const double* nz = nuZ + c;
        double* out = r + c;
        for (int j = 1; j <= n - 1; ++j) {
            const double sum = nr[j] * w.outer * right[j] + nrLeft[j] * w.inner * left[j] +
                                nz[j] * col[j + 1] + nz[j - 1] * col[j - 1];
            const double diag = nr[j] * w.outerDiag + nrLeft[j] * w.innerDiag + nz[j] + nz[j - 1];
            out[j] = f[c + j] - (sum - diag * col[j]);
        }
    }
}

}  // namespace

Multigrid::Multigrid(int n, double zc) {
    for (int cells = n;; cells /= 2) {
        Level l;
        l.n = cells;
        l.a.assign(Nodes(cells), 0.0);
        l.f.assign(Nodes(cells), 0.0);
        l.r.assign(Nodes(cells), 0.0);
        l.nuR.assign(Nodes(cells), 1.0);
        l.nuZ.assign(Nodes(cells), 1.0);
        l.boundary = MultipoleBoundary(cells, zc * cells / n);
        levels_.push_back(std::move(l));
        if (cells <= kCoarsestCells || cells % 2 != 0) {
            break;
        }
    }
}

void Multigrid::SetReluctivity(const std::vector<double>& nu) {
    Level& fine = levels_.front();
    fine.nuR = nu;
    fine.nuZ = nu;
    coarsened_ = false;
}

void Multigrid::Coarsen() {
    for (std::size_t k = 1; k < levels_.size(); ++k) {
        CoarsenLinks(levels_[k - 1], levels_[k]);
    }
    coarsened_ = true;
}

void Multigrid::CoarsenLinks(const Level& fine, Level& coarse) {
    const int n = fine.n;
    const int s = n + 1;
    const int cs = coarse.n + 1;
    const auto at = [&](const std::vector<double>& v, int i, int j) {
        return v[static_cast<std::size_t>(std::clamp(i, 0, n)) * s + std::clamp(j, 0, n)];
    };
    for (int ci = 0; ci <= coarse.n; ++ci) {
        for (int cj = 0; cj <= coarse.n; ++cj) {
            const int i = 2 * ci;
            const int j = 2 * cj;
            double radial = 0;
            double axial = 0;
            for (int d = -1; d <= 1; ++d) {
                const double weight = d == 0 ? 0.25 : 0.125;
                radial += weight * (at(fine.nuR, i, j + d) + at(fine.nuR, i + 1, j + d));
                axial += weight * (at(fine.nuZ, i + d, j) + at(fine.nuZ, i + d, j + 1));
            }
            coarse.nuR[static_cast<std::size_t>(ci) * cs + cj] = radial;
            coarse.nuZ[static_cast<std::size_t>(ci) * cs + cj] = axial;
        }
    }
}

namespace {

// Splits the inner columns of a grid between the team's threads (small grids stay on one).
template <class F>
void ForColumns(int n, SweepTeam* team, const F& work) {
    if (team == nullptr || team->Size() == 1 || n < 64) {
        work(1, n - 1);
        return;
    }
    team->Run([&](int part) {
        int i0 = 0;
        int i1 = 0;
        SweepTeam::Share(1, n - 1, team->Size(), part, i0, i1);
        work(i0, i1);
    });
}

}  // namespace

void Multigrid::Smooth(Level& l, SweepTeam* team, double omega) {
    for (int colour = 0; colour < 2; ++colour) {
        ForColumns(l.n, team, [&](int i0, int i1) {
            RelaxColour(l.n, l.a.data(), l.f.data(), l.nuR.data(), l.nuZ.data(), colour, i0, i1,
                        omega);
        });
    }
    l.boundary.Apply(l.a.data());
}

void Multigrid::Residual(Level& l, SweepTeam* team) {
    ForColumns(l.n, team, [&](int i0, int i1) {
        ResidualColumns(l.n, l.a.data(), l.f.data(), l.nuR.data(), l.nuZ.data(), l.r.data(), i0,
                        i1);
    });
}

void RestrictWeighted(const std::vector<double>& fine, int n, std::vector<double>& coarse) {
    const int nc = n / 2;
    const int s = n + 1;
    const int cs = nc + 1;
    coarse.assign(static_cast<std::size_t>(cs) * cs, 0.0);
    // Weight of fine index k at offset d from the coarse node: 1, or 1/2 beside it, except
    // next to the open boundary.
    const auto weight = [n](int k, int d) { return d == 0 || k == n - 1 ? 1.0 : 0.5; };
    for (int ci = 1; ci <= nc - 1; ++ci) {
        for (int cj = 1; cj <= nc - 1; ++cj) {
            double sum = 0;
            for (int di = -1; di <= 1; ++di) {
                const int i = 2 * ci + di;
                const double wi = weight(i, di) * i / (2.0 * ci);
                for (int dj = -1; dj <= 1; ++dj) {
                    const int j = 2 * cj + dj;
                    const double wj = j == 1 ? 1.0 : weight(j, dj);
                    sum += wi * wj * fine[static_cast<std::size_t>(i) * s + j];
                }
            }
            coarse[static_cast<std::size_t>(ci) * cs + cj] = sum;
        }
    }
}

void ProlongateAdd(const std::vector<double>& coarse, int n, std::vector<double>& fine) {
    const int nc = n / 2;
    const int s = n + 1;
    const int cs = nc + 1;
    for (int i = 0; i <= n; ++i) {
        const int ci = i / 2;
        double* out = &fine[static_cast<std::size_t>(i) * s];
        const double* c0 = &coarse[static_cast<std::size_t>(ci) * cs];
        const double* c1 = (i & 1) != 0 ? c0 + cs : c0;
        for (int cj = 0; cj < nc; ++cj) {
            const double lo = 0.5 * (c0[cj] + c1[cj]);
            const double hi = 0.5 * (c0[cj + 1] + c1[cj + 1]);
            out[2 * cj] += lo;
            out[2 * cj + 1] += 0.5 * (lo + hi);
        }
        out[n] += 0.5 * (c0[nc] + c1[nc]);
    }
}

void Multigrid::CycleFrom(std::size_t k, SweepTeam* team) {
    Level& l = levels_[k];
    if (k + 1 == levels_.size()) {
        // The coarsest grid: over-relaxation until the correction has settled.
        const double omega = 2 / (1 + std::sin(3.14159265358979 / l.n));
        for (int it = 0; it < 4 * l.n; ++it) {
            Smooth(l, nullptr, omega);
        }
        return;
    }
    static int pre = std::getenv("MGPRE") ? std::atoi(std::getenv("MGPRE")) : kPreSmoothing;
    static int post = std::getenv("MGPOST") ? std::atoi(std::getenv("MGPOST")) : kPostSmoothing;
    for (int it = 0; it < pre; ++it) {
        Smooth(l, team, 1.0);
    }
    Residual(l, team);
    Level& coarse = levels_[k + 1];
    RestrictWeighted(l.r, l.n, coarse.f);
    std::fill(coarse.a.begin(), coarse.a.end(), 0.0);
    CycleFrom(k + 1, team);
    ProlongateAdd(coarse.a, l.n, l.a);
    for (int it = 0; it < post; ++it) {
        Smooth(l, team, 1.0);
    }
}

void Multigrid::Precondition(const std::vector<double>& r, std::vector<double>& z,
                             SweepTeam* team) {
    if (!coarsened_) {
        Coarsen();
    }
    Level& l = levels_.front();
    l.f = r;
    std::fill(l.a.begin(), l.a.end(), 0.0);
    CycleFrom(0, team);
    z = l.a;
}

void Multigrid::Apply(std::vector<double>& x, std::vector<double>& y, SweepTeam* team) {
    Level& l = levels_.front();
    l.boundary.Apply(x.data());
    std::fill(l.f.begin(), l.f.end(), 0.0);
    y.assign(x.size(), 0.0);
    std::swap(l.a, x);
    std::swap(l.r, y);
    Residual(l, team);  // r = 0 - L x
    std::swap(l.a, x);
    std::swap(l.r, y);
    for (double& v : y) {
        v = -v;
    }
}

void Multigrid::FitBoundary(std::vector<double>& x) const {
    levels_.front().boundary.Apply(x.data());
}

}  // namespace tesvid
