#pragma once

#include <QFrame>
#include <memory>

#include "platform/qimage_surface.h"

namespace tesvid {

// A picture area: shows a QImageSurface inside an optional sunken border and reports the mouse
// in the surface's user units (grid nodes on the drawing area). The surface's pixels stay the
// picture; a zoom of k shows every pixel as a k x k block (no smoothing) and maps the mouse
// back by dividing by k.
class PictureBox : public QFrame {
    Q_OBJECT
  public:
    PictureBox(int widthPixels, int heightPixels, bool sunkenBorder, QWidget* parent = nullptr);

    QImageSurface& Surface() { return *surface_; }
    const QImageSurface& Surface() const { return *surface_; }

    // User coordinates of a widget position.
    QPointF ToUser(QPointF widgetPos) const;
    // Widget position of a user point (the centre of its pixel).
    QPoint ToWidget(double x, double y) const;

    QSize sizeHint() const override;

    // Shows every pixel as a k x k block (k >= 1); the widget's fixed size follows.
    void SetZoom(int k);
    int Zoom() const { return zoom_; }
    // Replaces the surface by a blank one of another pixel size (cleared to the back colour)
    // with the old one's font and colours; the widget's fixed size follows.
    void ResizeSurface(int widthPixels, int heightPixels);

  signals:
    // A button went down or up at a point; the pointer moved with these buttons held.
    void pressed(Qt::MouseButton button, QPointF point);
    void moved(Qt::MouseButtons buttons, QPointF point);
    void released(Qt::MouseButton button, QPointF point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::unique_ptr<QImageSurface> surface_;
    int zoom_ = 1;
};

}  // namespace tesvid
