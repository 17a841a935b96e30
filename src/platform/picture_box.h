#pragma once

#include <QFrame>
#include <memory>

#include "platform/qimage_surface.h"

namespace tesvid {

// A picture area: shows a QImageSurface of fixed pixel size inside an optional sunken border
// and reports mouse events in the surface's user units. Button masks: 1 left, 2 right, 4 middle.
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
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static int ButtonMask(Qt::MouseButtons buttons);
    static int ShiftMask(Qt::KeyboardModifiers modifiers);

    std::unique_ptr<QImageSurface> surface_;
};

}  // namespace tesvid
