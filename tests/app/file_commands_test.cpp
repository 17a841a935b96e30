// The file commands from the window: Open Sample, Open Project and the command line, Save
// Project, Export to TEXT and Print, with the dialogs answered by the test.

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/support/test_services.h"
#include "app/support/window_driver.h"
#include "io/project_file.h"
#include "platform/picture_box.h"
#include "solver/material_map.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

// A project of grid n whose every stored field is distinct and whose potential is not zero.
ProjectData MakeProject(int n, double gridStep) {
    ProjectData p;
    p.GridSize = static_cast<std::int16_t>(n);
    p.GridStep = gridStep;
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
    p.LastReluctivityStep = 0;
    p.Rjac0 = 0.99;
    p.Rjac1 = 0.999;
    p.RjacFin = 0.9;
    p.Comments = std::string("A test project") + std::string(200 - 14, ' ');
    p.Material.Create(n);
    p.VecPot.Create(n);
    for (int i = n / 5; i <= n / 4; ++i) {
        for (int j = n / 3; j <= n / 2; ++j) {
            p.Material(i, j) = MaterialCode::Coil1;
        }
    }
    p.Material(n / 2, n / 2) = MaterialCode::Iron;
    for (int i = 1; i < n; ++i) {
        for (int j = 1; j < n; ++j) {
            p.VecPot(i, j) = 1e-5 * std::sin(0.1 * i) * std::cos(0.07 * j) / (i + 0.5);
        }
    }
    return p;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteProject(const QString& path, const ProjectData& p) {
    QVERIFY(!WriteProjectFile(QFile::encodeName(path).toStdString(), p).has_value());
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void saveAndReopenEveryGridSizeBitForBit();
    void projectSavedWhileEditingCarriesZeroPotential();
    void loadingSetsAreaAndLeavesOptionsAlone();
    void refusedFileLeavesModelAndTitleUnchanged();
    void failedSaveIsReportedAndKeepsTheOldFile();
    void commandLineOpensQuotedPathWithSpaces();
    void openSampleListsTheSamplesFolderAndShowsTheStoredField();
    void exportNeedsAResultAndWritesTheTable();
    void printNeedsAResultAndPrintsOnePage();
};

void FileCommandsTest::saveAndReopenEveryGridSizeBitForBit() {
    QTemporaryDir dir;
    for (int n : {50, 100, 200, 400}) {
        TestServices services;
        MainWindow w(services.Services());
        const QString original = dir.filePath(QString("grid%1.tvd").arg(n));
        const QString copy = dir.filePath(QString("grid%1 copy.tvd").arg(n));
        WriteProject(original, MakeProject(n, 0.1 / n));

        services.dialogs.fileAnswers = {original};
        w.mnuFileOpen->trigger();
        QCOMPARE(w.windowTitle(), "Tesvid - " + original);
        QCOMPARE(w.model().project.GridSize, n);
        // The result view keeps the loaded potential; Save writes it back unchanged.
        ClickButton(w.CommandResult);
        services.dialogs.fileAnswers = {copy};
        w.mnuFileSave->trigger();
        QCOMPARE(services.dialogs.dialogTitles.back(), QString("Save Project As"));
        QCOMPARE(services.dialogs.dialogFilters.back(), QString("Tesvid Files (*.tvd)"));
        QCOMPARE(w.windowTitle(), "Tesvid - " + copy);
        const QByteArray a = ReadAll(original), b = ReadAll(copy);
        QCOMPARE(static_cast<std::size_t>(a.size()), ProjectFileLength(n));
        QVERIFY2(a == b, qPrintable(QString("grid %1 did not round-trip").arg(n)));
        QVERIFY(services.dialogs.messages.empty());
    }
}

void FileCommandsTest::projectSavedWhileEditingCarriesZeroPotential() {
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    const QString original = dir.filePath("loaded.tvd");
    WriteProject(original, MakeProject(50, 0.002));
    services.dialogs.fileAnswers = {original};
    w.mnuFileOpen->trigger();
    QVERIFY(w.model().EditorMode);
    // A stroke painted since: the file gets the drawing as it is, with no potential.
    ChooseTool(w, DrawTool::RectangleTool);
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{30, 5}, {32, 7}});
    const QString saved = dir.filePath("edited.tvd");
    services.dialogs.fileAnswers = {saved};
    w.mnuFileSave->trigger();
    ProjectReadResult read = ReadProjectFile(QFile::encodeName(saved).toStdString());
    QVERIFY(read.project.has_value());
    for (double a : read.project->VecPot.Vector()) {
        QCOMPARE(a, 0.0);
    }
    QCOMPARE(read.project->Material(31, 6), MaterialCode::Iron);
    QCOMPARE(read.project->Material(12, 20), MaterialCode::Coil1);
}

void FileCommandsTest::loadingSetsAreaAndLeavesOptionsAlone() {
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    Model& m = w.model();
    m.project.SliderFullScale1 = 7;
    m.project.SliderFullScale2 = 8;
    m.project.ReluctivityRelaxation = 0.07;
    m.project.PrintScale = 3;
    m.project.LineStep = 12;
    m.ShowIntermediate = true;
    m.ShowCrossSections = false;
    const QString path = dir.filePath("p100.tvd");
    WriteProject(path, MakeProject(100, 0.002));
    w.FileOpen(true, path);
    QCOMPARE(w.Label4->text(), QString("200"));
    QCOMPARE(m.project.AreaSize, 200.0f);
    QCOMPARE(m.project.GridSize, 100);
    QCOMPARE(w.Picture1->Surface().PenWidth(), 4);
    QCOMPARE(w.TextCurrent1->text(), QString("3.5"));
    QCOMPARE(w.TextCurrent2->text(), QString("-1.25"));
    QCOMPARE(m.project.SliderFullScale1, 7.0);
    QCOMPARE(m.project.SliderFullScale2, 8.0);
    QCOMPARE(m.project.ReluctivityRelaxation, 0.07);
    QCOMPARE(m.project.PrintScale, 3.0f);
    QCOMPARE(m.project.LineStep, 12.0f);
    QVERIFY(m.ShowIntermediate);
    QVERIFY(!m.ShowCrossSections);
    QVERIFY(m.EditorMode);
    // The drawing shows the loaded map: the coil block and the iron node.
    QCOMPARE(NodeMaterial(w, 22, 40), MaterialCode::Coil1);
    QCOMPARE(NodeMaterial(w, 50, 50), MaterialCode::Iron);
    QCOMPARE(NodeMaterial(w, 70, 70), MaterialCode::Vacuum);
    // The magnets' permeability follows the loaded curve, not the options in force before.
    QCOMPARE(m.project.MagMuRec, MagnetMuRec(1.1, 90000, 1.5));
}

void FileCommandsTest::refusedFileLeavesModelAndTitleUnchanged() {
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    const QString good = dir.filePath("good.tvd");
    WriteProject(good, MakeProject(50, 0.002));
    w.FileOpen(true, good);
    ClickButton(w.CommandResult);
    const QImage before = w.Picture1->Surface().Snapshot();
    const Model kept = w.model();
    const QString title = w.windowTitle();

    QByteArray bad = ReadAll(good);
    bad[3] = 'd';  // "TVd2.1"
    const QString badPath = dir.filePath("bad.tvd");
    QFile f(badPath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bad);
    f.close();
    const QByteArray truncated = ReadAll(good).left(5000);
    const QString shortPath = dir.filePath("short.tvd");
    QFile g(shortPath);
    QVERIFY(g.open(QIODevice::WriteOnly));
    g.write(truncated);
    g.close();

    for (const QString& path : {badPath, shortPath, dir.filePath("missing.tvd"), dir.path()}) {
        services.dialogs.messages.clear();
        services.dialogs.fileAnswers = {path};
        w.mnuFileOpen->trigger();
        QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(services.dialogs.messages[0].text, QString("Invalid File Format"));
        QCOMPARE(services.dialogs.messages[0].title, QString("Tesvid"));
        QCOMPARE(w.windowTitle(), title);
        QVERIFY(w.model().arrays.VecPot == kept.arrays.VecPot);
        QVERIFY(w.model().arrays.Material == kept.arrays.Material);
        QCOMPARE(w.model().project.GridStep, kept.project.GridStep);
        QCOMPARE(w.Picture1->Surface().Snapshot(), before);
    }
    // A cancelled dialog does nothing at all.
    services.dialogs.messages.clear();
    services.dialogs.fileAnswers = {QString()};
    w.mnuFileOpen->trigger();
    QVERIFY(services.dialogs.messages.empty());
    QCOMPARE(w.windowTitle(), title);
}

void FileCommandsTest::failedSaveIsReportedAndKeepsTheOldFile() {
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    const QString title = w.windowTitle();
    // A target whose folder cannot take the new file: its "folder" is a regular file.
    const QString blocker = dir.filePath("not-a-folder");
    QFile b(blocker);
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write("x");
    b.close();
    const QString impossible = blocker + "/x.tvd";
    services.dialogs.fileAnswers = {impossible};
    w.mnuFileSave->trigger();
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QVERIFY(services.dialogs.messages[0].text.contains(impossible));
    QCOMPARE(w.windowTitle(), title);

    if (geteuid() == 0) {
        QSKIP("a read-only folder does not stop root");
    }
    const QString folder = dir.filePath("readonly");
    QVERIFY(QDir().mkdir(folder));
    const QString old = folder + "/old.tvd";
    WriteProject(old, MakeProject(50, 0.002));
    const QByteArray oldBytes = ReadAll(old);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    services.dialogs.messages.clear();
    services.dialogs.fileAnswers = {old};
    w.mnuFileSave->trigger();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QVERIFY(services.dialogs.messages[0].text.contains(old));
    QCOMPARE(ReadAll(old), oldBytes);
    QCOMPARE(w.windowTitle(), title);
}

void FileCommandsTest::commandLineOpensQuotedPathWithSpaces() {
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath("path with spaces")));
    const QString path = dir.filePath("path with spaces/x.tvd");
    WriteProject(path, MakeProject(50, 0.002));

    TestServices services;
    MainWindow w(services.Services());
    // The shell hands `tesvid "/path with spaces/x.tvd"` over as one argument with the quotes
    // gone; a launcher that keeps them hands them over too.
    for (const QStringList& args :
         {QStringList{path}, QStringList{"\"" + path + "\""}, path.split(' ')}) {
        const QString named = ProjectPathFromCommandLine(args);
        QCOMPARE(named, path);
    }
    w.FileOpen(true, ProjectPathFromCommandLine({"\"" + path + "\""}));
    QCOMPARE(w.windowTitle(), "Tesvid - " + path);
    QVERIFY(services.dialogs.messages.empty());
    // A single double quote names nothing.
    QCOMPARE(ProjectPathFromCommandLine({"\""}), QString());
}

void FileCommandsTest::openSampleListsTheSamplesFolderAndShowsTheStoredField() {
    TestServices services;
    MainWindow w(services.Services());
    const QString sample = QString(TESVID_SOURCE_DIR) + "/samples/opposing_coils.tvd";
    services.dialogs.fileAnswers = {sample};
    w.mnuFileSample->trigger();
    QCOMPARE(services.dialogs.dialogTitles.back(), QString("Open"));
    QCOMPARE(services.dialogs.dialogFilters.back(), QString("Tesvid Files (*.tvd);;All Files (*)"));
    QCOMPARE(services.dialogs.dialogInitialNames.back(),
             QCoreApplication::applicationDirPath() + "/Samples/");
    QCOMPARE(w.windowTitle(), "Tesvid - " + sample);
    // Result shows the stored field at once: a cusp, the axial field reversing between the
    // coils (rows 12..19 and 31..38).
    ClickButton(w.CommandResult);
    const Model& m = w.model();
    QVERIFY(std::fabs(m.field.B(1, 16)) > 1e-4);
    QVERIFY(m.field.Bz(1, 16) * m.field.Bz(1, 35) < 0);
    // A fresh RUN of the same geometry gives the same field.
    const Grid2D<float> stored = m.field.B;
    ClickButton(w.Finish);
    QVERIFY(w.model().field.B == stored);
}

void FileCommandsTest::exportNeedsAResultAndWritesTheTable() {
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    const QString out = dir.filePath("field.txt");
    services.dialogs.fileAnswers = {out};
    w.mnuFileExportText->trigger();
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(services.dialogs.messages[0].text, QString("Nothing to save"));
    QVERIFY(!QFile::exists(out));

    w.FileOpen(true, QString(TESVID_SOURCE_DIR) + "/samples/opposing_coils.tvd");
    const QString title = w.windowTitle();
    ClickButton(w.CommandResult);
    services.dialogs.fileAnswers = {out};
    w.mnuFileExportText->trigger();
    QCOMPARE(services.dialogs.dialogTitles.back(), QString("Save Field As TEXT"));
    QCOMPARE(services.dialogs.dialogFilters.back(), QString("Text Files (*.txt)"));
    const QByteArray text = ReadAll(out);
    QCOMPARE(text.count("\r\n"), 2402);
    QCOMPARE(text.count('\n'), 2402);
    const QByteArray heading = text.left(text.indexOf("\r\n"));
    QCOMPARE(heading.indexOf("R, mm"), 0);
    QCOMPARE(heading.indexOf("Z, mm"), 14);
    QCOMPARE(heading.indexOf("Br, Tesla"), 28);
    QCOMPARE(heading.indexOf("Bz, Tesla"), 42);
    QCOMPARE(heading.indexOf("Bmodule, Tesla"), 56);
    QCOMPARE(w.windowTitle(), title);
}

void FileCommandsTest::printNeedsAResultAndPrintsOnePage() {
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    QTemporaryDir dir;
    TestServices services;
    MainWindow w(services.Services());
    services.dialogs.printToPdf = dir.filePath("unused.pdf");
    w.mnuFilePrint->trigger();
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(services.dialogs.messages[0].text, QString("Nothing to print"));
    QVERIFY(!QFile::exists(services.dialogs.printToPdf));

    w.FileOpen(true, QString(TESVID_SOURCE_DIR) + "/samples/air_core_solenoid.tvd");
    ClickButton(w.CommandResult);
    // The extent of the area's top grid line on the page, for print scales 1 and 2.
    auto printedWidth = [&](float scale) -> int {
        w.model().project.PrintScale = scale;
        const QString pdf = dir.filePath(QString("report%1.pdf").arg(scale));
        services.dialogs.printToPdf = pdf;
        w.mnuFilePrint->trigger();
        if (services.dialogs.dialogTitles.back() != "Print Magnetic Field") {
            return -1;
        }
        if (!ReadAll(pdf).startsWith("%PDF")) {
            return -4;
        }
        if (pdftoppm.isEmpty()) {
            return 0;
        }
        const QString base = dir.filePath(QString("page%1").arg(scale));
        QProcess::execute(pdftoppm, {"-r", "50", "-png", pdf, base});
        const QStringList pages =
            QDir(dir.path()).entryList({QString("page%1*.png").arg(scale)}, QDir::Files);
        if (pages.size() != 1) {
            return -2;
        }
        const QImage page(dir.filePath(pages[0]));
        // The topmost row with dark pixels is the dotted top grid line.
        for (int y = 0; y < page.height(); ++y) {
            int left = -1, right = -1;
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128) {
                    left = left < 0 ? x : left;
                    right = x;
                }
            }
            if (left >= 0) {
                return right - left;
            }
        }
        return -3;
    };
    const int full = printedWidth(1);
    const int half = printedWidth(2);
    if (qEnvironmentVariableIsSet("TESVID_KEEP_REPORT")) {
        QFile::copy(dir.filePath("report1.pdf"), qEnvironmentVariable("TESVID_KEEP_REPORT"));
    }
    if (pdftoppm.isEmpty()) {
        QSKIP("pdftoppm is not installed");
    }
    QVERIFY2(full > 50, qPrintable(QString::number(full)));
    QVERIFY2(std::abs(2 * half - full) <= 4, qPrintable(QString("%1 %2").arg(full).arg(half)));
}

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
