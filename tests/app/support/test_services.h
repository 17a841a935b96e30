#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/platform_services.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "platform/settings_store.h"

namespace tesvid::testing {

// Records the message boxes instead of showing them and answers the file dialogs from a queue
// (none left: cancelled) or through a function, the print dialog with a PDF file (none:
// cancelled) and the question whether to save changes from a queue (none left: Discard).
class FakeDialogs : public Dialogs {
  public:
    struct Shown {
        QString title;
        QString text;
        bool systemModal;
    };
    void Message(QWidget*, const QString& title, const QString& text, MessageIcon,
                 bool systemModal) override {
        messages.push_back({title, text, systemModal});
    }
    std::optional<QString> OpenFileName(QWidget*, const QString&, const QString& filter,
                                        const QString& initialName) override {
        return FileName(false, filter, initialName);
    }
    std::optional<QString> SaveFileName(QWidget*, const QString&, const QString& filter,
                                        const QString& initialName) override {
        return FileName(true, filter, initialName);
    }
    std::optional<QString> FileName(bool save, const QString& filter, const QString& initialName) {
        if (answer) {
            return answer(save, filter);
        }
        dialogInitialNames.push_back(initialName);
        return TakeFront(fileAnswers);
    }
    bool PrintSetup(QWidget*, QPrinter& printer, const QString&) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToPdf);
        return !printToPdf.isEmpty();
    }
    SaveChoice AskSaveChanges(QWidget*, const QString&, const QString& text) override {
        saveQuestions.push_back(text);
        return TakeFront(saveAnswers).value_or(SaveChoice::Discard);
    }
    template <typename T>
    static std::optional<T> TakeFront(std::deque<T>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        T front = queue.front();
        queue.pop_front();
        return front;
    }

    std::vector<Shown> messages;
    std::vector<QString> dialogInitialNames;  // of the file dialogs shown
    std::deque<QString> fileAnswers;
    // When set, answers the file dialogs instead of the queue.
    std::function<std::optional<QString>(bool save, const QString& filter)> answer;
    QString printToPdf;
    std::vector<QString> saveQuestions;
    std::deque<SaveChoice> saveAnswers;
};

class FakeClipboard : public Clipboard {
  public:
    void Clear() override {
        image = QImage();
        text.clear();
    }
    void SetImage(const QImage& i) override { image = i; }
    void SetText(const QString& t) override { text = t; }
    QImage image;
    QString text;
};

// A help viewer whose file is present or not, recording the owners and topics it was asked for.
class FakeHelp : public HelpViewer {
  public:
    QString HelpFile() const override { return file; }
    std::optional<QString> Show(QWidget* owner, int context) override {
        shown.push_back({owner, context});
        return error;
    }
    QString file;
    std::optional<QString> error;
    std::vector<std::pair<QWidget*, int>> shown;
};

// Every service of the windows, faked, with the settings store in a temporary home of its own
// (the user's settings are never touched), whose INI file can be written as a user might have
// left it and read as the program left it.
struct TestServices {
    TestServices() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
        QDir(home.path()).mkpath("Vezozo");
    }
    PlatformServices Services() { return {dialogs, clipboard, help, settings}; }
    QString SettingsFile() const { return QDir(home.path()).filePath("Vezozo/Vezozo.ini"); }
    void WriteSettingsFile(const QByteArray& text) const {
        QFile file(SettingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }
    QByteArray ReadSettingsFile() const {
        QFile file(SettingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir home;
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    FakeHelp help;
    IniSettingsStore settings;
};

}  // namespace tesvid::testing
