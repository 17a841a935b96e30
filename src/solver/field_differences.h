#pragma once

// The induction at one node from the potential, B = curl A in the program's sign convention,
//     Br = (dA/dz along the picture's rows),   Bz = (1/r) d(r A)/dr,
// with r = i h, z = j h and a = the column-major (n + 1)^2 potential.

namespace tesvid::field {

struct Induction {
    double br;
    double bz;
};

inline double At(const double* a, int n, int i, int j) {
    return a[static_cast<long>(i) * (n + 1) + j];
}

// The fixed schedule's differences on an inner node: forward in both directions, so B belongs
// half a cell beside the node.
inline Induction OneSided(const double* a, int n, double h, int i, int j) {
    const double here = At(a, n, i, j);
    return {(At(a, n, i, j + 1) - here) / h, here / (i * h) + (At(a, n, i + 1, j) - here) / h};
}

// Centred differences at any node of the grid, second order everywhere:
//     Bz = ((i+1) A(i+1) - (i-1) A(i-1)) / (2 i h), the difference of r A (exact for A ~ r and
//          A ~ 1/r); on the axis, with A = a r + b r^3, Bz = 2a = (8 A(1) - A(2)) / (3 h);
//     Br = (A(j+1) - A(j-1)) / (2 h); 0 on the axis, where A is 0.
// Where the neighbour on one side is missing (the last column, the first and last rows) the
// three-point one-sided difference takes its place.
inline Induction Centred(const double* a, int n, double h, int i, int j) {
    Induction b{0, 0};
    if (i == 0) {
        b.bz = (8 * At(a, n, 1, j) - At(a, n, 2, j)) / (3 * h);
        return b;
    }
    const auto rA = [&](int k) { return k * At(a, n, k, j); };
    if (i < n) {
        b.bz = (rA(i + 1) - rA(i - 1)) / (2 * i * h);
    } else {
        b.bz = (3 * rA(n) - 4 * rA(n - 1) + rA(n - 2)) / (2 * n * h);
    }
    if (j == 0) {
        b.br = (-3 * At(a, n, i, 0) + 4 * At(a, n, i, 1) - At(a, n, i, 2)) / (2 * h);
    } else if (j == n) {
        b.br = (3 * At(a, n, i, n) - 4 * At(a, n, i, n - 1) + At(a, n, i, n - 2)) / (2 * h);
    } else {
        b.br = (At(a, n, i, j + 1) - At(a, n, i, j - 1)) / (2 * h);
    }
    return b;
}

}  // namespace tesvid::field
