#include "platform/painter_surface.h"

#include <QFontMetricsF>
#include <QPen>
#include <QString>
#include <cmath>

namespace tesvid {

PainterSurface::PainterSurface(QPainter& painter, QRectF area, double dotsPerInch)
    : SurfaceState(area.width(), area.height()),
      painter_(painter),
      area_(area),
      dpi_(dotsPerInch > 0 ? dotsPerInch : 600) {}

QPointF PainterSurface::ToDevice(double x, double y) const {
    return {area_.left() + (x - scaleLeft_) * area_.width() / scaleWidth_,
            area_.top() + (y - scaleTop_) * area_.height() / scaleHeight_};
}

QColor PainterSurface::Effective(Rgb c) const {
    const Rgb shown = mode_ == DrawMode::Invert ? backColor_.Inverted() : c;
    return {shown.r, shown.g, shown.b};
}

QPen PainterSurface::MakePen(Rgb c) const {
    // One pen pixel is taken as a 300-dpi dot, so widths look alike on any printer.
    QPen pen(Effective(c));
    pen.setWidthF(penWidth_ * dpi_ / 300.0);
    pen.setCapStyle(Qt::FlatCap);
    if (lineStyle_ == LineStyle::Dotted) {
        pen.setStyle(Qt::DotLine);
    }
    return pen;
}

void PainterSurface::Clear() {
    painter_.fillRect(area_, QColor(backColor_.r, backColor_.g, backColor_.b));
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
}

void PainterSurface::SetPoint(double x, double y, Rgb c) {
    const double side = penWidth_ * dpi_ / 300.0;
    const QPointF p = ToDevice(x, y);
    painter_.fillRect(QRectF(p.x() - side / 2, p.y() - side / 2, side, side), Effective(c));
    currentX_ = x;
    currentY_ = y;
}

void PainterSurface::Line(double x1, double y1, double x2, double y2, Rgb c) {
    painter_.setPen(MakePen(c));
    const QPointF a = ToDevice(x1, y1), b = ToDevice(x2, y2);
    if (a == b) {
        painter_.drawPoint(a);
    } else {
        painter_.drawLine(a, b);
    }
    currentX_ = x2;
    currentY_ = y2;
}

void PainterSurface::LineTo(double x, double y) {
    Line(currentX_, currentY_, x, y, foreColor_);
}

void PainterSurface::BoxOutline(double x1, double y1, double x2, double y2, Rgb c) {
    painter_.setPen(MakePen(c));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(ToDevice(x1, y1), ToDevice(x2, y2)).normalized());
    currentX_ = x2;
    currentY_ = y2;
}

void PainterSurface::FilledBox(double x1, double y1, double x2, double y2, Rgb c) {
    painter_.fillRect(QRectF(ToDevice(x1, y1), ToDevice(x2, y2)).normalized(), Effective(c));
    currentX_ = x2;
    currentY_ = y2;
}

void PainterSurface::PrintLine(std::string_view utf8Text) {
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const QPointF p = ToDevice(currentX_, currentY_);
    painter_.setPen(QColor(foreColor_.r, foreColor_.g, foreColor_.b));
    painter_.drawText(QPointF(p.x(), p.y() + metrics.ascent()),
                      QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
    currentY_ += metrics.height() * scaleHeight_ / area_.height();
}

TextExtent PainterSurface::MeasureText(std::string_view utf8Text) const {
    if (!(area_.width() > 0) || !(area_.height() > 0)) {
        return TextExtent{};
    }
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const double width = metrics.horizontalAdvance(
        QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
    return TextExtent{width * std::abs(scaleWidth_) / area_.width(),
                      metrics.height() * std::abs(scaleHeight_) / area_.height()};
}

}  // namespace tesvid
