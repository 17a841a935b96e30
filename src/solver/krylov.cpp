#include "solver/krylov.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tesvid {

namespace {

constexpr std::size_t kBlock = 512;

// Sum of x[k] y[k] over k0 <= k < k1, in four interleaved partial sums (so that the compiler
// may use vector registers without reordering a single sum).
double Dot(const double* x, const double* y, std::size_t k0, std::size_t k1) {
    double s[4] = {0, 0, 0, 0};
    std::size_t k = k0;
    for (; k + 4 <= k1; k += 4) {
        s[0] += x[k] * y[k];
        s[1] += x[k + 1] * y[k + 1];
        s[2] += x[k + 2] * y[k + 2];
        s[3] += x[k + 3] * y[k + 3];
    }
    for (; k < k1; ++k) {
        s[0] += x[k] * y[k];
    }
    return (s[0] + s[1]) + (s[2] + s[3]);
}

double Dot(const std::vector<double>& x, const std::vector<double>& y) {
    return Dot(x.data(), y.data(), 0, x.size());
}

}  // namespace

FlexibleGmres::FlexibleGmres(std::size_t size, int maxIterations)
    : m_(std::clamp(maxIterations, 1, kMostDirections)),
      v_(static_cast<std::size_t>(m_) + 1, Vector(size)),
      z_(static_cast<std::size_t>(m_), Vector(size)),
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
        std::fill(col.begin(), col.end(), 0.0);
        // Classical Gram-Schmidt, repeated once when it cancelled much of w (twice is
        // enough): each round reads w and the basis once for the projections and once for
        // the update.
        const double before = std::sqrt(Dot(w_, w_));
        double after = before;
        for (int round = 0; round < 2; ++round) {
            double projection[kMostDirections + 1] = {};
            double norm = 0;
            // Blocks small enough to stay in the first-level cache between the basis vectors.
            for (std::size_t k0 = 0; k0 < size; k0 += kBlock) {
                const std::size_t k1 = std::min(size, k0 + kBlock);
                for (int i = 0; i <= j; ++i) {
                    projection[i] += Dot(w_.data(), v_[i].data(), k0, k1);
                }
            }
            for (std::size_t k0 = 0; k0 < size; k0 += kBlock) {
                const std::size_t k1 = std::min(size, k0 + kBlock);
                double* w = w_.data();
                for (int i = 0; i <= j; ++i) {
                    const double p = projection[i];
                    const double* v = v_[i].data();
                    for (std::size_t k = k0; k < k1; ++k) {
                        w[k] -= p * v[k];
                    }
                }
                norm += Dot(w, w, k0, k1);
            }
            for (int i = 0; i <= j; ++i) {
                col[i] += projection[i];
            }
            const double previous = after;
            after = std::sqrt(norm);
            if (after > 0.5 * previous) {
                break;
            }
        }
        col[j + 1] = after;
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
    for (std::size_t k0 = 0; k0 < size; k0 += kBlock) {
        const std::size_t k1 = std::min(size, k0 + kBlock);
        for (int i = 0; i < j; ++i) {
            const double yi = y[i];
            const double* z = z_[i].data();
            for (std::size_t k = k0; k < k1; ++k) {
                x[k] += yi * z[k];
            }
        }
    }
    result.iterations = j;
    result.reduction = std::abs(g[j]) / beta;
    return result;
}

}  // namespace tesvid
