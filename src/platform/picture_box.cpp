#include "platform/picture_box.h"

#include <QMouseEvent>
#include <cmath>
#include <QPainter>

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
    return {surface_->ToUserX(widgetPos.x() - c.left()), surface_->ToUserY(widgetPos.y() - c.top())};
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

int PictureBox::ButtonMask(Qt::MouseButtons buttons) {
    int mask = 0;
    if (buttons & Qt::LeftButton) {
        mask |= 1;
    }
    if (buttons & Qt::RightButton) {
        mask |= 2;
    }
    if (buttons & Qt::MiddleButton) {
        mask |= 4;
    }
    return mask;
}

int PictureBox::ShiftMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) {
        mask |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        mask |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        mask |= 4;
    }
    return mask;
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF p = ToUser(event->position());
    emit mouseDown(ButtonMask(event->button()), ShiftMask(event->modifiers()),
                   static_cast<float>(p.x()), static_cast<float>(p.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = ToUser(event->position());
    emit mouseMove(ButtonMask(event->buttons()), ShiftMask(event->modifiers()),
                   static_cast<float>(p.x()), static_cast<float>(p.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = ToUser(event->position());
    emit mouseUp(ButtonMask(event->button()), ShiftMask(event->modifiers()),
                 static_cast<float>(p.x()), static_cast<float>(p.y()));
}

}  // namespace tesvid
