#include "platform/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace tesvid {

PictureBox::PictureBox(int widthPixels, int heightPixels, bool sunkenBorder, QWidget* parent)
    : QFrame(parent), surface_(std::make_unique<QImageSurface>(widthPixels, heightPixels)) {
    if (sunkenBorder) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
}

QSize PictureBox::sizeHint() const {
    const int f = frameWidth();
    return {surface_->WidthPixels() + 2 * f, surface_->HeightPixels() + 2 * f};
}

QPointF PictureBox::ToUser(QPointF widgetPos) const {
    const QRect c = contentsRect();
    return {surface_->ToUserX(widgetPos.x() - c.left()),
            surface_->ToUserY(widgetPos.y() - c.top())};
}

QPoint PictureBox::ToWidget(double x, double y) const {
    const QRect c = contentsRect();
    return {c.left() + static_cast<int>(std::floor(surface_->ToPixelX(x) + 0.5)),
            c.top() + static_cast<int>(std::floor(surface_->ToPixelY(y) + 0.5))};
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), surface_->Image());
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), ToUser(event->position()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->buttons(), ToUser(event->position()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button(), ToUser(event->position()));
}

}  // namespace tesvid
