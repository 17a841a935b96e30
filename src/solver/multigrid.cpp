#include "solver/multigrid.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "solver/sweep_team.h"

namespace tesvid {

namespace {

// Grids of at most this many cells (or of an odd number) are the coarsest.
constexpr int kCoarsestCells = 32;
// Iterations of the coarsest grid in one cycle.
constexpr int kCoarsestIterations = 20;
// Grids smaller than this are relaxed by one thread.
constexpr int kSmallestSharedGrid = 64;

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

// Column i of a grid in link form: the sum of the weighted neighbours and the diagonal.
struct LinkColumn {
    const double* a;
    const double* left;
    const double* right;
    const double* nr;
    const double* nrLeft;
    const double* nz;
    Radial w;
    LinkColumn(const double* pot, const double* nuR, const double* nuZ, int i, int s)
        : a(pot + static_cast<std::ptrdiff_t>(i) * s),
          left(a - s),
          right(a + s),
          nr(nuR + static_cast<std::ptrdiff_t>(i) * s),
          nrLeft(nr - s),
          nz(nuZ + static_cast<std::ptrdiff_t>(i) * s),
          w(i) {}
    double Sum(int j) const {
        return nr[j] * w.outer * right[j] + nrLeft[j] * w.inner * left[j] + nz[j] * a[j + 1] +
               nz[j - 1] * a[j - 1];
    }
    double Diagonal(int j) const {
        return nr[j] * w.outerDiag + nrLeft[j] * w.innerDiag + nz[j] + nz[j - 1];
    }
};

// Gauss-Seidel on the nodes of one colour (i + j even: 0, odd: 1) in columns i0 .. i1,
// over-relaxed by omega.
void RelaxColour(int n, double* a, const double* f, const double* nuR, const double* nuZ,
                 int colour, int i0, int i1, double omega) {
    const int s = n + 1;
    for (int i = i0; i <= i1; ++i) {
        const LinkColumn c(a, nuR, nuZ, i, s);
        double* col = a + static_cast<std::ptrdiff_t>(i) * s;
        const double* rhs = f + static_cast<std::ptrdiff_t>(i) * s;
        for (int j = ((i + 1) & 1) == colour ? 1 : 2; j <= n - 1; j += 2) {
            col[j] += omega * ((c.Sum(j) - rhs[j]) / c.Diagonal(j) - col[j]);
        }
    }
}

// y = L a (f null) or y = f - L a on the inner nodes of columns i0 .. i1.
void ApplyColumns(int n, const double* a, const double* f, const double* nuR, const double* nuZ,
                  double* y, int i0, int i1) {
    const int s = n + 1;
    for (int i = i0; i <= i1; ++i) {
        const LinkColumn c(a, nuR, nuZ, i, s);
        const std::ptrdiff_t k = static_cast<std::ptrdiff_t>(i) * s;
        double* out = y + k;
        if (f == nullptr) {
            for (int j = 1; j <= n - 1; ++j) {
                out[j] = c.Sum(j) - c.Diagonal(j) * c.a[j];
            }
        } else {
            const double* rhs = f + k;
            for (int j = 1; j <= n - 1; ++j) {
                out[j] = rhs[j] - (c.Sum(j) - c.Diagonal(j) * c.a[j]);
            }
        }
    }
}

// Splits the inner columns of a grid between the team's threads (small grids stay on one).
template <class F>
void ForColumns(int n, SweepTeam* team, const F& work) {
    if (team == nullptr || team->Size() == 1 || n < kSmallestSharedGrid) {
        work(1, n - 1);
        return;
    }
    // The first column of every share but the first (the seam) is left to the end, so that no
    // thread touches a column next to one that another thread writes (see the relaxation's
    // shared iteration).
    team->Run([&](int part) {
        int i0 = 0;
        int i1 = 0;
        SweepTeam::Share(1, n - 1, team->Size(), part, i0, i1);
        if (part > 0) {
            ++i0;
        }
        if (i0 <= i1) {
            work(i0, i1);
        }
    });
    for (int part = 1; part < team->Size(); ++part) {
        int i0 = 0;
        int i1 = 0;
        SweepTeam::Share(1, n - 1, team->Size(), part, i0, i1);
        if (i0 <= i1) {
            work(i0, i0);
        }
    }
}

// Weights of the restriction for fine column i at offset di from its coarse node, and for fine
// row j at offset dj: 1 on the coarse node, 1/2 beside it, but 1 next to the open boundary
// (last column, first and last rows; the axis is a true boundary with A = 0).
double ColumnWeight(int n, int i, int di) {
    return di == 0 || i == n - 1 ? 1.0 : 0.5;
}
double RowWeight(int n, int j, int dj) {
    return dj == 0 || j == 1 || j == n - 1 ? 1.0 : 0.5;
}

}  // namespace

void RestrictWeighted(const std::vector<double>& fine, int n, std::vector<double>& coarse) {
    const int nc = n / 2;
    const int s = n + 1;
    const int cs = nc + 1;
    coarse.assign(static_cast<std::size_t>(cs) * cs, 0.0);
    for (int ci = 1; ci <= nc - 1; ++ci) {
        for (int cj = 1; cj <= nc - 1; ++cj) {
            double sum = 0;
            for (int di = -1; di <= 1; ++di) {
                const int i = 2 * ci + di;
                const double wi = ColumnWeight(n, i, di) * i / (2.0 * ci);
                const double* col = &fine[static_cast<std::size_t>(i) * s + 2 * cj];
                sum += wi * (RowWeight(n, 2 * cj - 1, -1) * col[-1] + col[0] +
                             RowWeight(n, 2 * cj + 1, 1) * col[1]);
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

Multigrid::Multigrid(int n, double zc) {
    for (int cells = n;; cells /= 2) {
        Level l;
        l.n = cells;
        l.a.assign(Nodes(cells), 0.0);
        l.r.assign(Nodes(cells), 0.0);
        l.nuR.assign(Nodes(cells), 1.0);
        if (cells != n) {
            // The finest grid's right-hand side is the caller's; nuZ = nuR there.
            l.f.assign(Nodes(cells), 0.0);
            l.nuZ.assign(Nodes(cells), 1.0);
        }
        l.boundary = MultipoleBoundary(cells, zc * cells / n);
        levels_.push_back(std::move(l));
        if (cells <= kCoarsestCells || cells % 2 != 0) {
            break;
        }
    }
    // The finest grid is relaxed by the relaxation's own sweep (without reluctivity steps).
    coefRPlus_.resize(static_cast<std::size_t>(n) + 1);
    coefRMinus_.resize(coefRPlus_.size());
    coefDiag_.resize(coefRPlus_.size());
    for (int i = 1; i <= n; ++i) {
        coefRPlus_[i] = (i + 1) / (i + 0.5);
        coefRMinus_[i] = (i - 1) / (i - 0.5);
        coefDiag_[i] = i / (i + 0.5) + i / (i - 0.5) + 2;
    }
    columnRuns_.assign(static_cast<std::size_t>(n), 0);
    sweep_ = relax::SweepInput{};
    sweep_.n = n;
    sweep_.gridStep = 1;
    sweep_.omega = 1;
    sweep_.kMu = 0;
    sweep_.coefRPlus = coefRPlus_.data();
    sweep_.coefRMinus = coefRMinus_.data();
    sweep_.coefDiag = coefDiag_.data();
}

void Multigrid::SetReluctivity(const std::vector<double>& nu) {
    Level& fine = levels_.front();
    fine.nuR = nu;
    coarsened_ = false;
}

// The runs of the finest grid's sweep (nu = 1 on the node and the two neighbours whose links
// it reads: the uniform stencil), and the coarser grids' links.
void Multigrid::Coarsen() {
    const Level& fine = levels_.front();
    const int n = fine.n;
    const int s = n + 1;
    runs_.clear();
    for (int i = 1; i <= n - 1; ++i) {
        const double* nu = &fine.nuR[static_cast<std::size_t>(i) * s];
        const auto kind = [&](int j) {
            return nu[j] == 1 && nu[j - s] == 1 && nu[j - 1] == 1 ? relax::NodeKind::Uniform
                                                                  : relax::NodeKind::Weighted;
        };
        int j0 = 1;
        relax::NodeKind k = kind(1);
        for (int j = 2; j <= n; ++j) {
            const relax::NodeKind next = j == n ? k : kind(j);
            if (j == n || next != k) {
                runs_.push_back({j0, j - 1, k});
                j0 = j;
                k = next;
            }
        }
        columnRuns_[static_cast<std::size_t>(i)] = static_cast<int>(runs_.size());
    }
    sweep_.runs = runs_.data();
    sweep_.columnRuns = columnRuns_.data();
    for (std::size_t k = 1; k < levels_.size(); ++k) {
        CoarsenLinks(levels_[k - 1], levels_[k]);
    }
    coarsened_ = true;
}

void Multigrid::CoarsenLinks(const Level& fine, Level& coarse) {
    const int n = fine.n;
    const int s = n + 1;
    const int cs = coarse.n + 1;
    const std::vector<double>& nuR = fine.nuR;
    const std::vector<double>& nuZ = fine.nuZ.empty() ? fine.nuR : fine.nuZ;
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
                radial += weight * (at(nuR, i, j + d) + at(nuR, i + 1, j + d));
                axial += weight * (at(nuZ, i + d, j) + at(nuZ, i + d, j + 1));
            }
            coarse.nuR[static_cast<std::size_t>(ci) * cs + cj] = radial;
            coarse.nuZ[static_cast<std::size_t>(ci) * cs + cj] = axial;
        }
    }
}

void Multigrid::Smooth(std::size_t k, const double* f, SweepTeam* team, double omega) {
    Level& l = levels_[k];
    if (k == 0) {
        sweep_.vecPot = l.a.data();
        sweep_.reluctivity = l.nuR.data();
        sweep_.sourceMean = f;
        for (int colour = 0; colour < 2; ++colour) {
            ForColumns(l.n, team,
                       [&](int i0, int i1) { relax::SweepShare(sweep_, colour, i0, i1); });
        }
    } else {
        for (int colour = 0; colour < 2; ++colour) {
            ForColumns(l.n, team, [&](int i0, int i1) {
                RelaxColour(l.n, l.a.data(), f, l.nuR.data(), l.nuZ.data(), colour, i0, i1, omega);
            });
        }
    }
    l.boundary.Apply(l.a.data());
}

void Multigrid::Residual(Level& l, const double* f, SweepTeam* team) {
    const double* nuZ = l.nuZ.empty() ? l.nuR.data() : l.nuZ.data();
    ForColumns(l.n, team, [&](int i0, int i1) {
        ApplyColumns(l.n, l.a.data(), f, l.nuR.data(), nuZ, l.r.data(), i0, i1);
    });
}

void Multigrid::CycleFrom(std::size_t k, const double* f, SweepTeam* team) {
    Level& l = levels_[k];
    if (k + 1 == levels_.size()) {
        // The coarsest grid: over-relaxation until the correction has about settled.
        const double omega = 2 / (1 + std::sin(3.14159265358979 / l.n));
        for (int it = 0; it < kCoarsestIterations; ++it) {
            Smooth(k, f, nullptr, omega);
        }
        return;
    }
    Smooth(k, f, team, 1);
    Residual(l, f, team);
    Level& coarse = levels_[k + 1];
    RestrictWeighted(l.r, l.n, coarse.f);
    std::fill(coarse.a.begin(), coarse.a.end(), 0.0);
    CycleFrom(k + 1, coarse.f.data(), team);
    ProlongateAdd(coarse.a, l.n, l.a);
    Smooth(k, f, team, 1);
}

void Multigrid::Precondition(const std::vector<double>& r, std::vector<double>& z,
                             SweepTeam* team) {
    if (!coarsened_) {
        Coarsen();
    }
    Level& l = levels_.front();
    z.resize(l.a.size());
    std::swap(l.a, z);
    std::fill(l.a.begin(), l.a.end(), 0.0);
    CycleFrom(0, r.data(), team);
    std::swap(l.a, z);
}

void Multigrid::Apply(std::vector<double>& x, std::vector<double>& y, SweepTeam* team) {
    Level& l = levels_.front();
    const int n = l.n;
    const int s = n + 1;
    l.boundary.Apply(x.data());
    y.resize(x.size());
    ForColumns(n, team, [&](int i0, int i1) {
        ApplyColumns(n, x.data(), nullptr, l.nuR.data(), l.nuR.data(), y.data(), i0, i1);
    });
    for (int i = 0; i <= n; ++i) {
        y[static_cast<std::size_t>(i) * s] = 0;
        y[static_cast<std::size_t>(i) * s + n] = 0;
    }
    std::fill(y.begin(), y.begin() + s, 0.0);
    std::fill(y.end() - s, y.end(), 0.0);
}

void Multigrid::FitBoundary(std::vector<double>& x) const {
    levels_.front().boundary.Apply(x.data());
}

}  // namespace tesvid
