// The file commands from the window: Open Sample, Open Project, Save Project, Export to TEXT
// and Print, with the dialogs answered by the test.

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "app/support/window_driver.h"
#include "io/project_file.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

const QString kOpposingCoils = QStringLiteral(TESVID_SOURCE_DIR "/samples/opposing_coils.tvd");

// A project of grid n whose stored fields are distinct and whose potential is not zero.
ProjectData MakeProject(int n) {
    ProjectData p;
    p.GridSize = static_cast<std::int16_t>(n);
    p.GridStep = 0.1 / n;
    p.Current1 = 3.5;
    p.Current2 = -1.25;
    p.WireDiameter1 = 0.8;
    p.WireDiameter2 = 1.2;
    p.SteelSaturationB = 1.7;
    p.SteelMu = 1500;
    p.MagBHmax = 40000;
    p.MagBr = 1.1;
    p.MagHc = 90000;
    p.MagCurveK = 1.5;
    p.MainSteps = 7;
    p.Rjac0 = 0.99;
    p.Comments = std::string("A test project") + std::string(200 - 14, ' ');
    p.Material.Create(n);
    p.VecPot.Create(n);
    for (int i = n / 5; i <= n / 4; ++i) {
        for (int j = n / 3; j <= n / 2; ++j) {
            p.Material(i, j) = MaterialCode::Coil1;
            p.VecPot(i, j) = 1e-5 * std::sin(0.1 * i) * std::cos(0.07 * j);
        }
    }
    return p;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void saveAndReopenEveryGridSizeBitForBit();
    void refusedFileSaysWhyAndChangesNothing();
    void openingWithAResultOnShowShowsTheOpenedResult();
    void exportAndPrintNeedAResult();
};

void FileCommandsTest::saveAndReopenEveryGridSizeBitForBit() {
    QTemporaryDir dir;
    for (int n : kGridSizes) {
        TestServices services;
        MainWindow w(services.Services());
        const QString original = dir.filePath(QString("grid%1.tvd").arg(n));
        const QString copy = dir.filePath(QString("grid%1 copy.tvd").arg(n));
        QVERIFY(!WriteProjectFile(original.toStdString(), MakeProject(n)));
        services.dialogs.fileAnswers = {original};
        Trigger(w, "openProjectAction");
        QCOMPARE(w.windowTitle(), "Tesvid - " + original);
        QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
        QCOMPARE(DrawingArea(w).Surface().PenWidth(), PenWidthFor(n));
        // The result view keeps the loaded potential; Save writes it back unchanged.
        Click(w, "resultButton");
        services.dialogs.fileAnswers = {copy};
        Trigger(w, "saveProjectAction");
        QCOMPARE(w.windowTitle(), "Tesvid - " + copy);
        QVERIFY2(ReadAll(original) == ReadAll(copy), qPrintable(copy));
        QVERIFY(services.dialogs.messages.empty());
    }
    // A target whose folder is a file: the reason reaches the user.
    TestServices services;
    MainWindow w(services.Services());
    const QString impossible = dir.filePath("grid50.tvd/x.tvd");
    services.dialogs.fileAnswers = {impossible};
    Trigger(w, "saveProjectAction");
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QVERIFY(services.dialogs.messages[0].text.contains(impossible));
    QCOMPARE(w.windowTitle(), QString("Tesvid"));
}

void FileCommandsTest::refusedFileSaysWhyAndChangesNothing() {
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    w.openProject(kOpposingCoils);
    Click(w, "resultButton");
    const QImage before = DrawingArea(w).Surface().Snapshot();
    const Grid2D<double> potential = w.model().arrays.VecPot;
    const QString title = w.windowTitle();
    QFile cut(dir.filePath("cut.tvd"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(ReadAll(kOpposingCoils).left(5000));
    cut.close();
    const struct {
        QString path;
        QString reason;
    } cases[] = {{cut.fileName(), "the file is cut short"},
                 {dir.filePath("missing.tvd"), "No such file"},
                 {dir.path(), ""}};
    for (const auto& c : cases) {
        services.dialogs.messages.clear();
        services.dialogs.fileAnswers = {c.path};
        Trigger(w, "openProjectAction");
        QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
        const QString text = services.dialogs.messages[0].text;
        QVERIFY2(text.startsWith("Invalid File Format\n") && text.contains(c.reason),
                 qPrintable(text));
        QCOMPARE(w.windowTitle(), title);
        QVERIFY(w.model().arrays.VecPot == potential);
        QCOMPARE(DrawingArea(w).Surface().Snapshot(), before);
    }
}

void FileCommandsTest::openingWithAResultOnShowShowsTheOpenedResult() {
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    Click(w, "runButton");
    HoverOverPicture(w, 5, 25);
    QTest::mouseClick(&DrawingArea(w), Qt::LeftButton, {}, DrawingArea(w).ToWidget(5, 25));
    Trigger(w, "copyScaleAction");
    const QImage oldScale = services.clipboard.image;

    services.dialogs.fileAnswers = {kOpposingCoils};
    Trigger(w, "openSampleAction");
    QCOMPARE(services.dialogs.dialogInitialNames.back(),
             QCoreApplication::applicationDirPath() + "/Samples/");
    QVERIFY(w.resultOnShow());
    // The stored field at once: a cusp, the axial field reversing between the coils.
    const Model& m = w.model();
    QVERIFY(m.field.Bz(1, 16) * m.field.Bz(1, 35) < 0);
    Trigger(w, "copyScaleAction");
    QVERIFY(services.clipboard.image != oldScale);
    const QString turns = TextOf(w, "turnsBox1");
    QVERIFY(turns != "132");
    // The probe is free again and reads the opened field.
    HoverOverPicture(w, 1, 16);
    QVERIFY(std::fabs(ToNumber(TextOf(w, "fieldBz")) - m.field.Bz(1, 16) * 1e4) < 0.05);
    // A fresh RUN of the same drawing gives the same field and the same coil panel.
    const Grid2D<float> stored = m.field.B;
    Click(w, "runButton");
    QVERIFY(w.model().field.B == stored);
    QCOMPARE(TextOf(w, "turnsBox1"), turns);

    // A project saved while editing holds no field: it opens in the editing view.
    Click(w, "editorButton");
    services.dialogs.fileAnswers = {dir.filePath("drawing.tvd")};
    Trigger(w, "saveProjectAction");
    Click(w, "resultButton");
    w.openProject(dir.filePath("drawing.tvd"));
    QVERIFY(!w.resultOnShow());
    QVERIFY(!NodesOf(w, MaterialCode::Coil1).empty());
}

void FileCommandsTest::exportAndPrintNeedAResult() {
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    const QString table = dir.filePath("field.txt");
    services.dialogs.fileAnswers = {table};
    services.dialogs.printToPdf = dir.filePath("report.pdf");
    Trigger(w, "exportTextAction");
    Trigger(w, "printAction");
    QCOMPARE(services.dialogs.messages.size(), std::size_t{2});
    QCOMPARE(services.dialogs.messages[0].text, QString("Nothing to save"));
    QCOMPARE(services.dialogs.messages[1].text, QString("Nothing to print"));

    // The table: a heading and one line per inner node, items in zones of 14 columns.
    w.openProject(kOpposingCoils);
    Click(w, "resultButton");
    services.dialogs.fileAnswers = {table};
    Trigger(w, "exportTextAction");
    const QByteArray text = ReadAll(table);
    QCOMPARE(text.count("\r\n"), 1 + 49 * 49);
    const QByteArray heading = text.left(text.indexOf("\r\n"));
    QCOMPARE(heading.indexOf("Bz, Tesla"), 42);

    // The report, in a comma locale: its numbers with commas, the powers as the panel has them.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Click(w, "runButton");
    Trigger(w, "printAction");
    QLocale::setDefault(QLocale::c());
    QVERIFY(ReadAll(services.dialogs.printToPdf).startsWith("%PDF"));
    QVERIFY(services.dialogs.messages.size() == 2);
    const QString power = TextOf(w, "powerBox1");
    QVERIFY2(power.contains(',') && power.size() <= 6, qPrintable(power));
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (!pdftotext.isEmpty()) {
        QProcess convert;
        convert.start(pdftotext, {services.dialogs.printToPdf, "-"});
        QVERIFY(convert.waitForFinished());
        const QString report = QString::fromUtf8(convert.readAllStandardOutput());
        QVERIFY2(report.contains(power + " W") && report.contains("Bmax= 1,5 Tesla"),
                 qPrintable(report));
    }
    // A printer that cannot start says so.
    services.dialogs.printToPdf = dir.filePath("no/such/folder/report.pdf");
    Trigger(w, "printAction");
    QCOMPARE(services.dialogs.messages.size(), std::size_t{3});
    QVERIFY(services.dialogs.messages[2].text.contains("could not be printed"));
}

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
