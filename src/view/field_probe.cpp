#include "view/field_probe.h"

#include <cmath>

#include "model/number_format.h"

namespace tesvid {

int ProbeNode(float userCoordinate) {
    const double u = userCoordinate;
    if (!(std::fabs(u) < 1e6)) {
        return u > 0 ? 1000000 : -1000000;
    }
    return static_cast<int>(RoundHalfEven(u));
}

ProbeCoordinateTexts ProbeCoordinates(const Model& m, int xr, int yr) {
    const float n = static_cast<float>(m.project.GridSize);
    return {GeneralTextSingle(static_cast<float>(xr) * m.project.AreaSize / n),
            GeneralTextSingle(static_cast<float>(yr) * m.project.AreaSize / n)};
}

bool ProbeNodeHasField(const Model& m, int xr, int yr) {
    return m.field.B.Contains(xr, yr) && m.field.Br.Contains(xr, yr) && m.field.Bz.Contains(xr, yr);
}

std::optional<ProbeFieldTexts> ProbeField(const Model& m, int xr, int yr, char decimalSeparator) {
    if (!ProbeNodeHasField(m, xr, yr)) {
        return std::nullopt;
    }
    auto gauss = [&](float tesla) { return FormatFixed1(tesla * 10000.0f, decimalSeparator); };
    return ProbeFieldTexts{gauss(m.field.B(xr, yr)), gauss(m.field.Br(xr, yr)),
                           gauss(m.field.Bz(xr, yr))};
}

void MoveCrossHair(DrawingSurface& picture1, int gridSize, double lastX, double lastY, int xr,
                   int yr) {
    picture1.SetPenWidth(1);
    picture1.SetDrawMode(DrawMode::Invert);
    const Rgb any{0, 0, 0};
    picture1.Line(0, lastY, gridSize, lastY, any);
    picture1.Line(0, yr, gridSize, yr, any);
    picture1.Line(lastX, 0, lastX, gridSize, any);
    picture1.Line(xr, 0, xr, gridSize, any);
}

void ProbeMouseMove(const Model& m, bool showCrossSections, DrawingSurface& picture1,
                    PointerState& pointer, float x, float y, ProbeTarget& target,
                    char decimalSeparator) {
    if (pointer.Held) {
        return;
    }
    const int xr = ProbeNode(x);
    const int yr = ProbeNode(y);
    if (showCrossSections) {
        MoveCrossHair(picture1, m.project.GridSize, pointer.LastX, pointer.LastY, xr, yr);
    }
    if (const auto texts = ProbeField(m, xr, yr, decimalSeparator)) {
        target.SetFieldTexts(*texts);
        target.DrawGraphs(xr, yr);
    }
    pointer.LastX = static_cast<float>(xr);
    pointer.LastY = static_cast<float>(yr);
}

void ProbeMouseDown(PointerState& pointer, ProbeTarget& target) {
    pointer.Held = !pointer.Held;
    target.ShowGraphWindows();
    target.DrawGraphs(pointer.LastX, pointer.LastY);
}

}  // namespace tesvid
