// Where the program finds its samples and help: beside itself in a build tree, else in the
// share folders of an installed tree, wherever that tree has been put.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "platform/install_paths.h"

using namespace tesvid;

class InstallPathsTest : public QObject {
    Q_OBJECT
  private slots:
    void findsTheDataBesideTheProgramOrUnderShare_data();
    void findsTheDataBesideTheProgramOrUnderShare();
};

void InstallPathsTest::findsTheDataBesideTheProgramOrUnderShare_data() {
    // layout: what exists under a temporary root whose bin/ holds the program (a name ending
    // with '/' is a folder, any other a file); then the expected samples folder and help file.
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<QString>("samples");
    QTest::addColumn<QString>("help");
    const QStringList beside = {"bin/Samples/", "bin/help/tesvid.html"};
    const QStringList installed = {"share/tesvid/samples/", "share/doc/tesvid/html/tesvid.html"};
    QTest::newRow("build tree") << beside << "bin/Samples/"
                                << "bin/help/tesvid.html";
    QTest::newRow("installed") << installed << "share/tesvid/samples/"
                               << "share/doc/tesvid/html/tesvid.html";
    QTest::newRow("neither: beside the program") << QStringList() << "bin/Samples/"
                                                 << "bin/help/tesvid.html";
    QTest::newRow("a file named Samples, a help folder without the page")
        << QStringList{"bin/Samples", "bin/help/"} + installed << "share/tesvid/samples/"
        << "share/doc/tesvid/html/tesvid.html";
}

void InstallPathsTest::findsTheDataBesideTheProgramOrUnderShare() {
    QFETCH(QStringList, layout);
    QFETCH(QString, samples);
    QFETCH(QString, help);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir dir(root.path());
    QVERIFY(dir.mkpath("bin"));
    for (const QString& entry : layout) {
        if (entry.endsWith('/')) {
            QVERIFY(dir.mkpath(entry));
        } else {
            QVERIFY(dir.mkpath(QFileInfo(entry).path()));
            QFile file(dir.filePath(entry));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    const QString program = dir.filePath("bin");
    QCOMPARE(ShippedDataPath(ShippedData::Samples, program), dir.filePath(samples));
    QCOMPARE(ShippedDataPath(ShippedData::Help, program), dir.filePath(help));
}

QTEST_GUILESS_MAIN(InstallPathsTest)
#include "install_paths_test.moc"
