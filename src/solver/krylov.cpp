#include "solver/krylov.h"

#include <cmath>
#include <cstddef>

namespace tesvid {

namespace {

double Dot(const std::vector<double>& x, const std::vector<double>& y) {
    double sum = 0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        sum += x[k] * y[k];
    }
    return sum;
}

}  // namespace

FlexibleGmres::FlexibleGmres(std::size_t size, int maxIterations)
    : m_(maxIterations),
      v_(static_cast<std::size_t>(maxIterations) + 1, Vector(size)),
      z_(static_cast<std::size_t>(maxIterations), Vector(size)),
      w_(size) {}

KrylovResult FlexibleGmres::Solve(const Operator& apply, const Preconditioner& precondition,
                                  const Vector& b, Vector& x, double relativeTolerance,
                                  const std::function<bool()>& stop) {
    KrylovResult result;
    const std::size_t size = b.size();
    x.assign(size, 0.0);
    const double beta = std::sqrt(Dot(b, b));
    if (!(beta > 0) || !std::isfinite(beta)) {
        result.reduction = beta > 0 ? 1 : 0;
        return result;
    }
    for (std::size_t k = 0; k < size; ++k) {
        v_[0][k] = b[k] / beta;
    }
    // Hessenberg matrix, column by column, reduced by Givens rotations as it grows.
    std::vector<std::vector<double>> h(m_, std::vector<double>(m_ + 1, 0.0));
    std::vector<double> c(m_), s(m_), g(m_ + 1, 0.0);
    g[0] = beta;
    int j = 0;
    while (j < m_) {
        precondition(v_[j], z_[j]);
        apply(z_[j], w_);
        std::vector<double>& col = h[j];
        for (int i = 0; i <= j; ++i) {
            col[i] = Dot(w_, v_[i]);
            const double hij = col[i];
            const std::vector<double>& vi = v_[i];
            for (std::size_t k = 0; k < size; ++k) {
                w_[k] -= hij * vi[k];
            }
        }
        col[j + 1] = std::sqrt(Dot(w_, w_));
        const bool breakdown = !(col[j + 1] > 1e-300);
        if (!breakdown) {
            for (std::size_t k = 0; k < size; ++k) {
                v_[j + 1][k] = w_[k] / col[j + 1];
            }
        }
        for (int i = 0; i < j; ++i) {
            const double t = c[i] * col[i] + s[i] * col[i + 1];
            col[i + 1] = -s[i] * col[i] + c[i] * col[i + 1];
            col[i] = t;
        }
        const double d = std::hypot(col[j], col[j + 1]);
        if (!(d > 0) || !std::isfinite(d)) {
            break;  // nothing more to gain (or a non-finite direction): keep what we have
        }
        c[j] = col[j] / d;
        s[j] = col[j + 1] / d;
        col[j] = d;
        col[j + 1] = 0;
        g[j + 1] = -s[j] * g[j];
        g[j] = c[j] * g[j];
        ++j;
        if (breakdown || std::abs(g[j]) <= relativeTolerance * beta || stop()) {
            break;
        }
    }
    // x = Z y with the upper-triangular system R y = g.
    std::vector<double> y(j);
    for (int i = j - 1; i >= 0; --i) {
        double sum = g[i];
        for (int k = i + 1; k < j; ++k) {
            sum -= h[k][i] * y[k];
        }
        y[i] = sum / h[i][i];
    }
    for (int i = 0; i < j; ++i) {
        const std::vector<double>& zi = z_[i];
        for (std::size_t k = 0; k < size; ++k) {
            x[k] += y[i] * zi[k];
        }
    }
    result.iterations = j;
    result.reduction = std::abs(g[j]) / beta;
    return result;
}

}  // namespace tesvid
