#pragma once

#include <string>
#include <vector>

#include "model/raster_surface.h"

namespace tesvid::testing {

// A raster surface that also keeps the texts and lines drawn on it.
class RecordingSurface : public RasterSurface {
  public:
    struct Text {
        std::string text;
        double x = 0;
        double y = 0;
        Rgb color;
    };
    struct LineCall {
        double x1, y1, x2, y2;
        Rgb color;
    };

    using RasterSurface::RasterSurface;

    void PrintLine(std::string_view utf8Text) override {
        texts.push_back(Text{std::string(utf8Text), CurrentX(), CurrentY(), ForeColor()});
        RasterSurface::PrintLine(utf8Text);
    }
    void Line(double x1, double y1, double x2, double y2, Rgb c) override {
        lines.push_back(LineCall{x1, y1, x2, y2, c});
        RasterSurface::Line(x1, y1, x2, y2, c);
    }

    std::vector<Text> texts;
    std::vector<LineCall> lines;
};

}  // namespace tesvid::testing
