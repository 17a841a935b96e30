#include "platform/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

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

QString FilterSuffix(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

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
    QFileDialog dialog(owner, title, initialName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(FilterSuffix(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() ||
        dialog.selectedFiles().front().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

bool QtDialogs::PrintSetup(QWidget* owner, QPrinter& printer, const QString& title) {
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(title);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    return dialog.exec() == QDialog::Accepted;
}

SaveChoice QtDialogs::AskSaveChanges(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, owner);
    QPushButton* save = box.addButton(QObject::tr("&Save"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QObject::tr("&Discard"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QObject::tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return SaveChoice::Save;
    }
    return box.clickedButton() == discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

}  // namespace tesvid
