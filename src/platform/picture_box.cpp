#include "platform/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
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
    return {zoom_ * surface_->WidthPixels() + 2 * f, zoom_ * surface_->HeightPixels() + 2 * f};
}

void PictureBox::SetZoom(int k) {
    zoom_ = std::max(1, k);
    setFixedSize(sizeHint());
    update();
}

void PictureBox::ResizeSurface(int widthPixels, int heightPixels) {
    auto fresh = std::make_unique<QImageSurface>(widthPixels, heightPixels);
    fresh->SetFont(surface_->Font());
    fresh->SetForeColor(surface_->ForeColor());
    fresh->SetBackColor(surface_->BackColor());
    fresh->Clear();
    surface_ = std::move(fresh);
    setFixedSize(sizeHint());
    update();
}

// Widget pixel w of a zoomed picture covers picture pixel u = (w + 0.5) / k - 0.5 (the
// centres of the two pixel grids line up), so a block's middle maps to its pixel's centre.
QPointF PictureBox::ToUser(QPointF widgetPos) const {
    const QRect c = contentsRect();
    const double shift = (zoom_ - 1) / 2.0;
    return {surface_->ToUserX((widgetPos.x() - c.left() - shift) / zoom_),
            surface_->ToUserY((widgetPos.y() - c.top() - shift) / zoom_)};
}

QPoint PictureBox::ToWidget(double x, double y) const {
    const QRect c = contentsRect();
    const int shift = (zoom_ - 1) / 2;
    return {c.left() + zoom_ * static_cast<int>(std::floor(surface_->ToPixelX(x) + 0.5)) + shift,
            c.top() + zoom_ * static_cast<int>(std::floor(surface_->ToPixelY(y) + 0.5)) + shift};
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QImage& image = surface_->Image();
    if (zoom_ == 1) {
        painter.drawImage(contentsRect().topLeft(), image);
    } else {
        // Without SmoothPixmapTransform every pixel becomes a sharp block.
        painter.drawImage(QRect(contentsRect().topLeft(), image.size() * zoom_), image);
    }
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
