#pragma once

#include <cmath>
#include <numbers>

#include "model/model_state.h"

namespace tesvid::testing {

// VecPot of a winding in free space: the nodes i0..i1, j0..j1 carry the current density, each
// node's current split over four circular loops a quarter cell off the node, so that no node
// of the grid lies on a loop.
inline void FillCoilPotential(ModelState& m, int i0, int i1, int j0, int j1, double density) {
    const int n = m.GridSize;
    const double h = m.GridStep;
    const double loopCurrent = density * h * h / 4;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const double r = i * h;
            double a = 0;
            for (int ci = i0; ci <= i1 && r > 0; ++ci) {
                for (int cj = j0; cj <= j1; ++cj) {
                    for (double di : {-0.25, 0.25}) {
                        for (double dj : {-0.25, 0.25}) {
                            const double radius = (ci + di) * h;
                            const double dz = (j - (cj + dj)) * h;
                            const double k2 =
                                4 * radius * r / ((radius + r) * (radius + r) + dz * dz);
                            const double k = std::sqrt(k2);
                            a += kMu0 * loopCurrent / (std::numbers::pi * k) *
                                 std::sqrt(radius / r) *
                                 ((1 - k2 / 2) * std::comp_ellint_1(k) - std::comp_ellint_2(k));
                        }
                    }
                }
            }
            m.VecPot(i, j) = a;
        }
    }
}

}  // namespace tesvid::testing
