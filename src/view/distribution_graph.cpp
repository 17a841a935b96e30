#include "view/distribution_graph.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "model/number_format.h"

namespace tesvid {

namespace {

constexpr Rgb kGridColor{200, 200, 200};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};

// |B| at position k along the graph's line.
struct GraphLine {
    const Grid2D<float>& field;
    GraphAxis axis;
    int line;
    double At(int k) const {
        return std::fabs(axis == GraphAxis::R ? field(k, line) : field(line, k));
    }
};

}  // namespace

double GraphFullScale(double bmax) {
    const std::string text = FormatScientific1(bmax);
    // "d.dE+eee": the first character is the digit, the last four the signed exponent.
    if (text.size() < 5 || text[0] < '0' || text[0] > '9') {
        return bmax;
    }
    const std::string exponentText = text.substr(text.size() - 4);
    char* end = nullptr;
    const long e = std::strtol(exponentText.c_str(), &end, 10);
    if (end == exponentText.c_str() || *end != '\0') {
        return bmax;
    }
    const int d = text[0] - '0';
    return std::pow(10.0, static_cast<double>(e)) * (d + 1);
}

bool GraphPointValid(const Model& m, double x, double y) {
    const int n = m.project.GridSize;
    return n >= 2 && m.field.B.Exists() && m.field.B.N() == n && x >= 0 && y >= 0 && x <= n && y <= n;
}

void DrawDistributionGraph(const Model& m, DrawingSurface& picture, GraphAxis axis, double x,
                           double y, char decimalSeparator) {
    if (!GraphPointValid(m, x, y)) {
        return;
    }
    const int n = m.project.GridSize;
    const bool alongR = axis == GraphAxis::R;
    picture.SetScale(n * 1.01, n * 1.01);

    const GraphLine values{m.field.B, axis, static_cast<int>(std::floor(alongR ? y : x))};
    double bmax = 1e-200;
    for (int k = 1; k <= n - 1; ++k) {
        if (values.At(k) > bmax) {
            bmax = values.At(k);
        }
    }
    const double smax = GraphFullScale(bmax);

    picture.Clear();
    picture.SetLineStyle(LineStyle::Dotted);
    for (int k = 1; k <= 9; ++k) {
        const double p = static_cast<double>(k) * n / 10;
        picture.Line(p, 0, p, n, kGridColor);
        picture.Line(0, p, n, p, kGridColor);
    }

    picture.SetLineStyle(LineStyle::Solid);
    picture.SetCurrentPoint(1, n - values.At(1) * n / smax);
    for (int k = 1; k <= n - 1; ++k) {
        picture.LineTo(k, n - values.At(k) * n / smax);
    }

    const double along = alongR ? x : y;
    picture.Line(along, 0, along, n, kRed);

    picture.SetCurrentPoint(0, 0);
    picture.PrintLine(" Bmax=" + FormatFixed1(smax * 10000, decimalSeparator) + " Gauss");

    auto millimetres = [&](double node) {
        return PrintForm(node * m.project.GridStep * 1000, false, decimalSeparator);
    };
    picture.SetCurrentPoint(0.84 * n, 0);
    picture.PrintLine((alongR ? "Z =" : "R =") + millimetres(alongR ? y : x));
    picture.SetCurrentPoint(0.84 * n, picture.CurrentY());
    picture.SetForeColor(kRed);
    picture.PrintLine((alongR ? "R =" : "Z =") + millimetres(alongR ? x : y));

    picture.BoxOutline(0, 0, n, n, kBlack);
    picture.SetForeColor(kBlue);
}

}  // namespace tesvid
