// The result from the window: RUN, a refused run, the coil panel, the probe and the
// distribution windows; the file commands, the dialogs answered by the test: Open Sample, Open
// Project and the command line, Save, Export to TEXT and Print.

#include <QComboBox>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_line.h"
#include "app/support/window_driver.h"
#include "io/project_file.h"
#include "platform/number_text.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

const QString kOpposingCoils = QStringLiteral(TESVID_SOURCE_DIR "/samples/opposing_coils.tvd");

// The field on the axis in the middle of the test coil, T: about -3.4e-3 when converged.
float AxialField(const MainWindow& w) {
    return w.model().field.Bz(1, 25);
}

// A project of grid n over 100 mm with a coil, an iron node, a potential that is not zero, and
// a current and a magnet curve that no RUN or option would give.
ProjectData MakeProject(int n) {
    ProjectData p;
    p.GridSize = static_cast<std::int16_t>(n);
    p.GridStep = 0.1 / n;
    p.Current2 = -1.25;  // not on the map
    p.MagBr = 1.1;
    p.MagHc = 90000;
    p.MagCurveK = 1.5;
    p.Material.Create(n);
    p.VecPot.Create(n);
    for (int i = n / 5; i <= n / 4; ++i) {
        for (int j = n / 3; j <= n / 2; ++j) {
            p.Material(i, j) = MaterialCode::Coil1;
            p.VecPot(i, j) = 1e-5 * std::sin(0.1 * i) * std::cos(0.07 * j);
        }
    }
    p.Material(n / 2, n / 2) = MaterialCode::Iron;
    return p;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class ResultTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void runCalculatesTheFieldAndTheCoilPanel();
    void refusedRunChangesNothing();
    void coilPanelAndSlidersAgree();
    void probeReadsOnePointInTheLocalesNumbers();
    void resultKeepsItsGridUntilRun();
    void distributionWindowsBesideTheMainWindowOnce();
    void openAndSaveEveryGridSizeBitForBitOrSayWhyNot();
    void openingWithAResultOnShowShowsTheOpenedResult();
    void exportAndPrintNeedAResult();
};

void ResultTest::runCalculatesTheFieldAndTheCoilPanel() {
    Session s;
    MainWindow& w = s.w;
    PaintTestCoil(w);
    Click(w, "runButton");
    QVERIFY(s.services.dialogs.messages.empty() && !w.isBusy() && w.resultOnShow());
    QVERIFY2(AxialField(w) < -3.25e-3 && AxialField(w) > -3.5e-3,
             qPrintable(QString::number(AxialField(w))));
    QVERIFY(std::fabs(w.model().field.Br(5, 25)) < 0.05 * std::fabs(AxialField(w)));  // mid-coil
    // 33 nodes of 2 mm x 2 mm hold 132 turns of 1 mm wire; 1 A over 1 mm2 is 1 A/mm2.
    QCOMPARE(TextOf(w, "turnsBox1") + " " + TextOf(w, "densityBox1"), QString("132 1"));
}

void ResultTest::refusedRunChangesNothing() {
    Session s("[Steel]\nTextSteelMaxB=-1\n");
    PaintTestCoil(s.w);
    ChooseMaterial(s.w, 1);
    DragOnPicture(s.w, Qt::LeftButton, {{20, 20}, {25, 30}});
    const QImage before = DrawingArea(s.w).Surface().Snapshot();
    Click(s.w, "runButton");
    QCOMPARE(s.services.dialogs.messages.size(), std::size_t{1});
    QVERIFY(!s.w.resultOnShow());
    QCOMPARE(s.w.model().arrays.Material(22, 25), MaterialCode::Vacuum);  // no map was built
    QCOMPARE(TextOf(s.w, "turnsBox1"), QString("0"));
    QCOMPARE(DrawingArea(s.w).Surface().Snapshot(), before);
}

void ResultTest::coilPanelAndSlidersAgree() {
    Session s("[Grid]\nComboGrid=1\n");
    DragOnPicture(s.w, Qt::LeftButton, {{50, 20}, {59, 29}});
    Click(s.w, "runButton");
    // 100 nodes of 1 mm2: 100 turns of 1 mm wire; 10 A over 1 mm2. Power: 1.75e-8 ohm m times
    // (1e7 A/m2)^2 times the rings' volume, 1e-9 m3 x 6.28 x 10 x (50 + ... + 59) = 59.8955 W,
    // shown to 4 significant digits.
    QCOMPARE(TextOf(s.w, "turnsBox1") + " " + TextOf(s.w, "densityBox1") + " " +
                 TextOf(s.w, "powerBox1"),
             QString("100 10 59.9"));
    // Coil 2 is not on the drawing: no current, and its slider says so.
    QCOMPARE(TextOf(s.w, "currentEdit2"), QString("0"));
    QCOMPARE(Child<QSlider>(s.w, "currentSlider2").value(), 0);

    auto& slider = Child<QSlider>(s.w, "currentSlider1");
    slider.setValue(37);
    QCOMPARE(TextOf(s.w, "currentEdit1"), QString("3.7"));
    TypeInto(s.w, "currentEdit1", "2,5");
    QCOMPARE(slider.value(), 25);
    // A new full scale moves the slider to the current the box keeps.
    WithOptions(s.w, [](OptionsDialog& d) {
        TypeInto(d, "maxCurrent1Edit", "20");
        Click(d, "okButton");
    });
    QCOMPARE(TextOf(s.w, "currentEdit1"), QString("2,5"));
    QCOMPARE(slider.value(), 12);  // 12.5 % of 20 A, to the even position
}

void ResultTest::probeReadsOnePointInTheLocalesNumbers() {
    Session s;
    MainWindow& w = s.w;
    const QImage& copied = s.services.clipboard.image;
    PaintTestCoil(w);
    Click(w, "runButton");
    HoverOverPicture(w, 5, 25);
    QVERIFY(std::fabs(ToNumber(TextOf(w, "fieldB")) - w.model().field.B(5, 25) * 1e4) <= 0.05);
    Trigger(w, "copyScaleAction");
    const QImage pointScale = copied;
    Trigger(w, "copyRAction");
    const QImage pointGraph = copied;
    // Held at (5, 25): the read-out, B and the coordinates alike, stays there.
    ClickOnPicture(w, 5, 25);
    const QString held = TextOf(w, "fieldB");
    HoverOverPicture(w, 30, 10);
    QCOMPARE(TextOf(w, "fieldB"), held);
    QCOMPARE(TextOf(w, "radiusReadout") + "," + TextOf(w, "axialReadout"), QString("10,50"));
    ClickOnPicture(w, 30, 10);
    HoverOverPicture(w, 30, 10);
    QCOMPARE(TextOf(w, "radiusReadout"), QString("60"));

    // A comma locale: every number shown has its comma.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Click(w, "resultButton");
    HoverOverPicture(w, 5, 25);
    QVERIFY2(TextOf(w, "fieldB").contains(',') && !TextOf(w, "fieldB").contains('.'),
             qPrintable(TextOf(w, "fieldB")));
    Trigger(w, "copyScaleAction");
    QVERIFY(copied != pointScale);
    Trigger(w, "copyRAction");
    QVERIFY(copied != pointGraph);
    // New Project leaves no cross-hair position behind: the next one is drawn alone.
    Trigger(w, "newProjectAction");
    HoverOverPicture(w, 30, 30);
    const std::optional<Rgb> grey = MaterialColor(MaterialCode::Vacuum);
    QCOMPARE(DrawingArea(w).Surface().ReadPoint(10, 25), grey);
    QVERIFY(DrawingArea(w).Surface().ReadPoint(10, 30) != grey);
}

void ResultTest::resultKeepsItsGridUntilRun() {
    Session s;
    MainWindow& w = s.w;
    PaintTestCoil(w);
    Click(w, "runButton");
    const QPoint node = DrawingArea(w).ToWidget(5, 25);
    HoverAt(w, node);
    const QString b = TextOf(w, "fieldB"), r = TextOf(w, "radiusReadout");
    Trigger(w, "copyPictureAction");  // takes the cross-hair off
    const QImage result = s.services.clipboard.image;
    HoverAt(w, node);
    WithOptions(w, [](OptionsDialog& d) {
        Child<QComboBox>(d, "gridCombo").setCurrentIndex(1);  // 100x100
        TypeInto(d, "areaSizeEdit", "200");
        Click(d, "okButton");
    });
    // The same place reads the same node, the cross-hair leaves no trace, the axis its label.
    HoverAt(w, node + QPoint(40, 40));
    HoverAt(w, node);
    QCOMPARE(TextOf(w, "fieldB") + TextOf(w, "radiusReadout"), b + r);
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
    Trigger(w, "copyPictureAction");
    QCOMPARE(s.services.clipboard.image, result);
    // Editor takes the new grid and area.
    Click(w, "editorButton");
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("200"));
    QCOMPARE(w.model().project.GridSize, 100);
    QCOMPARE(NodeMaterial(w, 22, 50), MaterialCode::Coil1);  // the coil, on the finer grid
}

void ResultTest::distributionWindowsBesideTheMainWindowOnce() {
    // A column of two 300 x 220 frames, 4 pixels apart and from the main window's frame.
    const QSize graph(300, 220);
    const QRect main(100, 50, 800, 520);
    const struct {
        QRect screen;
        QPoint z;
    } cases[] = {
        {QRect(0, 0, 1600, 1000), QPoint(904, 50)},      // room on the right
        {QRect(-400, 0, 1400, 1000), QPoint(-204, 50)},  // room on the left only
        {QRect(0, 0, 1000, 1000), QPoint(700, 50)},      // no room: at the screen's edge
        {QRect(0, 0, 1000, 400), QPoint(700, 0)},        // too low: from the screen's top
    };
    for (const auto& c : cases) {
        const DistributionPlaces places = PlaceBeside(main, graph, graph, c.screen);
        QCOMPARE(places.z, c.z);
        QCOMPARE(places.r, c.z + QPoint(0, 224));
    }
    // Shown after a result; moved by the user, they stay there.
    Session s;
    Click(s.w, "resultButton");
    auto& r = Child(s.w, "rDistributionWindow");
    QVERIFY(r.isVisible() && Child(s.w, "zDistributionWindow").isVisible());
    r.move(r.pos() + QPoint(-30, 40));
    const QPoint moved = r.pos();
    Click(s.w, "editorButton");
    Click(s.w, "resultButton");
    QCOMPARE(r.pos(), moved);
}

void ResultTest::openAndSaveEveryGridSizeBitForBitOrSayWhyNot() {
    QTemporaryDir dir;
    Session s;
    FakeDialogs& dialogs = s.services.dialogs;
    for (int n : kGridSizes) {
        const QString original = dir.filePath(QString("grid%1.tvd").arg(n));
        const QString copy = dir.filePath(QString("grid%1 copy.tvd").arg(n));
        QVERIFY(!WriteProjectFile(original.toStdString(), MakeProject(n)));
        Click(s.w, "editorButton");
        dialogs.fileAnswers = {original};
        Trigger(s.w, "openProjectAction");
        QCOMPARE(DrawingArea(s.w).Surface().PenWidth(), 400 / n);
        QCOMPARE(NodeMaterial(s.w, n / 2, n / 2), MaterialCode::Iron);
        // The result view keeps the loaded potential; Save writes it back unchanged.
        Click(s.w, "resultButton");
        dialogs.fileAnswers = {copy};
        Trigger(s.w, "saveProjectAction");
        QCOMPARE(s.w.windowTitle(), QString("grid%1 copy.tvd - Tesvid").arg(n));
        QVERIFY2(ReadAll(original) == ReadAll(copy), qPrintable(copy));
    }
    // A target whose folder is a file, a file cut short, a missing file: the reasons reach the
    // user, and the project on show stays.
    const QImage before = DrawingArea(s.w).Surface().Snapshot();
    QFile cut(dir.filePath("cut.tvd"));
    QVERIFY(cut.open(QIODevice::WriteOnly) && cut.write(ReadAll(kOpposingCoils).left(5000)));
    cut.close();
    dialogs.fileAnswers = {dir.filePath("grid50.tvd/x.tvd"), cut.fileName(),
                           dir.filePath("missing.tvd")};
    Trigger(s.w, "saveProjectAction");
    Trigger(s.w, "openProjectAction");
    Trigger(s.w, "openProjectAction");
    QCOMPARE(dialogs.messages.size(), std::size_t{3});
    QVERIFY(dialogs.messages[0].text.contains("grid50.tvd/x.tvd"));
    for (int k : {1, 2}) {
        QVERIFY(dialogs.messages[k].text.startsWith("Invalid File Format\n"));
    }
    QVERIFY(dialogs.messages[1].text.contains("the file is cut short"));
    QVERIFY(dialogs.messages[2].text.contains("No such file"));
    QCOMPARE(DrawingArea(s.w).Surface().Snapshot(), before);
}

void ResultTest::openingWithAResultOnShowShowsTheOpenedResult() {
    QTemporaryDir dir;
    Session s("[frm" "Options]\nOptionConverge=0\n");  // the samples' fixed schedule
    MainWindow& w = s.w;
    PaintTestCoil(w);
    Click(w, "runButton");
    HoverOverPicture(w, 5, 25);
    ClickOnPicture(w, 5, 25);
    Trigger(w, "copyScaleAction");
    const QImage oldScale = s.services.clipboard.image;

    s.services.dialogs.fileAnswers = {kOpposingCoils};
    Trigger(w, "openSampleAction");
    QCOMPARE(s.services.dialogs.dialogInitialNames.back(),
             QCoreApplication::applicationDirPath() + "/Samples/");
    QVERIFY(w.resultOnShow());
    // The stored field at once: a cusp, the axial field reversing between the coils.
    const Model& m = w.model();
    QVERIFY(m.field.Bz(1, 16) * m.field.Bz(1, 35) < 0);
    Trigger(w, "copyScaleAction");
    QVERIFY(s.services.clipboard.image != oldScale);
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
    s.services.dialogs.fileAnswers = {dir.filePath("drawing.tvd")};
    Trigger(w, "saveProjectAction");
    Click(w, "resultButton");
    w.openProject(ProjectPathFromCommandLine({"\"" + dir.filePath("drawing.tvd") + "\""}));
    QCOMPARE(w.windowTitle(), QString("drawing.tvd - Tesvid"));
    QVERIFY(!w.resultOnShow());
    QVERIFY(!NodesOf(w, MaterialCode::Coil1).empty());
}

void ResultTest::exportAndPrintNeedAResult() {
    QTemporaryDir dir;
    Session s;
    FakeDialogs& dialogs = s.services.dialogs;
    const QString table = dir.filePath("field.txt");
    dialogs.fileAnswers = {table};
    dialogs.printToPdf = dir.filePath("report.pdf");
    Trigger(s.w, "exportTextAction");
    Trigger(s.w, "printAction");
    QCOMPARE(dialogs.messages.size(), std::size_t{2});
    QCOMPARE(dialogs.messages[0].text, QString("Nothing to save"));
    QCOMPARE(dialogs.messages[1].text, QString("Nothing to print"));

    // The table: a heading and one line per inner node, items in zones of 14 columns.
    s.w.openProject(kOpposingCoils);
    Click(s.w, "resultButton");
    dialogs.fileAnswers = {table};
    Trigger(s.w, "exportTextAction");
    const QByteArray text = ReadAll(table);
    QCOMPARE(text.count("\r\n"), 1 + 49 * 49);
    QCOMPARE(text.indexOf("Bz, Tesla"), 42);

    // The report in a comma locale: its numbers with commas, the powers as the panel has them.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Click(s.w, "runButton");
    Trigger(s.w, "printAction");
    QLocale::setDefault(QLocale::c());
    QCOMPARE(dialogs.messages.size(), std::size_t{2});
    QVERIFY(ReadAll(dialogs.printToPdf).startsWith("%PDF"));
    const QString power = TextOf(s.w, "powerBox1");
    QVERIFY2(power.contains(',') && QString(power).remove(',').size() <= 4, qPrintable(power));
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (!pdftotext.isEmpty()) {
        QProcess convert;
        convert.start(pdftotext, {dialogs.printToPdf, "-"});
        QVERIFY(convert.waitForFinished());
        const QString report = QString::fromUtf8(convert.readAllStandardOutput());
        QVERIFY2(report.contains(power + " W") && report.contains("Bmax= 1,5 Tesla"),
                 qPrintable(report));
    }
    // A printer that cannot start says so.
    dialogs.printToPdf = dir.filePath("no/such/folder/report.pdf");
    Trigger(s.w, "printAction");
    QCOMPARE(dialogs.messages.size(), std::size_t{3});
    QVERIFY(dialogs.messages[2].text.contains("could not be printed"));
}

QTEST_MAIN(ResultTest)
#include "result_test.moc"
