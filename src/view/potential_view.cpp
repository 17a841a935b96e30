#include "view/potential_view.h"

#include <cmath>

#include "view/color_ramp.h"

namespace tesvid {

void DrawPotentialView(const Model& m, RasterSurface& picture1) {
    const int n = m.project.GridSize;
    if (n <= 0 || !m.arrays.VecPot.Exists() || m.arrays.VecPot.N() != n) {
        return;
    }
    double amax = 0;
    for (double a : m.arrays.VecPot.Vector()) {
        if (std::fabs(a) > amax) {
            amax = std::fabs(a);
        }
    }
    if (amax == 0) {
        amax = 1e-200;
    }
    // The squares are painted in copy mode with a one-pixel pen whatever the editor left set
    // (an inverting or wide pen would scramble or shift the map); both are restored after.
    const DrawMode mode = picture1.GetDrawMode();
    const int penWidth = picture1.PenWidth();
    picture1.SetDrawMode(DrawMode::Copy);
    picture1.SetPenWidth(1);
    for (int i = 0; i <= n; ++i) {
        const double* a = m.arrays.VecPot.Data() + m.arrays.VecPot.Index(i, 0);
        for (int j = 0; j <= n; ++j) {
            picture1.FilledBox(i - 0.5, j - 0.5, i + 0.5, j + 0.5,
                               RampColor(RampLevel(std::fabs(a[j]), amax)));
        }
    }
    picture1.SetDrawMode(mode);
    picture1.SetPenWidth(penWidth);
}

}  // namespace tesvid
