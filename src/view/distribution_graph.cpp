#include "view/distribution_graph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

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
    bool alongR;
    int line;
    double At(int k) const {
        return std::fabs(static_cast<double>(alongR ? field(k, line) : field(line, k)));
    }
};

// The whole number of steps that reach `value` (a hair over a step counts as that step).
int StepsToReach(double value, double step) {
    return std::max(1, static_cast<int>(std::ceil(value / step - 1e-9)));
}

// Ticks 0, step, 2 step, ... up to `limit`.
std::vector<double> Ticks(double limit, double step) {
    std::vector<double> ticks;
    const int count = static_cast<int>(std::floor(limit / step + 1e-9));
    for (int i = 0; i <= count; ++i) {
        ticks.push_back(i * step);
    }
    return ticks;
}

void Label(DrawingSurface& picture, double x, double y, const std::string& text, Rgb c) {
    picture.SetForeColor(c);
    picture.SetCurrentPoint(std::round(x), std::round(y));
    picture.PrintLine(text);
}

}  // namespace

double NiceTickStep(double range, int maxIntervals) {
    if (!(range > 0) || !std::isfinite(range)) {
        return 1;
    }
    const double raw = range / std::max(1, maxIntervals);
    const int e = static_cast<int>(std::floor(std::log10(raw)));
    for (int mantissa : {1, 2, 5, 10}) {
        // 10^e from an exact power of ten, so 0.1, 0.02, ... are the nearest doubles.
        const double step = e >= 0 ? mantissa * std::pow(10.0, e) : mantissa / std::pow(10.0, -e);
        if (step >= raw * (1 - 1e-12)) {
            return step;
        }
    }
    return 10 * std::pow(10.0, e);
}

std::string TickText(double value, double step, char decimalSeparator) {
    int decimals = 0;
    if (step > 0 && std::isfinite(step)) {
        decimals = std::clamp(-static_cast<int>(std::floor(std::log10(step) + 1e-9)), 0, 20);
    }
    if (std::fabs(value) < step * 1e-9) {
        value = 0;  // no "-0"
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer);
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

bool GraphPointValid(const Model& m, double x, double y) {
    const int n = m.project.GridSize;
    return n >= 2 && m.field.B.Exists() && m.field.B.N() == n && x >= 0 && y >= 0 && x <= n &&
           y <= n;
}

void DrawDistributionGraph(const Model& m, DrawingSurface& picture, int widthPixels,
                           int heightPixels, GraphAxis axis, double x, double y,
                           char decimalSeparator) {
    if (!GraphPointValid(m, x, y) || widthPixels < 1 || heightPixels < 1) {
        return;
    }
    const int n = m.project.GridSize;
    const bool alongR = axis == GraphAxis::R;
    const double width = widthPixels, height = heightPixels;
    picture.SetScale(0, 0, width, height);
    picture.SetDrawMode(DrawMode::Copy);
    picture.SetPenWidth(1);
    picture.SetLineStyle(LineStyle::Solid);
    picture.Clear();

    const GraphLine values{m.field.B, alongR, static_cast<int>(std::floor(alongR ? y : x))};
    double peak = 0;
    int peakIndex = 1;
    for (int k = 1; k <= n - 1; ++k) {
        const double v = values.At(k);
        if (std::isfinite(v) && v > peak) {
            peak = v;
            peakIndex = k;
        }
    }
    const double peakGauss = peak * kGaussPerTesla;
    double areaMm = n * m.project.GridStep * 1000;
    if (!(areaMm > 0) || !std::isfinite(areaMm)) {
        areaMm = n;
    }
    const double along = alongR ? x : y;
    const double across = alongR ? y : x;
    auto measure = [&](const std::string& text) { return picture.MeasureText(text).width; };
    auto millimetres = [&](double node) {
        return PrintForm(node * m.project.GridStep * 1000, false, decimalSeparator) + " mm";
    };

    const double th = picture.MeasureText("0").height;
    const double gap = std::max(2.0, std::round(th / 4));
    const double tick = std::max(3.0, std::ceil(th / 2));

    // Caption row(s).
    const std::string valueCaption = "|B| (G)";
    const std::string acrossText = (alongR ? "Z =" : "R =") + millimetres(across);
    const std::string alongText = (alongR ? "R =" : "Z =") + millimetres(along);
    const double wCaption = measure(valueCaption), wAcross = measure(acrossText),
                 wAlong = measure(alongText);
    const bool oneRow = gap + wCaption + th + wAcross + th + wAlong + gap <= width;
    const double captionsBottom = gap + (oneRow ? 1 : 2) * th;

    // Plot frame: the value labels' column on the left, the tick label row at the bottom.
    const double plotTop = std::ceil(captionsBottom + gap + th / 2);
    const double plotBottom = std::floor(height - gap - th - tick - 1);
    const double plotHeight = plotBottom - plotTop;
    if (plotHeight < 2 * th) {
        return;
    }
    // The top of the value axis leaves a text line and a gap above the peak for its label.
    const double headroom = std::min(0.5, (th + gap) / plotHeight);
    double target = peakGauss / (1 - headroom);
    if (!(target > 0)) {
        target = 1;
    }
    const int maxValueIntervals = std::max(1, static_cast<int>(plotHeight / (2 * th)));
    const double valueStep = NiceTickStep(target, maxValueIntervals);
    const double top = StepsToReach(target, valueStep) * valueStep;
    const std::vector<double> valueTicks = Ticks(top, valueStep);
    double wValueLabels = 0;
    for (double v : valueTicks) {
        wValueLabels = std::max(wValueLabels, measure(TickText(v, valueStep, decimalSeparator)));
    }
    const double plotLeft = std::ceil(gap + wValueLabels + 1 + tick);

    // Position ticks: as many as their labels allow with a text height between them.
    const double plotWidthMax = width - gap - plotLeft;
    int maxPositionIntervals = std::max(1, static_cast<int>(plotWidthMax / (3 * th)));
    double positionStep = 1, wPositionLabels = 0, plotRight = width - gap;
    std::vector<double> positionTicks;
    for (int attempt = 0; attempt < 8; ++attempt) {
        positionStep = NiceTickStep(areaMm, maxPositionIntervals);
        positionTicks = Ticks(areaMm, positionStep);
        wPositionLabels = 0;
        for (double p : positionTicks) {
            wPositionLabels =
                std::max(wPositionLabels, measure(TickText(p, positionStep, decimalSeparator)));
        }
        plotRight = std::floor(width - gap - wPositionLabels / 2);
        const double spacing = (plotRight - plotLeft) * positionStep / areaMm;
        if (spacing >= wPositionLabels + th || maxPositionIntervals == 1) {
            break;
        }
        const int fewer = static_cast<int>((plotRight - plotLeft) / (wPositionLabels + th));
        maxPositionIntervals = std::clamp(fewer, 1, maxPositionIntervals - 1);
    }
    const double plotWidth = plotRight - plotLeft;
    if (plotWidth < 2 * th) {
        return;
    }
    auto px = [&](double node) { return plotLeft + node / n * plotWidth; };
    auto pxMm = [&](double mm) { return plotLeft + mm / areaMm * plotWidth; };
    auto py = [&](double gauss) { return plotBottom - gauss / top * plotHeight; };

    // Grid, frame and ticks.
    picture.SetLineStyle(LineStyle::Dotted);
    for (double v : valueTicks) {
        if (v > 0 && v < top) {
            picture.Line(plotLeft, py(v), plotRight, py(v), kGridColor);
        }
    }
    for (double p : positionTicks) {
        if (p > 0 && pxMm(p) < plotRight - 1) {
            picture.Line(pxMm(p), plotTop, pxMm(p), plotBottom, kGridColor);
        }
    }
    picture.SetLineStyle(LineStyle::Solid);
    picture.BoxOutline(plotLeft, plotTop, plotRight, plotBottom, kBlack);
    for (double v : valueTicks) {
        const std::string text = TickText(v, valueStep, decimalSeparator);
        picture.Line(plotLeft - tick, py(v), plotLeft, py(v), kBlack);
        Label(picture, plotLeft - tick - 1 - measure(text), py(v) - th / 2, text, kBlack);
    }
    const std::string positionCaption = alongR ? "R (mm)" : "Z (mm)";
    const double captionLeft = width - gap - measure(positionCaption);
    const double labelRowTop = plotBottom + tick + 1;
    Label(picture, captionLeft, labelRowTop, positionCaption, kBlack);
    for (double p : positionTicks) {
        const std::string text = TickText(p, positionStep, decimalSeparator);
        const double w = measure(text);
        const double left = std::clamp(pxMm(p) - w / 2, 0.0, std::max(0.0, width - w));
        picture.Line(pxMm(p), plotBottom, pxMm(p), plotBottom + tick, kBlack);
        if (left + w + th / 2 <= captionLeft) {
            Label(picture, left, labelRowTop, text, kBlack);
        }
    }

    // The curve, broken where a value is not finite.
    bool penDown = false;
    double lastX = 0, lastY = 0;
    for (int k = 1; k <= n - 1; ++k) {
        const double v = values.At(k) * kGaussPerTesla;
        if (!std::isfinite(v)) {
            penDown = false;
            continue;
        }
        const double cx = px(k), cy = py(v);
        if (penDown) {
            picture.Line(lastX, lastY, cx, cy, kBlue);
        } else {
            picture.Line(cx, cy, cx, cy, kBlue);
        }
        penDown = true;
        lastX = cx;
        lastY = cy;
    }

    picture.Line(px(along), plotTop, px(along), plotBottom, kRed);

    // The true maximum over its peak.
    const double peakX = px(peakIndex), peakY = py(peakGauss);
    picture.FilledBox(peakX - 1.5, peakY - 1.5, peakX + 1.5, peakY + 1.5, kBlue);
    const std::string peakText = "Bmax=" + FormatFixed1(peakGauss, decimalSeparator) + " G";
    const double wPeak = measure(peakText);
    const double peakLeft =
        std::max(plotLeft + 1, std::min(peakX - wPeak / 2, plotRight - 1 - wPeak));
    Label(picture, peakLeft, peakY - gap / 2 - th, peakText, kBlue);

    // Captions.
    Label(picture, gap, gap, valueCaption, kBlack);
    if (oneRow) {
        Label(picture, width - gap - wAlong - th - wAcross, gap, acrossText, kBlack);
    } else {
        Label(picture, width - gap - wAcross, gap, acrossText, kBlack);
    }
    Label(picture, width - gap - wAlong, oneRow ? gap : gap + th, alongText, kRed);
    picture.SetForeColor(kBlack);
}

void DrawDistributionGraph(const Model& m, RasterSurface& picture, GraphAxis axis, double x,
                           double y, char decimalSeparator) {
    DrawDistributionGraph(m, picture, picture.WidthPixels(), picture.HeightPixels(), axis, x, y,
                          decimalSeparator);
}

}  // namespace tesvid
