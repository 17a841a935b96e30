#pragma once

#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <optional>

class QTextBrowser;
class QWidget;

namespace tesvid {

class Dialogs;

// Context number of the options topic in the help file.
inline constexpr int kOptionsHelpContext = 50;

// Shows the program's help file at its contents or at a numbered topic.
class HelpViewer {
  public:
    virtual ~HelpViewer() = default;

    // The help file, or an empty text when the program has none.
    virtual QString HelpFile() const = 0;
    // Shows the contents (context 0) or the topic with that context number, owned by the
    // given window; the description of the failure when it cannot.
    virtual std::optional<QString> Show(QWidget* owner, int context) = 0;
    // Closes the help window, if one is open.
    virtual void Close() {}
};

// Shows the help contents (context 0) or a topic, owned by owner. Without a help file the user is
// told so in a message titled with the owner's title; a failure of the viewer is shown with the
// program's name as title.
void ShowHelp(HelpViewer& help, Dialogs& dialogs, QWidget* owner, int context);

// The help file of the running program (see ShippedDataPath).
QString InstalledHelpFile();

// The help as HTML in a window of its own (a text browser with links). A topic with context
// number N is the anchor "context-N" of the file.
class HelpWindowViewer : public HelpViewer {
  public:
    // file: the HTML help file; a file that does not exist counts as no help file.
    explicit HelpWindowViewer(QString file);
    ~HelpWindowViewer() override;

    QString HelpFile() const override;
    std::optional<QString> Show(QWidget* owner, int context) override;
    void Close() override;

    // The window, once shown (for tests).
    QTextBrowser* Window() const { return window_; }

  private:
    QString file_;
    QPointer<QTextBrowser> window_;
};

}  // namespace tesvid
