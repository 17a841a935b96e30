#pragma once

// The window tests' support: the services of the windows faked, and what the user does.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/platform_services.h"
#include "model/material_code.h"
#include "options/options_dialog.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "platform/picture_box.h"
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

using Node = std::pair<int, int>;

// The options dialog's own section in the settings file, under its stored name.
const QByteArray kSwitchesSection = QByteArray("[frm") + "Options]";

// A main window over faked services, created over the settings text given and shown.
struct Session {
    explicit Session(const QByteArray& settings = {})
        : w([&] {
              services.WriteSettingsFile(settings);
              return services.Services();
          }()) {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    TestServices services;
    MainWindow w;
};

// A control of a window by its name; a missing one ends the test program.
template <typename T = QWidget>
T& Child(const QObject& root, const char* name) {
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control named %s", name);
    }
    return *found;
}
// The text of a label or a text box.
inline QString TextOf(const QObject& root, const char* name) {
    if (auto* box = root.findChild<QLineEdit*>(name)) {
        return box->text();
    }
    return Child<QLabel>(root, name).text();
}
inline PictureBox& DrawingArea(MainWindow& w) {
    return Child<PictureBox>(w, "drawingArea");
}

// What the user does: a click on a button, a menu command, text typed over a box's text, a
// drag with one mouse button through grid nodes (pressed at the first, released at the last),
// the pointer over a node or a place of the drawing area, a click there. A click on the main
// window's RUN waits until the calculation it started (if any) has ended and its result is on
// show: StartRun clicks RUN without waiting.
inline void StartRun(const MainWindow& w) {
    QTest::mouseClick(&Child(w, "runButton"), Qt::LeftButton);
}
inline void Click(const QObject& root, const char* button) {
    const auto* window = qobject_cast<const MainWindow*>(&root);
    if (window == nullptr || qstrcmp(button, "runButton") != 0) {
        QTest::mouseClick(&Child(root, button), Qt::LeftButton);
        return;
    }
    QSignalSpy finished(window, &MainWindow::calculationFinished);
    StartRun(*window);
    if (window->isBusy() && finished.isEmpty()) {
        QVERIFY(finished.wait(60000));
    }
}
inline void Trigger(MainWindow& w, const char* action) {
    Child<QAction>(w, action).trigger();
}
inline void TypeInto(const QObject& root, const char* name, const QString& text) {
    auto& box = Child<QLineEdit>(root, name);
    box.setFocus();
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, text);
}
inline void DragOnPicture(MainWindow& w, Qt::MouseButton button, const std::vector<Node>& path) {
    PictureBox& area = DrawingArea(w);
    auto at = [&](const Node& n) { return area.ToWidget(n.first, n.second); };
    QTest::mousePress(&area, button, {}, at(path.front()));
    for (std::size_t k = 1; k < path.size(); ++k) {
        QTest::mouseMove(&area, at(path[k]));
    }
    QTest::mouseRelease(&area, button, {}, at(path.back()));
}
inline void HoverAt(MainWindow& w, QPointF pos) {
    PictureBox& area = DrawingArea(w);
    QMouseEvent move(QEvent::MouseMove, pos, area.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&area, &move);
}
inline void HoverOverPicture(MainWindow& w, int i, int j) {
    HoverAt(w, DrawingArea(w).ToWidget(i, j));
}
inline void ClickOnPicture(MainWindow& w, int i, int j) {
    QTest::mouseClick(&DrawingArea(w), Qt::LeftButton, {}, DrawingArea(w).ToWidget(i, j));
}
inline void ChooseMaterial(MainWindow& w, int paletteIndex) {
    Click(w, qPrintable(QStringLiteral("materialButton%1").arg(paletteIndex)));
}
// The test coil on the first-start 50 grid over 100 mm: Coil 1 at i 10..12, j 20..30, 1 A
// through 1 mm wire (1e6 A/m2).
inline void PaintTestCoil(MainWindow& w) {
    DragOnPicture(w, Qt::LeftButton, {{10, 20}, {30, 45}, {12, 30}});
    TypeInto(w, "currentEdit1", "1");
}
// Opens the options dialog and runs the action while it is shown modally; the dialog is
// cancelled afterwards if the action left it open.
inline void WithOptions(MainWindow& w, const std::function<void(OptionsDialog&)>& action) {
    bool ran = false;
    QTimer::singleShot(0, &w, [&] {
        auto& dialog = Child<OptionsDialog>(w, "optionsDialog");
        ran = dialog.isVisible();
        action(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    Trigger(w, "optionsAction");
    if (!ran) {
        qFatal("the options dialog was not shown");
    }
}

// The material of a node as the drawing area shows it, and every node of one material.
inline MaterialCode NodeMaterial(MainWindow& w, int i, int j) {
    return MaterialFromColor(DrawingArea(w).Surface().ReadPoint(i, j));
}
inline std::set<Node> NodesOf(MainWindow& w, MaterialCode material) {
    std::set<Node> nodes;
    const int n = w.model().project.GridSize;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            if (NodeMaterial(w, i, j) == material) {
                nodes.insert({i, j});
            }
        }
    }
    return nodes;
}
// The nodes a..c by b..d of a grid of n, less node (0, 0) and the last row and column.
inline std::set<Node> NodeBlock(int a, int b, int c, int d, int n) {
    std::set<Node> nodes;
    for (int i = std::max(0, std::min(a, c)); i <= std::min(n - 1, std::max(a, c)); ++i) {
        for (int j = std::max(0, std::min(b, d)); j <= std::min(n - 1, std::max(b, d)); ++j) {
            nodes.insert({i, j});
        }
    }
    nodes.erase({0, 0});
    return nodes;
}

}  // namespace tesvid::testing
