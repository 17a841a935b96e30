// The project path taken from the command line.

#include <QTest>

#include "app/command_line.h"

using tesvid::ProjectPathFromCommandLine;

class CommandLineTest : public QObject {
    Q_OBJECT
  private slots:
    void projectPath_data();
    void projectPath();
};

void CommandLineTest::projectPath_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("plain") << QStringList({"/tmp/coil.tvd"}) << QString("/tmp/coil.tvd");
    QTest::newRow("quoted with spaces") << QStringList({"\"/home/me/My Projects/coil 1.tvd\""})
                                        << QString("/home/me/My Projects/coil 1.tvd");
    QTest::newRow("split by the shell") << QStringList({"/home/me/My", "Projects/coil.tvd"})
                                        << QString("/home/me/My Projects/coil.tvd");
    QTest::newRow("quoted and split")
        << QStringList({"\"/tmp/a", "b.tvd\""}) << QString("/tmp/a b.tvd");
    QTest::newRow("a single quote") << QStringList({"\""}) << QString();
    QTest::newRow("two quotes") << QStringList({"\"\""}) << QString();
    QTest::newRow("quote at the end only")
        << QStringList({"/tmp/a.tvd\""}) << QString("/tmp/a.tvd");
    QTest::newRow("quote at the start only")
        << QStringList({"\"/tmp/a.tvd"}) << QString("/tmp/a.tvd");
    QTest::newRow("only one quote of each end")
        << QStringList({"\"\"/tmp/a.tvd\"\""}) << QString("\"/tmp/a.tvd\"");
    QTest::newRow("quotes inside stay")
        << QStringList({"/tmp/a\"b.tvd"}) << QString("/tmp/a\"b.tvd");
    QTest::newRow("blanks stay") << QStringList({" /tmp/a.tvd "}) << QString(" /tmp/a.tvd ");
}

void CommandLineTest::projectPath() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QCOMPARE(ProjectPathFromCommandLine(arguments), path);
}

QTEST_APPLESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
