#pragma once

#include <functional>
#include <vector>

namespace tesvid {

// Flexible GMRES: solves K x = b approximately, starting from x = 0, with the preconditioner
// applied to every new direction (right preconditioning; the preconditioner may differ from
// one call to the next). Stops when the residual has fallen to relativeTolerance times |b|,
// after maxIterations directions, or when stop() says so between two iterations.
struct KrylovResult {
    int iterations = 0;
    double reduction = 1;  // |b - K x| / |b|, as the method tracks it
};

class FlexibleGmres {
  public:
    using Vector = std::vector<double>;
    // y = K x; x may be changed (its boundary entries completed), y is overwritten.
    using Operator = std::function<void(Vector& x, Vector& y)>;
    // z = an approximate solution of K z = v.
    using Preconditioner = std::function<void(const Vector& v, Vector& z)>;

    static constexpr int kMostDirections = 16;
    FlexibleGmres(std::size_t size, int maxIterations);

    KrylovResult Solve(const Operator& apply, const Preconditioner& precondition, const Vector& b,
                       Vector& x, double relativeTolerance, const std::function<bool()>& stop);

  private:
    int m_;
    std::vector<Vector> v_;  // Arnoldi basis
    std::vector<Vector> z_;  // preconditioned directions
    Vector w_;
};

}  // namespace tesvid
