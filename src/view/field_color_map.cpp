#include "view/field_color_map.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "model/number_format.h"
#include "view/color_ramp.h"

namespace tesvid {

namespace {

int NearestPixel(double u) {
    return static_cast<int>(std::floor(u + 0.5));
}

}  // namespace

bool SolidNode(const Grid2D<MaterialCode>& material, int i, int j) {
    return material.Contains(i, j) && material(i, j) != MaterialCode::Vacuum;
}

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
            if (SolidNode(material, v, j) != SolidNode(material, v + 1, j)) {
                markRun(bx(v), by(j - 1), bx(v), by(j));
            }
        }
    }
    // Horizontal border pieces between cells (i, v) and (i, v + 1).
    for (int i = 0; i <= n; ++i) {
        for (int v = -1; v <= n; ++v) {
            if (SolidNode(material, i, v) != SolidNode(material, i, v + 1)) {
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

namespace {

// Relative luminance of an sRGB colour (0 black .. 1 white).
double Luminance(Rgb c) {
    auto linear = [](std::uint8_t v) {
        const double u = v / 255.0;
        return u <= 0.04045 ? u / 12.92 : std::pow((u + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

constexpr double kScaleTopLevel = 276;
constexpr int kScaleRows = 400;

}  // namespace

Rgb TextColorOver(Rgb darkest, Rgb brightest) {
    const double againstBlack = (Luminance(darkest) + 0.05) / 0.05;
    const double againstWhite = 1.05 / (Luminance(brightest) + 0.05);
    return againstWhite > againstBlack ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
}

void DrawColorScaleBox(DrawingSurface& s, double left, double top, double width, double height,
                       double bmaxTesla, char decimalSeparator) {
    s.SetDrawMode(DrawMode::Copy);
    s.SetPenWidth(1);
    const double bottom = top + height;
    // Row k (level k * 276 / 400) is centred on its height in the box, the box clipping the
    // half rows at both ends; rows touch, so a page shows no gaps between them.
    const double row = height / kScaleRows;
    for (int k = 0; k <= kScaleRows; ++k) {
        const double centre = bottom - k * row;
        s.FilledBox(left, std::max(top, centre - row / 2), left + width,
                    std::min(bottom, centre + row / 2), RampColor(k * kScaleTopLevel / kScaleRows));
    }
    // The ramp's colour at a height of the box; the ramp's luminance grows upwards.
    auto rampAt = [&](double yPos) {
        const double fraction = std::clamp((bottom - yPos) / height, 0.0, 1.0);
        return RampColor(fraction * kScaleTopLevel);
    };
    auto label = [&](double x, double yTop, double h, const std::string& text) {
        s.SetForeColor(TextColorOver(rampAt(yTop + h), rampAt(yTop)));
        s.SetCurrentPoint(x, yTop);
        s.PrintLine(text);
    };

    std::string values[6];
    double widest = 0, widestWithUnit = 0;
    for (int n = 0; n <= 5; ++n) {
        values[n] = FormatFixed1(ColorScaleLabelValue(n, bmaxTesla), decimalSeparator);
        widest = std::max(widest, s.MeasureText(values[n]).width);
        widestWithUnit = std::max(widestWithUnit, s.MeasureText(values[n] + " G").width);
    }
    const bool unitOnLabels = widestWithUnit <= 0.9 * width;
    const double block = unitOnLabels ? widestWithUnit : widest;
    // Labels right-aligned on a common edge, the widest centred in the box.
    const double right = left + std::max(block, (width + block) / 2);
    for (int n = 0; n <= 5; ++n) {
        const std::string text = unitOnLabels ? values[n] + " G" : values[n];
        const TextExtent e = s.MeasureText(text);
        const double yTop = std::clamp(bottom - height * n / 5 - e.height / 2, top,
                                       std::max(top, bottom - e.height));
        label(right - e.width, yTop, e.height, text);
    }
    if (!unitOnLabels) {
        // Halfway between the two top labels.
        const TextExtent e = s.MeasureText("G");
        label(left + std::max(0.0, (width - e.width) / 2), top + height / 10 - e.height / 2,
              e.height, "G");
    }
}

void DrawColorScale(DrawingSurface& picture3, double bmaxTesla, char decimalSeparator) {
    picture3.SetScale(10, 400);
    DrawColorScaleBox(picture3, 0, 0, 10, 400, bmaxTesla, decimalSeparator);
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
