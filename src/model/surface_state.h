#pragma once

#include "model/drawing_surface.h"

namespace tesvid {

// The drawing state every surface keeps the same way: user scale, pen width, draw mode, line
// style, colours and the current point. Surfaces derive from it and draw.
class SurfaceState : public DrawingSurface {
  public:
    using DrawingSurface::SetScale;
    void SetScale(double left, double top, double width, double height) override {
        scaleLeft_ = left;
        scaleTop_ = top;
        scaleWidth_ = width != 0 ? width : 1;
        scaleHeight_ = height != 0 ? height : 1;
    }
    void SetPenWidth(int pixels) override { penWidth_ = pixels < 1 ? 1 : pixels; }
    int PenWidth() const override { return penWidth_; }
    void SetDrawMode(DrawMode mode) override { mode_ = mode; }
    DrawMode GetDrawMode() const override { return mode_; }
    void SetLineStyle(LineStyle style) override { lineStyle_ = style; }
    void SetForeColor(Rgb c) override { foreColor_ = c; }
    Rgb ForeColor() const override { return foreColor_; }
    void SetBackColor(Rgb c) override { backColor_ = c; }
    Rgb BackColor() const override { return backColor_; }
    void SetCurrentPoint(double x, double y) override {
        currentX_ = x;
        currentY_ = y;
    }
    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }

  protected:
    // The scale before the first SetScale: one unit per surface unit.
    SurfaceState(double width, double height)
        : scaleWidth_(width > 0 ? width : 1), scaleHeight_(height > 0 ? height : 1) {}

    double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_, scaleHeight_;
    int penWidth_ = 1;
    DrawMode mode_ = DrawMode::Copy;
    LineStyle lineStyle_ = LineStyle::Solid;
    Rgb foreColor_{0, 0, 0};
    Rgb backColor_{255, 255, 255};
    double currentX_ = 0, currentY_ = 0;
};

}  // namespace tesvid
