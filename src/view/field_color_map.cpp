#include "view/field_color_map.h"

#include <cmath>
#include <vector>

#include "model/number_format.h"
#include "view/color_ramp.h"

namespace tesvid {

namespace {

int NearestPixel(double u) {
    return static_cast<int>(std::floor(u + 0.5));
}

bool Solid(const Grid2D<MaterialCode>& material, int i, int j) {
    return material.Contains(i, j) && material(i, j) != MaterialCode::Vacuum;
}

}  // namespace

int NodeColorForLevel(double level) {
    return level > 200 ? 0 : 15;
}

double FieldMaximum(const Grid2D<float>& fieldB) {
    double bmax = 1e-200;
    for (float b : fieldB.Vector()) {
        if (b > bmax) {
            bmax = b;
        }
    }
    return bmax;
}

double ColorScaleLabelValue(int n, double bmaxTesla) {
    return (std::exp(4.6 * n * 80 / 400) - 1) * (bmaxTesla * 10000) / 100;
}

void DrawRegionOutlines(const Grid2D<MaterialCode>& material, RasterSurface& picture1) {
    const int n = material.N();
    if (!material.Exists()) {
        return;
    }
    const int w = picture1.WidthPixels();
    const int h = picture1.HeightPixels();
    // Pixel column of the cell border at user x = v + 0.5, for v = -1 .. n (index v + 1).
    std::vector<int> borderX(static_cast<std::size_t>(n + 2));
    std::vector<int> borderY(static_cast<std::size_t>(n + 2));
    for (int v = -1; v <= n; ++v) {
        borderX[static_cast<std::size_t>(v + 1)] = NearestPixel(picture1.ToPixelX(v + 0.5));
        borderY[static_cast<std::size_t>(v + 1)] = NearestPixel(picture1.ToPixelY(v + 0.5));
    }
    auto bx = [&](int v) { return borderX[static_cast<std::size_t>(v + 1)]; };
    auto by = [&](int v) { return borderY[static_cast<std::size_t>(v + 1)]; };

    std::vector<std::uint8_t> mask(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    auto markRun = [&](int x0, int y0, int x1, int y1) {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, w - 1);
        y1 = std::min(y1, h - 1);
        for (int y = y0; y <= y1; ++y) {
            std::uint8_t* row =
                mask.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
            for (int x = x0; x <= x1; ++x) {
                row[x] = 1;
            }
        }
    };
    // Vertical border pieces between cells (v, j) and (v + 1, j).
    for (int v = -1; v <= n; ++v) {
        for (int j = 0; j <= n; ++j) {
            if (Solid(material, v, j) != Solid(material, v + 1, j)) {
                markRun(bx(v), by(j - 1), bx(v), by(j));
            }
        }
    }
    // Horizontal border pieces between cells (i, v) and (i, v + 1).
    for (int i = 0; i <= n; ++i) {
        for (int v = -1; v <= n; ++v) {
            if (Solid(material, i, v) != Solid(material, i, v + 1)) {
                markRun(bx(i - 1), by(v), bx(i), by(v));
            }
        }
    }
    std::uint32_t* pixels = picture1.Pixels();
    for (std::size_t o = 0; o < mask.size(); ++o) {
        if (mask[o] != 0) {
            pixels[o] ^= 0x00FFFFFFu;
        }
    }
}

void DrawColorScale(DrawingSurface& picture3, double bmaxTesla, char decimalSeparator) {
    picture3.SetScale(10, 400);
    picture3.SetDrawMode(DrawMode::Copy);
    for (int k = 0; k <= 400; ++k) {
        const double level = k * 276.0 / 400;
        picture3.Line(0, 400 - k, 10, 400 - k, RampColor(level));
    }
    for (int n = 0; n <= 5; ++n) {
        picture3.SetCurrentPoint(2, (5 - n) * 77);
        picture3.SetForeColor(PaletteColor(3 * (5 - n)));
        picture3.PrintLine(FormatFixed1(ColorScaleLabelValue(n, bmaxTesla), decimalSeparator));
    }
}

void DrawFieldColorMap(const Model& m, ForceLineGrids& grids, RasterSurface& picture1,
                       DrawingSurface& picture3, char decimalSeparator) {
    const int n = m.project.GridSize;
    if (n <= 0 || m.field.B.N() != n || !m.field.B.Exists() || m.arrays.Material.N() != n ||
        !m.arrays.Material.Exists()) {
        return;
    }
    if (grids.NodeColor.N() != n || !grids.NodeColor.Exists()) {
        grids.NodeColor.Create(n);
    }
    picture1.SetDrawMode(DrawMode::Copy);
    picture1.SetPenWidth(1);

    const double bmax = FieldMaximum(m.field.B);
    for (int i = 0; i <= n; ++i) {
        const float* b = m.field.B.Data() + m.field.B.Index(i, 0);
        std::int16_t* color = grids.NodeColor.Data() + grids.NodeColor.Index(i, 0);
        for (int j = 0; j <= n; ++j) {
            const double level = RampLevel(b[j], bmax);
            color[j] = static_cast<std::int16_t>(NodeColorForLevel(level));
            picture1.FilledBox(i - 0.5, j - 0.5, i + 0.5, j + 0.5, RampColor(level));
        }
    }
    picture1.SetDrawMode(DrawMode::Invert);
    DrawRegionOutlines(m.arrays.Material, picture1);

    DrawColorScale(picture3, bmax, decimalSeparator);
}

}  // namespace tesvid
