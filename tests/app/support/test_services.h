#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <optional>
#include <vector>

#include "app/platform_services.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "platform/settings_store.h"

namespace tesvid::testing {

struct RecordedMessage {
    QString title;
    QString text;
    MessageIcon icon;
    bool systemModal;
};

// Records the message boxes instead of showing them and answers the file dialogs from a queue.
class FakeDialogs : public Dialogs {
  public:
    void Message(QWidget*, const QString& title, const QString& text, MessageIcon icon,
                 bool systemModal) override {
        messages.push_back({title, text, icon, systemModal});
    }
    std::optional<QString> OpenFileName(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& initialName) override;
    std::optional<QString> SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& initialName) override {
        return OpenFileName(owner, title, filter, initialName);
    }
    // Sends the page to printToPdf, or cancels when it is empty.
    bool PrintSetup(QWidget* owner, QPrinter& printer, const QString& title) override;

    std::vector<RecordedMessage> messages;
    // Titles and initial names of the file and print dialogs shown, in order.
    std::vector<QString> dialogTitles;
    std::vector<QString> dialogInitialNames;
    QString printToPdf;
    // The answers of the next file dialogs, in order; none left is a cancel.
    std::deque<QString> fileAnswers;
};

class FakeClipboard : public Clipboard {
  public:
    void Clear() override { image = QImage(); }
    void SetImage(const QImage& i) override { image = i; }
    QImage image;
};

// A help viewer whose file is present or not, recording the topics it was asked to show.
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

// The settings store in a temporary home of its own: the user's settings are never touched.
class TemporarySettings {
  public:
    TemporarySettings();
    // The INI file as a user might have left it, and as the program left it.
    void WriteRawFile(const QByteArray& text) const;
    QByteArray ReadRawFile() const;

    IniSettingsStore store;

  private:
    QString FilePath() const;
    QTemporaryDir home_;
};

// Every service of the windows, faked, with a settings store in a temporary home.
struct TestServices {
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    FakeHelp help;
    TemporarySettings settings;

    PlatformServices Services() { return {dialogs, clipboard, help, settings.store}; }
};

}  // namespace tesvid::testing
