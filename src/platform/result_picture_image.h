#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace tesvid {

// The picture of a result as a file holds it (File > Save Picture, tesvid-batch --png): the
// drawing area's 400 x 400 pixels, a white gap, and the colour scale of a field of maximum
// bmaxTesla drawn beside it on a strip wide enough for its labels in the default font.
QImage ComposeResultPicture(const QImage& area, double bmaxTesla, char decimalSeparator = '.');

// Writes the image as a PNG file beside the target and renames it over the target: a failure
// leaves no half-written file and keeps an old one. Returns the reason of a failure.
std::optional<QString> WritePngFile(const QImage& image, const QString& path);

}  // namespace tesvid
