#include "solver/calculation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "solver/relax_pass.h"

namespace tesvid {

double OptimalOmega(double rjac, int gridSize) {
    const double rho = 1 - (1 - rjac) * 100 / gridSize;
    return 2 / (1 + std::sqrt(1 - rho * rho));
}

namespace {

// The largest number of main passes whose pass numbers (up to MainSteps + 4) still fit the
// 16-bit PassNo.
constexpr int kMostMainPasses = 32767 - 4;

double SumOfAbsoluteSources(const ModelState& m) {
    double sum = 1e-200;
    const int n = m.GridSize;
    if (m.Source.N() != n) {
        return sum;
    }
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            sum = sum + std::abs(m.Source(i, j));
        }
    }
    return sum;
}

void RunPass(ModelState& m, CalculationObserver& observer, double omega, double kMu, int passNo) {
    m.Omega = omega;
    m.KMuCur = kMu;
    m.PassNo = static_cast<std::int16_t>(passNo);
    RelaxPass(m, observer);
}

}  // namespace

void RunCalculation(ModelState& m, CalculationObserver& observer) {
    // A negative number of main passes runs none; the schedule is then the four fixed passes.
    const int mainPasses = std::clamp<int>(m.MainSteps, 0, kMostMainPasses);
    const int n = m.GridSize;

    observer.BeginCalculation();
    observer.SetProgressMaximum(mainPasses + 4);
    observer.SetProgressValue(0.001);
    observer.SetErrorValue(8);
    observer.Yield();
    m.SourceNorm = SumOfAbsoluteSources(m);
    m.StopRequested = false;

    RunPass(m, observer, OptimalOmega(m.Rjac0, n), 0, 1);
    RunPass(m, observer, OptimalOmega((m.Rjac0 + m.Rjac1) * 0.5, n), m.KMu / 2, 2);
    const double mainOmega = OptimalOmega(m.Rjac1, n);
    for (int k = 1; k <= mainPasses; ++k) {
        if (m.StopRequested) {
            break;
        }
        RunPass(m, observer, mainOmega, m.KMu, k + 2);
    }
    RunPass(m, observer, OptimalOmega((m.Rjac1 + m.RjacFin) * 0.5, n), m.KMu / 2, mainPasses + 3);
    RunPass(m, observer, OptimalOmega(m.RjacFin, n), 0, mainPasses + 4);

    observer.ShowResult();
    observer.EndCalculation();
}

void EvaluateField(ModelState& m) {
    const int n = std::max<int>(m.GridSize, 0);
    m.FieldBr.Create(n);
    m.FieldBz.Create(n);
    m.FieldB.Create(n);
    const double h = m.GridStep;
    const auto& a = m.VecPot;
    if (n < 2 || a.N() != n || !(h > 0) || !std::isfinite(h)) {
        return;  // no potential for this grid, or no step to differentiate over: field 0
    }
    auto& br = m.FieldBr;
    auto& bz = m.FieldBz;
    auto& b = m.FieldB;
    const auto modulus = [&](int i, int j) {
        const double r = br(i, j);
        const double z = bz(i, j);
        b(i, j) = static_cast<float>(std::sqrt(z * z + r * r));
    };
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            br(i, j) = static_cast<float>((a(i, j + 1) - a(i, j)) / h);
            bz(i, j) = static_cast<float>(a(i, j) / (i * h) + (a(i + 1, j) - a(i, j)) / h);
            modulus(i, j);
        }
    }
    for (int i = 1; i <= n - 1; ++i) {
        br(i, 0) = static_cast<float>((a(i, 1) - a(i, 0)) / h);
        bz(i, 0) = static_cast<float>(a(i, 0) / (i * h) + (a(i + 1, 0) - a(i, 0)) / h);
        modulus(i, 0);
        br(i, n) = static_cast<float>((a(i, n) - a(i, n - 1)) / h);
        bz(i, n) = static_cast<float>(a(i, n) / (i * h) + (a(i + 1, n) - a(i, n)) / h);
        modulus(i, n);
    }
    for (int j = 1; j <= n - 1; ++j) {
        br(0, j) = 0;
        bz(0, j) = bz(1, j);
        b(0, j) = b(1, j);
        br(n, j) = static_cast<float>((a(n, j + 1) - a(n, j)) / h);
        bz(n, j) = static_cast<float>(a(n, j) / (n * h) + (a(n, j) - a(n - 1, j)) / h);
        modulus(n, j);
    }
}

}  // namespace tesvid
