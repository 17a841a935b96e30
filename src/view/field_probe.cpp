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

ProbeCoordinateTexts ProbeCoordinates(const ModelState& m, int xr, int yr) {
    const float n = static_cast<float>(m.GridSize);
    return {GeneralTextSingle(static_cast<float>(xr) * m.AreaSize / n),
            GeneralTextSingle(static_cast<float>(yr) * m.AreaSize / n)};
}

bool ProbeNodeHasField(const ModelState& m, int xr, int yr) {
    return m.FieldB.Contains(xr, yr) && m.FieldBr.Contains(xr, yr) && m.FieldBz.Contains(xr, yr);
}

std::optional<ProbeFieldTexts> ProbeField(const ModelState& m, int xr, int yr) {
    if (!ProbeNodeHasField(m, xr, yr)) {
        return std::nullopt;
    }
    auto gauss = [](float tesla) { return FormatFixed1(tesla * 10000.0f); };
    return ProbeFieldTexts{gauss(m.FieldB(xr, yr)), gauss(m.FieldBr(xr, yr)),
                           gauss(m.FieldBz(xr, yr))};
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

void ProbeMouseMove(ModelState& m, DrawingSurface& picture1, PointerState& pointer, float x,
                    float y, ProbeTarget& target) {
    if (m.PointerHold) {
        return;
    }
    const int xr = ProbeNode(x);
    const int yr = ProbeNode(y);
    if (m.ShowCrossSections) {
        MoveCrossHair(picture1, m.GridSize, pointer.LastX, pointer.LastY, xr, yr);
    }
    if (const auto texts = ProbeField(m, xr, yr)) {
        target.SetFieldTexts(*texts);
        target.DrawGraphs(xr, yr);
    }
    pointer.LastX = static_cast<float>(xr);
    pointer.LastY = static_cast<float>(yr);
}

void ProbeMouseDown(ModelState& m, const PointerState& pointer, ProbeTarget& target) {
    m.PointerHold = !m.PointerHold;
    target.ShowGraphWindows();
    target.DrawGraphs(pointer.LastX, pointer.LastY);
}

}  // namespace tesvid
