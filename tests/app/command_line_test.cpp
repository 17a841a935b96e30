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
    QTest::newRow("quoted with spaces") << QStringList({"\"/home/me/My Projects/coil 1.tvd\""})
                                        << QString("/home/me/My Projects/coil 1.tvd");
    QTest::newRow("split by the shell") << QStringList({"/home/me/My", "Projects/coil.tvd"})
                                        << QString("/home/me/My Projects/coil.tvd");
    QTest::newRow("a single quote") << QStringList({"\""}) << QString();
    QTest::newRow("one quote of each end")
        << QStringList({"\"\"/tmp/a.tvd\"\""}) << QString("\"/tmp/a.tvd\"");
    QTest::newRow("quotes inside and blanks stay")
        << QStringList({" /tmp/a\"b.tvd "}) << QString(" /tmp/a\"b.tvd ");
}

void CommandLineTest::projectPath() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QCOMPARE(ProjectPathFromCommandLine(arguments), path);
}

QTEST_APPLESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
