#pragma once

#include <string>
#include <vector>

#include "model/model.h"
#include "model/raster_surface.h"

namespace tesvid::testing {

// A model with the arrays and the field created (zero) for n cells over an area in mm.
inline Model MakeViewModel(int n, float areaMm = 100) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.arrays.MapGridSize = m.project.GridSize;
    m.project.AreaSize = areaMm;
    m.project.GridStep = areaMm * 0.001 / n;
    m.project.LineStep = 10;
    m.arrays.Material.Create(n);
    m.arrays.VecPot.Create(n);
    m.arrays.UniformStencil.Create(n);
    for (auto* g : {&m.field.Br, &m.field.Bz, &m.field.B}) {
        g->Create(n);
    }
    return m;
}

// A raster surface that also keeps the texts and lines drawn on it.
class RecordingSurface : public RasterSurface {
  public:
    struct Text {
        std::string text;
        double x, y;
        Rgb color;
    };
    struct LineCall {
        double x1, y1, x2, y2;
        Rgb color;
    };
    using RasterSurface::RasterSurface;
    void PrintLine(std::string_view text) override {
        texts.push_back({std::string(text), CurrentX(), CurrentY(), ForeColor()});
        RasterSurface::PrintLine(text);
    }
    void Line(double x1, double y1, double x2, double y2, Rgb c) override {
        lines.push_back({x1, y1, x2, y2, c});
        RasterSurface::Line(x1, y1, x2, y2, c);
    }
    std::vector<std::uint32_t> Copy() const {
        return {Pixels(), Pixels() + WidthPixels() * HeightPixels()};
    }
    std::vector<Text> texts;
    std::vector<LineCall> lines;
};

}  // namespace tesvid::testing
