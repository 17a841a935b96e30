#include "solver/multipole_boundary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <utility>

namespace tesvid {

namespace {

// P_l^1(cos theta) / rho^(l+1) for l = 1 .. terms at node (i, j), rho in units of the grid
// size. The associated Legendre functions follow (l) P_{l+1} = (2l+1) x P_l - (l+1) P_{l-1}
// from P_0^1 = 0 and P_1^1 = sin theta (the sign of the whole family does not matter here).
void Basis(int i, int j, int n, double zc, int terms, double* out) {
    const double dz = j - zc;
    const double rho = std::hypot(static_cast<double>(i), dz);
    const double x = dz / rho;
    const double s = i / rho;
    const double inverse = n / rho;
    double previous = 0;
    double p = s;
    double power = inverse * inverse;
    for (int l = 1; l <= terms; ++l) {
        out[l - 1] = p * power;
        const double next = ((2 * l + 1) * x * p - (l + 1) * previous) / l;
        previous = p;
        p = next;
        power *= inverse;
    }
}

}  // namespace

MultipoleBoundary::MultipoleBoundary(int n, double zc, int terms) : n_(n) {
    if (n < 4) {
        return;  // no ring inside the boundary to fit
    }
    const auto index = [n](int i, int j) { return i * (n + 1) + j; };
    for (int i = 1; i <= n - 1; ++i) {
        ring_.push_back(index(i, 1));
        ring_.push_back(index(i, n - 1));
    }
    for (int j = 2; j <= n - 2; ++j) {
        ring_.push_back(index(n - 1, j));
    }
    for (int i = 1; i <= n; ++i) {
        edge_.push_back(index(i, 0));
        edge_.push_back(index(i, n));
    }
    for (int j = 1; j <= n - 1; ++j) {
        edge_.push_back(index(n, j));
    }
    const auto m = ring_.size();
    terms = std::clamp(terms, 1, std::min<int>(kMostTerms, static_cast<int>(m) / 4));

    // The basis on the ring (columns scaled to a largest value of 1) and on the boundary.
    std::vector<double> ringBasis(m * terms);
    std::vector<double> edgeBasis(edge_.size() * terms);
    const auto nodeOf = [n](int k) { return std::pair{k / (n + 1), k % (n + 1)}; };
    for (std::size_t p = 0; p < m; ++p) {
        const auto [i, j] = nodeOf(ring_[p]);
        Basis(i, j, n, zc, terms, &ringBasis[p * terms]);
    }
    for (std::size_t e = 0; e < edge_.size(); ++e) {
        const auto [i, j] = nodeOf(edge_[e]);
        Basis(i, j, n, zc, terms, &edgeBasis[e * terms]);
    }
    for (int k = 0; k < terms; ++k) {
        double largest = 0;
        for (std::size_t p = 0; p < m; ++p) {
            largest = std::max(largest, std::abs(ringBasis[p * terms + k]));
        }
        for (std::size_t p = 0; p < m; ++p) {
            ringBasis[p * terms + k] /= largest;
        }
        for (std::size_t e = 0; e < edge_.size(); ++e) {
            edgeBasis[e * terms + k] /= largest;
        }
    }

    // Modified Gram-Schmidt, twice over, gives ring basis = Q R; a function that adds
    // nothing new to the ones before it (possible on small grids) is left out.
    std::vector<std::vector<double>> q;
    std::vector<std::vector<double>> r;  // r[k][i], i <= k
    std::vector<std::vector<double>> edgeColumns;
    for (int k = 0; k < terms; ++k) {
        std::vector<double> v(m);
        for (std::size_t p = 0; p < m; ++p) {
            v[p] = ringBasis[p * terms + k];
        }
        const double before = std::sqrt(std::inner_product(v.begin(), v.end(), v.begin(), 0.0));
        std::vector<double> coefficients(q.size() + 1, 0.0);
        for (int sweep = 0; sweep < 2; ++sweep) {
            for (std::size_t c = 0; c < q.size(); ++c) {
                const double dot = std::inner_product(v.begin(), v.end(), q[c].begin(), 0.0);
                coefficients[c] += dot;
                for (std::size_t p = 0; p < m; ++p) {
                    v[p] -= dot * q[c][p];
                }
            }
        }
        const double norm = std::sqrt(std::inner_product(v.begin(), v.end(), v.begin(), 0.0));
        if (!(norm > 1e-9 * before)) {
            continue;
        }
        for (double& x : v) {
            x /= norm;
        }
        coefficients.back() = norm;
        q.push_back(std::move(v));
        r.push_back(std::move(coefficients));
        std::vector<double> edgeColumn(edge_.size());
        for (std::size_t e = 0; e < edge_.size(); ++e) {
            edgeColumn[e] = edgeBasis[e * terms + k];
        }
        edgeColumns.push_back(std::move(edgeColumn));
    }
    terms_ = static_cast<int>(q.size());

    // The fitted coefficients are R^-1 Q^T a; their expansion on the boundary is
    // (edge basis) R^-1 times Q^T a: keep Q and G = (edge basis) R^-1.
    q_.assign(m * terms_, 0.0);
    for (std::size_t p = 0; p < m; ++p) {
        for (int k = 0; k < terms_; ++k) {
            q_[p * terms_ + k] = q[k][p];
        }
    }
    g_.assign(edge_.size() * terms_, 0.0);
    for (std::size_t e = 0; e < edge_.size(); ++e) {
        double* g = &g_[e * terms_];
        for (int k = 0; k < terms_; ++k) {
            double sum = edgeColumns[k][e];
            for (int c = 0; c < k; ++c) {
                sum -= g[c] * r[k][c];
            }
            g[k] = sum / r[k][k];
        }
    }
}

void MultipoleBoundary::Apply(double* a) const {
    if (terms_ == 0) {
        return;
    }
    std::array<double, kMostTerms> y{};
    const std::size_t t = terms_;
    for (std::size_t p = 0; p < ring_.size(); ++p) {
        const double v = a[ring_[p]];
        const double* q = &q_[p * t];
        for (std::size_t k = 0; k < t; ++k) {
            y[k] += q[k] * v;
        }
    }
    for (std::size_t e = 0; e < edge_.size(); ++e) {
        const double* g = &g_[e * t];
        double sum = 0;
        for (std::size_t k = 0; k < t; ++k) {
            sum += g[k] * y[k];
        }
        a[edge_[e]] = sum;
    }
}

}  // namespace tesvid
