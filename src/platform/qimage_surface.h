#pragma once

#include <QFont>
#include <QImage>

#include "model/raster_surface.h"

namespace tesvid {

// A raster drawing surface whose pixels are shown and copied as a QImage (no copy: the image
// wraps the surface's own pixel block) and whose text is drawn with a Qt font.
class QImageSurface : public RasterSurface {
  public:
    QImageSurface(int widthPixels, int heightPixels);

    // The live image over the surface's pixels; valid as long as the surface lives.
    const QImage& Image() const { return image_; }
    // A deep copy, for the clipboard and files.
    QImage Snapshot() const { return image_.copy(); }

    void SetFont(const QFont& font) { font_ = font; }
    const QFont& Font() const { return font_; }

  protected:
    int DrawText(int px, int py, std::string_view utf8Text, Rgb c) override;
    TextExtent MeasureTextPixels(std::string_view utf8Text) const override;

  private:
    QImage image_;
    QFont font_;
};

}  // namespace tesvid
