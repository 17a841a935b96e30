#include "platform/result_picture_image.h"

#include <QPainter>
#include <QSaveFile>

#include "platform/qimage_surface.h"
#include "view/field_color_map.h"

namespace tesvid {
namespace {

constexpr int kStripWidth = 75;  // room for a five-digit label in the default font
constexpr int kGap = 8;

}  // namespace

QImage ComposeResultPicture(const QImage& area, double bmaxTesla, char decimalSeparator) {
    QImageSurface strip(kStripWidth, area.height());
    DrawColorScale(strip, bmaxTesla, decimalSeparator);

    QImage image(area.width() + kGap + kStripWidth, area.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.drawImage(0, 0, area);
        painter.drawImage(area.width() + kGap, 0, strip.Image());
    }
    return image;
}

std::optional<QString> WritePngFile(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return QStringLiteral("the PNG image could not be encoded");
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

}  // namespace tesvid
