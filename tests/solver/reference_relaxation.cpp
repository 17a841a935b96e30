#include "reference_relaxation.h"

#include <cmath>

namespace tesvid::testing {

void ReferenceIteration(SolverArrays& a, const Project& p, const PassSettings& pass) {
    const int N = p.GridSize;
    const double h = p.GridStep;
    auto& A = a.VecPot;
    auto& nu = a.Reluctivity;
    const auto& S = a.Source;
    const auto& Mat = a.Material;

    a.ResidualSum = 0;
    int c = 1;
    for (int half = 1; half <= 2; ++half) {
        int s = c;
        for (int i = 1; i <= N - 1; ++i) {
            for (int j = s; j <= N - 1; j += 2) {
                double D;
                double R;
                if (a.UniformStencil(i, j)) {
                    D = a.CoefDiag[i];
                    R = a.CoefRPlus[i] * A(i + 1, j) + a.CoefRMinus[i] * A(i - 1, j) + A(i, j + 1) +
                        A(i, j - 1) - D * A(i, j) - (S(i, j - 1) + S(i, j)) / 2;
                } else {
                    D = nu(i, j) * (1 + i / (i + 0.5)) + nu(i - 1, j) * (i / (i - 0.5)) +
                        nu(i, j - 1);
                    R = nu(i, j) * ((i + 1) / (i + 0.5) * A(i + 1, j) + A(i, j + 1)) +
                        nu(i - 1, j) * ((i - 1) / (i - 0.5)) * A(i - 1, j) +
                        nu(i, j - 1) * A(i, j - 1) - D * A(i, j) - (S(i, j - 1) + S(i, j)) / 2;
                }
                a.ResidualSum = a.ResidualSum + std::abs(R);
                A(i, j) = A(i, j) + pass.omega * R / D;

                const double dZ = A(i, j + 1) - A(i, j);
                const double dR = A(i + 1, j) - A(i, j) + A(i, j) / i;
                const double B = std::sqrt(dZ * dZ + dR * dR) / h + 1e-10;

                const MaterialCode mat = Mat(i, j);
                if (mat == MaterialCode::Iron || mat == MaterialCode::MagnetS ||
                    mat == MaterialCode::MagnetN) {
                    const double mu = mat == MaterialCode::Iron ? p.SteelMu : p.MagMuRec;
                    const double b = mat == MaterialCode::Iron ? p.SteelSaturationB : p.MagCurveK;
                    const double x = b / B;
                    const double nuT =
                        (1 + mu * (1 - x) +
                         std::sqrt(1 + 2 * mu * (1 + x) + mu * mu * ((1 - x) * (1 - x)))) /
                        (2 * mu);
                    double q = nuT / nu(i, j);
                    if (q > 1.5) {
                        q = 1.5;
                    }
                    if (q < 0.7) {
                        q = 0.7;
                    }
                    nu(i, j) = nu(i, j) * (1 + pass.reluctivityStep * (q - 1));
                    if (i == 1) {
                        nu(0, j) = nu(1, j);
                    }
                }
            }
            s = 3 - s;
        }
        c = 3 - c;
    }

    const double k = N == 50 ? 0.02 : N == 100 ? 0.01 : N == 200 ? 0.006 : N == 400 ? 0.004 : 0;
    for (int i = 1; i <= N - 1; ++i) {
        A(i, 0) = (1.5 - k) * A(i, 1) - (0.5 + k) * A(i, 2);
        A(i, N) = (1.5 - k) * A(i, N - 1) - (0.5 + k) * A(i, N - 2);
    }
    for (int j = 1; j <= N; ++j) {
        A(N, j) = (1.5 - k) * A(N - 1, j) - (0.5 + k) * A(N - 2, j);
    }
}

void ReferencePass(SolverArrays& a, const Project& p, const PassSettings& pass) {
    const int iterations = static_cast<int>(std::lround(p.GridSize / 5.0));
    for (int it = 1; it <= iterations; ++it) {
        ReferenceIteration(a, p, pass);
    }
}

}  // namespace tesvid::testing
