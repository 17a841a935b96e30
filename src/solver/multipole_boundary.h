#pragma once

#include <vector>

namespace tesvid {

// The open boundary of the calculation until converged. Outside the drawn arrangement space
// is empty, so there the potential is a sum of axial multipoles about a point of the axis,
//     A(r, z) = sum over l = 1 .. L of c_l P_l^1(cos theta) / rho^(l+1),
// rho the distance from the centre (0, zc), theta the angle from the axis. The coefficients are
// fitted by least squares to the potential on the ring of nodes one cell inside the boundary
// (rows 1 and n - 1, column n - 1), and the expansion is written onto the boundary (rows 0 and
// n, column n, corners included); the axis keeps A = 0. Applied after every relaxation
// iteration, it lets the field fall off outside the area as it would in open space. The fit
// is a fixed linear map of the ring values, prepared once per grid: a pass costs about
// 6 L multiplications per boundary node.
//
// The expansion holds where no source and no iron lies between the ring and the boundary; a
// winding, a magnet or iron reaching the edge makes it approximate (see OpenBoundaryWarning).
class MultipoleBoundary {
  public:
    MultipoleBoundary() = default;
    // For a grid of n cells a side (node units), centre zc in node units along the axis.
    MultipoleBoundary(int n, double zc, int terms = kDefaultTerms);

    static constexpr int kDefaultTerms = 10;
    static constexpr int kMostTerms = 16;

    // Fits the ring of a column-major (n + 1) x (n + 1) array and overwrites its boundary.
    void Apply(double* a) const;
    int Terms() const { return terms_; }

  private:
    int n_ = 0;
    int terms_ = 0;
    std::vector<int> ring_;  // element index of every ring node
    std::vector<int> edge_;  // element index of every boundary node
    std::vector<double> q_;  // ring x terms: orthonormal basis of the fitted functions
    std::vector<double> g_;  // edge x terms: their values on the boundary
};

}  // namespace tesvid
