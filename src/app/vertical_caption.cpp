#include "app/vertical_caption.h"

#include <QPainter>

namespace tesvid {
namespace {

QString Letters(const QString& text) {
    QString letters = text;
    letters.remove(QLatin1Char(' '));
    return letters;
}

}  // namespace

VerticalCaption::VerticalCaption(const QString& text, QWidget* parent) : QLabel(text, parent) {}

QSize VerticalCaption::sizeHint() const {
    const QFontMetrics fm(font());
    const QString letters = Letters(text());
    int width = 0;
    for (QChar c : letters) {
        width = std::max(width, fm.horizontalAdvance(c));
    }
    return {width, fm.height() * static_cast<int>(letters.size())};
}

void VerticalCaption::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm(font());
    const QString letters = Letters(text());
    const int lineHeight = fm.height();
    int y = (height() - lineHeight * static_cast<int>(letters.size())) / 2;
    for (QChar c : letters) {
        painter.drawText(QRect(0, y, width(), lineHeight), Qt::AlignHCenter | Qt::AlignVCenter,
                         QString(c));
        y += lineHeight;
    }
}

}  // namespace tesvid
