#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

#include "model/drawing_surface.h"

namespace tesvid {

// A drawing surface over a QPainter on a page (printer or PDF). The user scale maps onto the
// page's printable area; lines are vector lines. Invert mode cannot be composed on a page, so
// it inverts the page's background colour (on a blank page a figure appears in the inverse of
// white). Points cannot be read back.
class PainterSurface : public DrawingSurface {
  public:
    // area: the printable area in device coordinates; dotsPerInch: the device resolution.
    PainterSurface(QPainter& painter, QRectF area, double dotsPerInch);

    QPainter& Painter() { return painter_; }
    QPointF ToDevice(double x, double y) const;
    double DeviceUnitsPerUserX() const { return area_.width() / scaleWidth_; }
    double DeviceUnitsPerUserY() const { return area_.height() / scaleHeight_; }

    using DrawingSurface::SetScale;
    void SetScale(double left, double top, double width, double height) override;
    void SetPenWidth(int pixels) override { penWidth_ = pixels < 1 ? 1 : pixels; }
    int PenWidth() const override { return penWidth_; }
    void SetDrawMode(DrawMode mode) override { mode_ = mode; }
    DrawMode GetDrawMode() const override { return mode_; }
    void SetLineStyle(LineStyle style) override { lineStyle_ = style; }
    void SetForeColor(Rgb c) override { foreColor_ = c; }
    Rgb ForeColor() const override { return foreColor_; }
    void SetBackColor(Rgb c) override { backColor_ = c; }
    Rgb BackColor() const override { return backColor_; }
    void Clear() override;
    void SetPoint(double x, double y, Rgb c) override;
    void Line(double x1, double y1, double x2, double y2, Rgb c) override;
    void LineTo(double x, double y) override;
    void BoxOutline(double x1, double y1, double x2, double y2, Rgb c) override;
    void FilledBox(double x1, double y1, double x2, double y2, Rgb c) override;
    std::optional<Rgb> ReadPoint(double, double) const override { return std::nullopt; }
    void SetCurrentPoint(double x, double y) override {
        currentX_ = x;
        currentY_ = y;
    }
    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }
    void PrintLine(std::string_view utf8Text) override;

  private:
    QColor Effective(Rgb c) const;
    QPen MakePen(Rgb c) const;

    QPainter& painter_;
    QRectF area_;
    double dpi_;
    double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
    int penWidth_ = 1;
    DrawMode mode_ = DrawMode::Copy;
    LineStyle lineStyle_ = LineStyle::Solid;
    Rgb foreColor_{0, 0, 0};
    Rgb backColor_{255, 255, 255};
    double currentX_ = 0, currentY_ = 0;
};

}  // namespace tesvid
