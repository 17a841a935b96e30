#include "app/support/test_services.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSettings>

namespace tesvid::testing {

void FakeDialogs::Message(QWidget*, const QString& title, const QString& text, MessageIcon icon,
                          bool systemModal) {
    messages.push_back({title, text, icon, systemModal});
}

std::optional<QString> FakeDialogs::OpenFileName(QWidget*, const QString& title,
                                                 const QString& filter,
                                                 const QString& initialName) {
    dialogTitles.push_back(title);
    dialogFilters.push_back(filter);
    dialogInitialNames.push_back(initialName);
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.isNull()) {
        return std::nullopt;
    }
    return std::optional<QString>(std::in_place, answer);
}

std::optional<QString> FakeDialogs::SaveFileName(QWidget* owner, const QString& title,
                                                 const QString& filter,
                                                 const QString& initialName) {
    return OpenFileName(owner, title, filter, initialName);
}

bool FakeDialogs::PrintSetup(QWidget*, QPrinter& printer, const QString& title) {
    dialogTitles.push_back(title);
    if (printToPdf.isEmpty()) {
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printToPdf);
    return true;
}

std::optional<QString> FakeHelp::Show(QWidget* owner, int context) {
    shown.push_back(context);
    owners.push_back(owner);
    return error;
}

TemporarySettings::TemporarySettings() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home_.path());
}

TemporarySettings::~TemporarySettings() = default;

QString TemporarySettings::FilePath() const {
    return QDir(home_.path()).filePath("Vezozo/Vezozo.ini");
}

void TemporarySettings::WriteRawFile(const QByteArray& text) const {
    QDir().mkpath(QDir(home_.path()).filePath("Vezozo"));
    QFile file(FilePath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(text);
    }
}

QByteArray TemporarySettings::ReadRawFile() const {
    QFile file(FilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tesvid::testing
