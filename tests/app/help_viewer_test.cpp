// The shipped help file in the help window: contents, the options topic, the messages when
// there is no help, and the help window's life beside the main window.

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "options/options_dialog.h"
#include "platform/help_viewer.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

QString ShippedHelp() {
    return QDir(TESVID_SOURCE_DIR).filePath("help/tesvid.html");
}

}  // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT
  private slots:
    void everyLinkOfTheHelpFileLeadsToATopic();
    void showsContentsAndTheOptionsTopic();
    void missingFileIsNoHelp();
    void helpFromTheWindowsAndClosingWithTheProgram();
};

void HelpViewerTest::everyLinkOfTheHelpFileLeadsToATopic() {
    QFile file(ShippedHelp());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QStringList anchors;
    for (const auto& m : QRegularExpression("name=\"([^\"]+)\"").globalMatch(html)) {
        anchors << m.captured(1);
    }
    QVERIFY(anchors.contains("context-50"));
    int links = 0;
    for (const auto& m : QRegularExpression("href=\"#([^\"]+)\"").globalMatch(html)) {
        QVERIFY2(anchors.contains(m.captured(1)), qPrintable(m.captured(1)));
        ++links;
    }
    QVERIFY(links > 10);
    // It speaks of what the user sees.
    for (const char* words :
         {"RUN", "Stop", "Editor", "Result", "Force lines", "Magnet N", "Nonmag.", "Coil 2",
          "Wire diameter", "Jacoby radius", "Export to TEXT", "Open Sample", "R distribution"}) {
        QVERIFY2(html.contains(words), words);
    }
}

void HelpViewerTest::showsContentsAndTheOptionsTopic() {
    QWidget owner;
    HelpWindowViewer help(ShippedHelp());
    QCOMPARE(help.HelpFile(), ShippedHelp());
    QCOMPARE(help.Show(&owner, 0), std::optional<QString>());
    QTextBrowser* window = help.Window();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowTitle(), QString("Tesvid Help"));
    QVERIFY(window->toPlainText().contains("Your first coil, step by step"));
    QCOMPARE(window->verticalScrollBar()->value(), 0);

    QCOMPARE(help.Show(&owner, kOptionsHelpContext), std::optional<QString>());
    QCOMPARE(help.Window(), window);  // one help window
    QVERIFY(window->verticalScrollBar()->value() > 0);

    const auto unknown = help.Show(&owner, 77);
    QVERIFY(unknown.has_value());
    QVERIFY(unknown->contains("77"));
    help.Close();
    QVERIFY(!window->isVisible());
}

void HelpViewerTest::missingFileIsNoHelp() {
    HelpWindowViewer help(QDir::temp().filePath("no-such-help-file.html"));
    QVERIFY(help.HelpFile().isEmpty());
    QVERIFY(help.Show(nullptr, 0).has_value());
    QVERIFY(help.Window() == nullptr);
}

void HelpViewerTest::helpFromTheWindowsAndClosingWithTheProgram() {
    TestServices services;
    HelpWindowViewer help(ShippedHelp());
    MainWindow w({services.dialogs, services.clipboard, help, services.settings.store});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.mnuHelp->trigger();
    QVERIFY(services.dialogs.messages.empty());
    QVERIFY(help.Window() && help.Window()->isVisible());
    // From the options dialog, at the options topic, usable beside the modal dialog.
    bool shownBesideDialog = false;
    QTimer::singleShot(0, &w, [&] {
        OptionsDialog& d = w.frmOptions();
        QTest::mouseClick(d.CommandHelp, Qt::LeftButton);
        shownBesideDialog = help.Window()->isVisible() && help.Window()->parentWidget() == &d;
        d.reject();
    });
    w.mnuOptions->trigger();
    QVERIFY(shownBesideDialog);
    QVERIFY(services.dialogs.messages.empty());
    w.close();
    QVERIFY(!help.Window() || !help.Window()->isVisible());
}

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
