#pragma once

#include <cmath>

#include "model/physical_constants.h"

namespace tesvid::testing {

// Integral of f over [a, b]: the 4-point Gauss-Legendre rule on `parts` equal parts.
template <class F>
double Integrate(double a, double b, F f, int parts = 4) {
    static constexpr double x[] = {-0.8611363115940526, -0.3399810435848563, 0.3399810435848563,
                                   0.8611363115940526};
    static constexpr double w[] = {0.3478548451374538, 0.6521451548625461, 0.6521451548625461,
                                   0.3478548451374538};
    const double part = (b - a) / parts;
    double sum = 0;
    for (int p = 0; p < parts; ++p) {
        for (int k = 0; k < 4; ++k) {
            sum += w[k] * f(a + part * (p + 0.5 + 0.5 * x[k]));
        }
    }
    return sum * part / 2;
}

// Mutual inductance of two coaxial circular loops of radii r1, r2 at axial distance d (H).
inline double LoopMutual(double r1, double r2, double d) {
    const double k = std::sqrt(4 * r1 * r2 / ((r1 + r2) * (r1 + r2) + d * d));
    return kMu0 * std::sqrt(r1 * r2) *
           ((2 / k - k) * std::comp_ellint_1(k) - (2 / k) * std::comp_ellint_2(k));
}

// Br and Bz of a loop of radius a at height z0 carrying `current`, at (r, z) (SI).
inline std::pair<double, double> LoopField(double a, double z0, double current, double r,
                                           double z) {
    const double dz = z - z0;
    if (r < 1e-12) {
        return {0, kMu0 * current * a * a / (2 * std::pow(a * a + dz * dz, 1.5))};
    }
    const double outer = (a + r) * (a + r) + dz * dz, inner = (a - r) * (a - r) + dz * dz;
    const double k = std::sqrt(4 * a * r / outer), c = kMu0 * current / (2 * M_PI);
    const double kk = std::comp_ellint_1(k), ee = std::comp_ellint_2(k);
    return {c * dz / (r * std::sqrt(outer)) * (-kk + (a * a + r * r + dz * dz) / inner * ee),
            c / std::sqrt(outer) * (kk + (a * a - r * r - dz * dz) / inner * ee)};
}

}  // namespace tesvid::testing
