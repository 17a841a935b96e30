#pragma once

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace tesvid {

// The program's name: the title of its message boxes.
inline constexpr char kProgramName[] = "Tesvid";

enum class MessageIcon { None, Information, Exclamation, Critical };

// The answers to the question whether to save unsaved changes.
enum class SaveChoice { Save, Discard, Cancel };

// The suffix of a file type's filter ("tvd" of "Tesvid Files (*.tvd)"): the first pattern's,
// empty when it has none.
QString FilterSuffix(const QString& filter);

// Modal message boxes and file dialogs. The program uses the Qt implementation; tests put a
// fake in its place that records the messages and answers the file dialogs.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A message box with an OK button. A system-modal box stays above every window.
    virtual void Message(QWidget* owner, const QString& title, const QString& text,
                         MessageIcon icon, bool systemModal = false) = 0;
    // The chosen file, or nothing when cancelled. filter is a Qt filter list
    // ("Tesvid projects (*.tvd);;All files (*)").
    virtual std::optional<QString> OpenFileName(QWidget* owner, const QString& title,
                                                const QString& filter,
                                                const QString& initialName) = 0;
    // Asks before overwriting an existing file. A name typed without a suffix gets the filter's
    // (before the overwrite question, so the question names the file written).
    virtual std::optional<QString> SaveFileName(QWidget* owner, const QString& title,
                                                const QString& filter,
                                                const QString& initialName) = 0;
    // The print dialog (no page range, no selection); false when cancelled.
    virtual bool PrintSetup(QWidget* owner, QPrinter& printer, const QString& title) = 0;
    // Whether to save the changes that the next step would lose: Save (Alt+S), Discard (Alt+D)
    // or Cancel (Esc, or the box closed).
    virtual SaveChoice AskSaveChanges(QWidget* owner, const QString& title,
                                      const QString& text) = 0;
};

class QtDialogs : public Dialogs {
  public:
    void Message(QWidget* owner, const QString& title, const QString& text, MessageIcon icon,
                 bool systemModal) override;
    std::optional<QString> OpenFileName(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& initialName) override;
    std::optional<QString> SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& initialName) override;
    bool PrintSetup(QWidget* owner, QPrinter& printer, const QString& title) override;
    SaveChoice AskSaveChanges(QWidget* owner, const QString& title, const QString& text) override;
};

}  // namespace tesvid
