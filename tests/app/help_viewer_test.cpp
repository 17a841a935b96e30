// The shipped help file in the help window: its links, its words, the contents and the options
// topic, and no help when the file is missing.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include "platform/help_viewer.h"

using namespace tesvid;

class HelpViewerTest : public QObject {
    Q_OBJECT
  private slots:
    void everyLinkLeadsToATopicAndTheWordsAreTheWindows() {
        QFile file(QDir(TESVID_SOURCE_DIR).filePath("help/tesvid.html"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QStringList anchors;
        for (const auto& m : QRegularExpression("name=\"([^\"]+)\"").globalMatch(html)) {
            anchors << m.captured(1);
        }
        QVERIFY(anchors.contains("context-50"));
        for (const auto& m : QRegularExpression("href=\"#([^\"]+)\"").globalMatch(html)) {
            QVERIFY2(anchors.contains(m.captured(1)), qPrintable(m.captured(1)));
        }
        for (const char* words : {"RUN", "Stop", "Editor", "Result", "Force lines", "Magnet N",
                                  "Coil 2", "Wire diameter", "Jacobi radius", "Export to TEXT",
                                  "R distribution", "current divided by the square of the wire"}) {
            QVERIFY2(html.contains(words), words);
        }
        QVERIFY(!html.contains("Jacoby") && !html.contains("density in the wire"));
    }

    void showsContentsAndTheOptionsTopic() {
        QWidget owner;
        HelpWindowViewer help(QDir(TESVID_SOURCE_DIR).filePath("help/tesvid.html"));
        QCOMPARE(help.Show(&owner, 0), std::optional<QString>());
        QTextBrowser* window = help.Window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), QString("Tesvid Help"));
        QCOMPARE(window->verticalScrollBar()->value(), 0);
        QCOMPARE(help.Show(&owner, kOptionsHelpContext), std::optional<QString>());
        QCOMPARE(help.Window(), window);
        // The topic's heading is the first thing in view.
        QCOMPARE(window->cursorForPosition(QPoint(10, 10)).block().text(),
                 QString("The Options dialog"));
        QVERIFY(help.Show(&owner, 77).value_or("").contains("77"));
        help.Close();
        QVERIFY(!window->isVisible());

        HelpWindowViewer missing(QDir::temp().filePath("no-such-help-file.html"));
        QVERIFY(missing.HelpFile().isEmpty());
        QVERIFY(missing.Show(&owner, 0).has_value());
    }
};

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
