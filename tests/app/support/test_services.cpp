#include "app/support/test_services.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSettings>

namespace tesvid::testing {

std::optional<QString> FakeDialogs::OpenFileName(QWidget*, const QString& title, const QString&,
                                                 const QString& initialName) {
    dialogTitles.push_back(title);
    dialogInitialNames.push_back(initialName);
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
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

TemporarySettings::TemporarySettings() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home_.path());
}

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
