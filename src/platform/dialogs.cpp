#include "platform/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace tesvid {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtDialogs::Message(QWidget* owner, const QString& title, const QString& text, MessageIcon icon,
                        bool systemModal) {
    QMessageBox box(ToQt(icon), title, text, QMessageBox::Ok, owner);
    if (systemModal) {
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    box.exec();
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* owner, const QString& title,
                                               const QString& filter, const QString& initialName) {
    const QString name = QFileDialog::getOpenFileName(owner, title, initialName, filter);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return name;
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* owner, const QString& title,
                                               const QString& filter, const QString& initialName) {
    const QString name = QFileDialog::getSaveFileName(owner, title, initialName, filter);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return name;
}

bool QtDialogs::PrintSetup(QWidget* owner, QPrinter& printer, const QString& title) {
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(title);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tesvid
