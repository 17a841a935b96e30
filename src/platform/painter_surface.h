#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

#include "model/surface_state.h"

namespace tesvid {

// A drawing surface over a QPainter on a page (printer or PDF). The user scale maps onto the
// page's printable area; lines are vector lines. Invert mode cannot be composed on a page, so
// it inverts the page's background colour (on a blank page a figure appears in the inverse of
// white). Points cannot be read back.
class PainterSurface : public SurfaceState {
  public:
    // area: the printable area in device coordinates; dotsPerInch: the device resolution.
    PainterSurface(QPainter& painter, QRectF area, double dotsPerInch);

    QPainter& Painter() { return painter_; }
    QPointF ToDevice(double x, double y) const;
    double DeviceUnitsPerUserX() const { return area_.width() / scaleWidth_; }
    double DeviceUnitsPerUserY() const { return area_.height() / scaleHeight_; }

    void Clear() override;
    void SetPoint(double x, double y, Rgb c) override;
    void Line(double x1, double y1, double x2, double y2, Rgb c) override;
    void LineTo(double x, double y) override;
    void BoxOutline(double x1, double y1, double x2, double y2, Rgb c) override;
    void FilledBox(double x1, double y1, double x2, double y2, Rgb c) override;
    std::optional<Rgb> ReadPoint(double, double) const override { return std::nullopt; }
    void PrintLine(std::string_view utf8Text) override;
    TextExtent MeasureText(std::string_view utf8Text) const override;

  private:
    QColor Effective(Rgb c) const;
    QPen MakePen(Rgb c) const;

    QPainter& painter_;
    QRectF area_;
    double dpi_;
};

}  // namespace tesvid
