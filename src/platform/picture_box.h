#pragma once

#include <QFrame>
#include <memory>

#include "platform/qimage_surface.h"

namespace tesvid {

// A picture area: shows a QImageSurface of fixed pixel size inside an optional sunken border
// and reports the mouse in the surface's user units (grid nodes on the drawing area).
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
};

}  // namespace tesvid
