#include "platform/qimage_surface.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace tesvid {

QImageSurface::QImageSurface(int widthPixels, int heightPixels)
    : RasterSurface(widthPixels, heightPixels),
      image_(reinterpret_cast<uchar*>(Pixels()), WidthPixels(), HeightPixels(), WidthPixels() * 4,
             QImage::Format_RGB32) {}

int QImageSurface::DrawText(int px, int py, std::string_view utf8Text, Rgb c) {
    const QFontMetrics metrics(font_);
    if (!utf8Text.empty()) {
        QPainter painter(&image_);
        painter.setFont(font_);
        painter.setPen(QColor(c.r, c.g, c.b));
        painter.drawText(
            px, py + metrics.ascent(),
            QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
    }
    return metrics.height();
}

TextExtent QImageSurface::MeasureTextPixels(std::string_view utf8Text) const {
    const QFontMetrics metrics(font_);
    return TextExtent{static_cast<double>(metrics.horizontalAdvance(QString::fromUtf8(
                          utf8Text.data(), static_cast<qsizetype>(utf8Text.size())))),
                      static_cast<double>(metrics.height())};
}

}  // namespace tesvid
