#include "solver/convergence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "solver/field_differences.h"

namespace tesvid {

namespace {

std::string Short(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2g", v);
    return text;
}

std::string Passes(int n) {
    return std::to_string(n) + (n == 1 ? " pass" : " passes");
}

// A change as a percentage for the sentence: "2.3 %", or "0.004 %".
std::string Percent(double change) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2g %%", change * 100);
    return text;
}

}  // namespace

namespace {

// The largest change of B on the inner nodes relative to the largest B, both from the inner
// nodes' differences (field_differences.h) written out for speed. Squares are compared; their
// sum catches a value that is not finite (it cannot cancel: all terms are positive).
template <bool centred>
double LargestChange(const std::vector<double>& before, const std::vector<double>& after, int n,
                     double h) {
    const int s = n + 1;
    double largestChange = 0;
    double largestB = 0;
    double total = 0;
    for (int i = 1; i <= n - 1; ++i) {
        const double* a = &after[static_cast<std::size_t>(i) * s];
        const double* b = &before[static_cast<std::size_t>(i) * s];
        const double inner = centred ? (i - 1) / (2.0 * i * h) : 0;
        const double outer = centred ? (i + 1) / (2.0 * i * h) : 0;
        for (int j = 1; j <= n - 1; ++j) {
            double br, bz, dr, dz;
            if constexpr (centred) {
                br = (a[j + 1] - a[j - 1]) / (2 * h);
                bz = outer * a[j + s] - inner * a[j - s];
                dr = br - (b[j + 1] - b[j - 1]) / (2 * h);
                dz = bz - (outer * b[j + s] - inner * b[j - s]);
            } else {
                const field::Induction x = field::OneSided(after.data(), n, h, i, j);
                const field::Induction y = field::OneSided(before.data(), n, h, i, j);
                br = x.br;
                bz = x.bz;
                dr = x.br - y.br;
                dz = x.bz - y.bz;
            }
            const double change = dr * dr + dz * dz;
            const double field = br * br + bz * bz;
            total += change + field;
            largestChange = std::max(largestChange, change);
            largestB = std::max(largestB, field);
        }
    }
    if (!std::isfinite(total)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return largestB > 0 ? std::sqrt(largestChange / largestB) : 0;
}

}  // namespace

double FieldChange(const std::vector<double>& before, const std::vector<double>& after, int n,
                   double h, FieldDifferences differences) {
    return differences == FieldDifferences::Centred ? LargestChange<true>(before, after, n, h)
                                                    : LargestChange<false>(before, after, n, h);
}

bool DivergenceWatch::Diverged(double change) {
    if (!std::isfinite(change)) {
        return true;
    }
    growing_ = previous_ > 0 && change >= 2 * previous_ ? growing_ + 1 : 0;
    previous_ = change;
    return growing_ >= 5;
}

std::optional<std::string> ToleranceRefusal(double tolerance) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", tolerance);
    const std::string value = text;
    if (!(tolerance > 0) || !std::isfinite(tolerance)) {
        return "The tolerance " + value + " must be a positive number.";
    }
    if (tolerance < kSmallestTolerance) {
        return "The tolerance " + value + " is below " + Short(kSmallestTolerance) +
               ", which double precision cannot reach: use a larger tolerance.";
    }
    if (tolerance > 1) {
        return "The tolerance " + value + " is above 1 (a change of 100 %): use a smaller one.";
    }
    return std::nullopt;
}

std::string OutcomeSentence(const CalculationOutcome& o) {
    const bool measured = std::isfinite(o.change);
    switch (o.ending) {
        case CalculationEnding::Converged:
            return "Converged after " + Passes(o.passes) + ", change " + Short(o.change) + ".";
        case CalculationEnding::NotConverged:
            if (!measured) {
                return "Not converged: no pass ran.";
            }
            return "Not converged: the field still changed by " + Percent(o.change) +
                   " in the last pass.";
        case CalculationEnding::Stopped:
            if (o.schedule == ScheduleKind::Fixed) {
                return "Stopped after " + std::to_string(o.passes) + " of " +
                       std::to_string(o.plannedPasses) + " passes: partial result.";
            }
            return "Stopped after " + Passes(o.passes) +
                   (measured ? " (last change " + Percent(o.change) + ")" : std::string()) +
                   ": partial result.";
        case CalculationEnding::Diverged:
            return "Diverged after " + Passes(o.passes) +
                   ": the field grew without bound; the previous result is kept.";
    }
    return {};
}

std::optional<std::string> OpenBoundaryWarning(const Grid2D<MaterialCode>& material) {
    const int n = material.N();
    if (n < 4) {
        return std::nullopt;
    }
    bool iron = false;
    bool magnet = false;
    bool winding = false;
    const auto look = [&](int i, int j) {
        const MaterialCode m = material(i, j);
        iron = iron || m == MaterialCode::Iron;
        magnet = magnet || m == MaterialCode::MagnetS || m == MaterialCode::MagnetN;
        winding = winding || IsCoil(m);
    };
    for (int i = 0; i <= n; ++i) {
        for (int j : {0, 1, n - 1, n}) {
            look(i, j);
        }
    }
    for (int j = 0; j <= n; ++j) {
        look(n - 1, j);
        look(n, j);
    }
    std::vector<std::string> names;
    if (iron) {
        names.emplace_back("iron");
    }
    if (magnet) {
        names.emplace_back("a magnet");
    }
    if (winding) {
        names.emplace_back("a winding");
    }
    if (names.empty()) {
        return std::nullopt;
    }
    std::string list = names[0];
    for (std::size_t k = 1; k < names.size(); ++k) {
        list += (k + 1 == names.size() ? " and " : ", ") + names[k];
    }
    list[0] = static_cast<char>(list[0] - 'a' + 'A');
    return list + (names.size() == 1 ? " touches" : " touch") +
           " the edge of the area: the open boundary is only approximate there. Draw the "
           "arrangement in a larger area for an accurate field.";
}

}  // namespace tesvid
