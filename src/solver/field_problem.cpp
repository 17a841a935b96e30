#include "solver/field_problem.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace tesvid {

namespace {

// Keeps B above zero where the potential is flat, as the relaxation does (T).
constexpr double kInductionFloor = 1e-10;
// Directions of one Newton step's Krylov solve, and the share of the residual it leaves.
constexpr int kKrylovDirections = 4;
constexpr double kKrylovTolerance = 0.1;
// Halvings of the step length before a step gives up.
constexpr int kLineSearchHalvings = 12;

// nu on the curve at induction B, and d nu / d B. With x = b / B the reluctivity is the
// positive root of m nu^2 - (1 + m (1 - x)) nu - x = 0; implicit differentiation gives
// d nu / d x = (1 - m nu) / root, root = 2 m nu - 1 - m (1 - x) = the square root below.
void CurvePoint(const MaterialCurve& c, double b, double& nu, double& dnu) {
    const double x = c.bSat / b;
    const double t = 1 - x;
    const double root = std::sqrt((1 + 2 * c.mu * (1 + x)) + c.mu * c.mu * (t * t));
    nu = ((1 + c.mu * t) + root) / (2 * c.mu);
    dnu = -(1 - c.mu * nu) / root * (c.bSat / (b * b));
}

double Norm(const std::vector<double>& v, int n) {
    double sum = 0;
    for (int i = 1; i <= n - 1; ++i) {
        const double* col = &v[static_cast<std::size_t>(i) * (n + 1)];
        for (int j = 1; j <= n - 1; ++j) {
            sum += col[j] * col[j];
        }
    }
    return std::sqrt(sum);
}

}  // namespace

FieldProblemInput CoarserProblem(const FieldProblemInput& fine) {
    FieldProblemInput c;
    c.n = fine.n / 2;
    c.h = fine.h * 2;
    c.zc = fine.zc / 2;
    c.iron = fine.iron;
    c.magnet = fine.magnet;
    c.material.Create(c.n);
    c.reluctivity.assign(c.material.Size(), 1.0);
    const int s = fine.n + 1;
    for (int i = 0; i <= c.n; ++i) {
        for (int j = 0; j <= c.n; ++j) {
            c.material(i, j) = fine.material(2 * i, 2 * j);
            c.reluctivity[c.material.Index(i, j)] =
                fine.reluctivity[static_cast<std::size_t>(2 * i) * s + 2 * j];
        }
    }
    RestrictWeighted(fine.source, fine.n, c.source);
    return c;
}

FieldProblem::FieldProblem(FieldProblemInput input)
    : in_(std::move(input)),
      multigrid_(in_.n, in_.zc),
      gmres_(in_.material.Size(), kKrylovDirections),
      a_(in_.material.Size(), 0.0),
      nu_(std::move(in_.reluctivity)),
      r_(in_.material.Size(), 0.0) {
    const int n = in_.n;
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            const MaterialCode m = in_.material(i, j);
            if (IsMagnetic(m)) {
                magnetic_.push_back(static_cast<int>(in_.material.Index(i, j)));
                isIron_.push_back(m == MaterialCode::Iron ? 1 : 0);
            }
        }
    }
    dnu_.assign(magnetic_.size(), 0.0);
}

void FieldProblem::SetReluctivityFromPotential(const std::vector<double>& a) {
    const int s = in_.n + 1;
    for (std::size_t k = 0; k < magnetic_.size(); ++k) {
        const int node = magnetic_[k];
        const int i = node / s;
        const double here = a[node];
        const double dZ = a[node + 1] - here;
        const double dR = (a[node + s] - here) + here / i;
        const double b = std::sqrt(dZ * dZ + dR * dR) / in_.h + kInductionFloor;
        CurvePoint(isIron_[k] != 0 ? in_.iron : in_.magnet, b, nu_[node], dnu_[k]);
        if (i == 1) {
            nu_[node - s] = nu_[node];  // the axis node takes its neighbour's reluctivity
        }
    }
}

double FieldProblem::Evaluate(SweepTeam* team) {
    multigrid_.FitBoundary(a_);
    SetReluctivityFromPotential(a_);
    multigrid_.SetReluctivity(nu_);
    multigrid_.Apply(a_, r_, team);
    for (std::size_t k = 0; k < r_.size(); ++k) {
        r_[k] = in_.source[k] - r_[k];
    }
    const int n = in_.n;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            if (i == 0 || j == 0 || i == n || j == n) {
                r_[in_.material.Index(i, j)] = 0;
            }
        }
    }
    residualNorm_ = Norm(r_, n);
    return residualNorm_;
}

double FieldProblem::ResidualSum() const {
    const int n = in_.n;
    double sum = 0;
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            sum += std::abs(r_[in_.material.Index(i, j)]);
        }
    }
    return sum;
}

// The Jacobian's extra terms at the potential a step starts from. nu of node c weighs the
// links from c to its outer and upper neighbours E and N (and, on the first column, to the
// axis), so it enters the equations of c, E and N; dnu/dA = dnu/dB dB/dA, with B the node's
// forward-difference induction:
//     dB = (dZ (x_N - x_c) + dR (x_E - x_c (1 - 1/i))) / (h^2 B),
// and the equations change by dnu times what nu multiplies in each of them.
void FieldProblem::Linearise() {
    const int n = in_.n;
    const int s = n + 1;
    const std::vector<double>& a = a_;
    const double h2 = in_.h * in_.h;
    terms_.clear();
    for (std::size_t k = 0; k < magnetic_.size(); ++k) {
        const int c = magnetic_[k];
        const int i = c / s;
        const int j = c % s;
        const double here = a[c];
        const double dZ = a[c + 1] - here;
        const double dR = (a[c + s] - here) + here / i;
        const double b = std::sqrt(dZ * dZ + dR * dR);
        if (!(b > 0)) {
            continue;
        }
        JacobianTerm t;
        t.node = c;
        t.column = i;
        const double scale = dnu_[k] / (h2 * (b / in_.h));
        t.z = scale * dZ;
        t.r = scale * dR;
        const double outer = (i + 1) / (i + 0.5);
        const double diagonal = 1 + i / (i + 0.5) + (i == 1 ? 2.0 : 0.0);
        t.own = outer * a[c + s] + a[c + 1] - diagonal * here;
        const int e = i + 1;
        t.outer = i + 1 <= n - 1 ? (e - 1) / (e - 0.5) * here - e / (e - 0.5) * a[c + s] : 0;
        t.upper = j + 1 <= n - 1 ? here - a[c + 1] : 0;
        terms_.push_back(t);
    }
}

// y = J x: the equations with nu held, plus the terms above.
void FieldProblem::ApplyJacobian(std::vector<double>& x, std::vector<double>& y, SweepTeam* team) {
    multigrid_.Apply(x, y, team);
    const int s = in_.n + 1;
    for (const JacobianTerm& t : terms_) {
        const int c = t.node;
        const double dNu = t.z * (x[c + 1] - x[c]) + t.r * (x[c + s] - x[c] * (1 - 1.0 / t.column));
        y[c] += dNu * t.own;
        y[c + s] += dNu * t.outer;
        y[c + 1] += dNu * t.upper;
    }
}

FieldProblem::Step FieldProblem::NewtonStep(SweepTeam* team, const std::function<bool()>& stop) {
    linearAt_ = a_;
    Linearise();
    const double before = residualNorm_;
    const KrylovResult solved = gmres_.Solve(
        [&](std::vector<double>& x, std::vector<double>& y) { ApplyJacobian(x, y, team); },
        [&](const std::vector<double>& v, std::vector<double>& z) {
            multigrid_.Precondition(v, z, team);
        },
        r_, d_, kKrylovTolerance, stop);
    cycles_ += solved.iterations;
    double alpha = 1;
    for (int k = 0; k <= kLineSearchHalvings; ++k, alpha /= 2) {
        for (std::size_t m = 0; m < a_.size(); ++m) {
            a_[m] = linearAt_[m] + alpha * d_[m];
        }
        if (Evaluate(team) < (1 - 1e-4 * alpha) * before) {
            return Step::Improved;
        }
    }
    a_ = linearAt_;
    Evaluate(team);
    return Step::Stalled;
}

}  // namespace tesvid
