#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QString>

namespace tesvid {

void QtClipboard::Clear() {
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::SetImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

void QtClipboard::SetText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace tesvid
