#include "model/project_drawing.h"

namespace tesvid {

void DrawProject(const Model& m, DrawingSurface& surface) {
    surface.SetDrawMode(DrawMode::Copy);
    surface.SetPenWidth(1);
    // The map's own size: a map that was never built, or whose recorded size disagrees with
    // its array, paints nothing rather than reading outside it.
    const int mapN = m.arrays.MapGridSize;
    if (mapN > 0 && m.project.GridSize > 0 && m.arrays.Material.Exists() && m.arrays.Material.N() == mapN) {
        const double scale = static_cast<double>(m.project.GridSize) / mapN;
        const float side = static_cast<float>(scale);
        for (int i = 0; i <= mapN; ++i) {
            for (int j = 0; j <= mapN; ++j) {
                const MaterialCode code = m.arrays.Material(i, j);
                if (code == MaterialCode::Vacuum) {
                    continue;
                }
                const float x = static_cast<float>((i - 0.5) * scale);
                const float y = static_cast<float>((j - 0.5) * scale);
                surface.FilledBox(x, y, static_cast<double>(x) + side,
                                  static_cast<double>(y) + side, MaterialColor(code));
            }
        }
    }
    surface.SetPenWidth(PenWidthFor(m.project.GridSize));
}

}  // namespace tesvid
