#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/grid2d.h"
#include "model/material_code.h"
#include "solver/krylov.h"
#include "solver/multigrid.h"

namespace tesvid {

class SweepTeam;

// The constants of one magnetic material's curve (see relax_sweep_kernels.h for the law).
struct MaterialCurve {
    double mu = 1;    // initial relative permeability m
    double bSat = 0;  // curve induction b, T
};

// What defines the field problem on one grid.
struct FieldProblemInput {
    int n = 0;      // cells a side
    double h = 0;   // grid step, m
    double zc = 0;  // centre of the open boundary's expansion, node units
    Grid2D<MaterialCode> material;
    std::vector<double> source;       // right-hand side of every inner node (mu0 J h^2)
    std::vector<double> reluctivity;  // nu of every node; iron and magnet nodes follow their curve
    MaterialCurve iron;
    MaterialCurve magnet;
};

// The same problem on the grid of n / 2 cells, for a first solution to start from: the
// material sampled at the even nodes, the source restricted (RestrictWeighted keeps the
// current of every winding), the starting reluctivity sampled.
FieldProblemInput CoarserProblem(const FieldProblemInput& fine);

// The equations of the relaxation solved as a whole on one grid: with nu of every iron and
// magnet node on its material curve at the node's induction (forward differences, as the
// relaxation takes it), the residual of every inner node's equation
//     r = f - L(nu(A)) A
// vanishes, and the boundary follows the fitted multipole expansion (MultipoleBoundary).
//
// A step is one Newton step: the linearised equations J d = r, J = L(nu) + the change of
// nu with A, solved to a tenth of the residual by flexible GMRES with a multigrid cycle
// (with nu held) as the preconditioner, then A + alpha d with the largest alpha of 1, 1/2,
// 1/4, ... that lowers the residual (so the residual never grows). Near the solution every
// step cuts the error by ten or more.
class FieldProblem {
  public:
    explicit FieldProblem(FieldProblemInput input);

    int N() const { return in_.n; }
    // The input (its reluctivity has moved into Reluctivity()).
    const FieldProblemInput& Input() const { return in_; }

    // The potential, (n + 1)^2 column-major. After changing it, call Evaluate.
    std::vector<double>& Potential() { return a_; }
    // nu of every node at the evaluated potential.
    const std::vector<double>& Reluctivity() const { return nu_; }

    // Fits the boundary of the potential, sets nu on the material curves and computes the
    // residual; returns its norm (not finite when the potential is not).
    double Evaluate(SweepTeam* team);
    double ResidualNorm() const { return residualNorm_; }
    // Sum of |r| over the inner nodes (the error indicator's measure).
    double ResidualSum() const;

    enum class Step { Improved, Stalled };
    // One Newton step from the evaluated potential. stop() is asked between two Krylov
    // iterations; when it says yes the step ends with what it has. Stalled: no step length
    // lowered the residual (it is at the rounding level); the potential is unchanged.
    Step NewtonStep(SweepTeam* team, const std::function<bool()>& stop);
    // The potential before the last step.
    const std::vector<double>& PotentialBeforeStep() const { return linearAt_; }
    // Multigrid cycles run so far (one per Krylov iteration), the measure of the work.
    int Cycles() const { return cycles_; }

  private:
    void SetReluctivityFromPotential(const std::vector<double>& a);
    void Linearise();
    void ApplyJacobian(std::vector<double>& x, std::vector<double>& y, SweepTeam* team);

    FieldProblemInput in_;
    Multigrid multigrid_;
    FlexibleGmres gmres_;
    std::vector<double> a_;
    std::vector<double> nu_;
    std::vector<double> dnu_;  // d nu / d B of every iron and magnet node (as magnetic_)
    std::vector<double> r_;
    double residualNorm_ = 0;
    int cycles_ = 0;
    // The inner iron and magnet nodes (element index) and which curve each follows.
    std::vector<int> magnetic_;
    std::vector<std::uint8_t> isIron_;
    // The Jacobian's terms of one iron or magnet node (see Linearise).
    struct JacobianTerm {
        int node;
        int column;
        double z, r;               // d nu of the node per unit change of x_N - x_c and x_E - ...
        double own, outer, upper;  // what nu multiplies in the equations of c, E and N
    };
    std::vector<JacobianTerm> terms_;
    // Work arrays of a step.
    std::vector<double> linearAt_, d_;
};

}  // namespace tesvid
