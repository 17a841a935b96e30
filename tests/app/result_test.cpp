// The result from the window: RUN on its worker thread (the window answering while it runs,
// Stop, closing, the outcome in words), the field and the coil panel, a refused run, the probe,
// the distribution windows and their graphs, the scale, the engineering figures; the file
// commands, the dialogs answered by the test: Open Sample, Open Project and the command line,
// Save, Save Picture, Export to TEXT and Print.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <map>

#include "app/command_line.h"
#include "app/distribution_window.h"
#include "app/figures_window.h"
#include "app/support/window_driver.h"
#include "batch/result_picture.h"
#include "io/project_file.h"
#include "platform/float_progress_bar.h"
#include "platform/number_text.h"
#include "view/field_color_map.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

const QString kOpposingCoils = QStringLiteral(TESVID_SOURCE_DIR "/samples/opposing_coils.tvd");

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

// A pot core on the 200 grid, calculated to the smallest tolerance: long enough a run to
// watch (about a second here), though nothing waits for its end but Stop or a close.
const QString kPotCore = QStringLiteral(TESVID_SOURCE_DIR "/samples/pot_core_electromagnet.tvd");
const QByteArray kTight = kSwitchesSection + "\nTextTolerance=1E-12\n";

const char* const kLockedControls[] = {"runButton",         "editorButton",     "resultButton",
                                       "materialGroup",     "toolGroup",        "currentSlider1",
                                       "currentEdit2",      "optionsAction",    "openProjectAction",
                                       "saveProjectAction", "newProjectAction", "printAction"};

// Which of the controls above are enabled, as "1" and "0" in their order.
QString Enabled(const MainWindow& w) {
    QString states;
    for (const char* name : kLockedControls) {
        const QAction* action = w.findChild<QAction*>(name);
        states += (action ? action->isEnabled() : Child(w, name).isEnabled()) ? '1' : '0';
    }
    return states;
}

// The status line: the outcome of the last calculation.
QString Said(const MainWindow& w) {
    return TextOf(w, "outcomeLine");
}

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

// The value of the first "<after> <number> <prefix><unit>" in the text, in the unit; NaN if none.
double ValueAfter(const QString& text, const QString& after, const QString& unit) {
    const QRegularExpression form(QRegularExpression::escape(after) +
                                  " (-?[0-9.]+(?:e[-+][0-9]+)?) ([pnµmkMG]?)" +
                                  QRegularExpression::escape(unit) + "\\b");
    const QRegularExpressionMatch found = form.match(text);
    if (!found.hasMatch()) {
        return std::nan("");
    }
    const int power =
        QStringLiteral("pnµm.kMG")
            .indexOf(found.captured(2).isEmpty() ? QStringLiteral(".") : found.captured(2)) -
        4;
    return found.captured(1).toDouble() * std::pow(1000.0, power);
}

// A picture of the size given in the font of the one given, as `draw` leaves it.
QImage Drawn(const QImageSurface& like, QSize size,
             const std::function<void(QImageSurface&)>& draw) {
    QImageSurface picture(size.width(), size.height());
    picture.SetFont(like.Font());
    draw(picture);
    return picture.Snapshot();
}

QImage ReadPng(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class ResultTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void theWindowAnswersWhileItRunsStopAndClosingEndIt();
    void runGivesTheFieldCoilPanelFiguresAndOutcomeADivergedOneKeepsIt();
    void coilPanelAndSlidersAgree();
    void probeAndClickReadOnePointTheResultKeepsItsGridUntilEditor();
    void distributionWindowsBesideTheMainWindow();
    void openAndSaveEveryGridSizeBitForBitOrSayWhyNot();
    void openingWithAResultOnShowShowsTheOpenedResult();
    void picturesGraphsTableAndPaperOfEveryResult();
};

void ResultTest::theWindowAnswersWhileItRunsStopAndClosingEndIt() {
    Session s(kTight);
    MainWindow& w = s.w;
    w.openProject(kPotCore);
    Click(w, "editorButton");
    const QString allOn(std::size(kLockedControls), '1');
    QCOMPARE(Enabled(w), allOn);
    QSignalSpy finished(&w, &MainWindow::calculationFinished);
    PaintCounter counter(DrawingArea(w));
    const QImage picture = DrawingArea(w).Surface().Snapshot();
    StartRun(w);
    QVERIFY(w.isBusy());
    QCOMPARE(Enabled(w), QString(std::size(kLockedControls), '0'));
    QVERIFY(Child(w, "stopButton").isEnabled() && Child(w, "drawForceLinesCheck").isEnabled());
    // The pointer reads its place (0.5 mm a node), the area repaints, a drag paints nothing.
    HoverOverPicture(w, 69, 84);
    QCOMPARE(TextOf(w, "radiusReadout") + "," + TextOf(w, "axialReadout"), QString("34.5,42"));
    DragOnPicture(w, Qt::LeftButton, {{150, 150}, {170, 170}});
    DrawingArea(w).update();
    QVERIFY(QTest::qWaitFor([&] { return counter.paints > 0; }, 5000));
    QVERIFY2(finished.isEmpty() && w.isBusy(), "the run ended before the window was tried");
    QCOMPARE(DrawingArea(w).Surface().Snapshot(), picture);

    Click(w, "stopButton");
    QVERIFY(finished.wait(30000));
    QVERIFY2(Said(w).startsWith("Stopped after ") && Said(w).endsWith(": partial result."),
             qPrintable(Said(w)));
    QVERIFY(w.resultOnShow() && !w.isBusy());
    QCOMPARE(Enabled(w), allOn);

    // Closed during a run: stopped, then closed with the settings written.
    QSignalSpy closed(&w, &MainWindow::closed);
    StartRun(w);
    w.close();
    QVERIFY(closed.count() == 1 || closed.wait(30000));
    QVERIFY(!w.isVisible() && !w.isBusy() && Said(w).startsWith("Stopped after "));
    QVERIFY(s.services.ReadSettingsFile().contains("TextTolerance=1E-12"));
}

void ResultTest::runGivesTheFieldCoilPanelFiguresAndOutcomeADivergedOneKeepsIt() {
    Session s;
    MainWindow& w = s.w;
    const QString& copied = s.services.clipboard.text;
    auto table = [&] { return TextOf(w, "figuresTable"); };
    PaintTestCoil(w);
    // No figures before a calculation.
    Trigger(w, "figuresAction");
    QVERIFY(Child<FiguresWindow>(w, "figuresWindow").isVisible());
    QVERIFY2(table().contains("no calculated field"), qPrintable(table()));
    Trigger(w, "copyFiguresAction");
    QVERIFY(copied.contains("press RUN") && !copied.contains(QRegularExpression("[0-9]")));

    Click(w, "runButton");
    QVERIFY(s.services.dialogs.messages.empty() && !w.isBusy() && w.resultOnShow());
    // The axial field in the middle of the coil, T, and about none radially at mid-coil.
    const float bz = w.model().field.Bz(1, 25);
    QVERIFY2(bz < -3.25e-3 && bz > -3.5e-3, qPrintable(QString::number(bz)));
    QVERIFY(std::fabs(w.model().field.Br(5, 25)) < 0.05 * std::fabs(bz));
    // 33 nodes of 2 mm x 2 mm hold 132 turns of 1 mm wire; 1 A over 1 mm2 is 1 A/mm2.
    QCOMPARE(TextOf(w, "turnsBox1") + " " + TextOf(w, "densityBox1"), QString("132 1"));
    QVERIFY2(Said(w).startsWith("Converged after ") && !Said(w).contains("edge"),
             qPrintable(Said(w)));
    const auto& bar = Child<FloatProgressBar>(w, "progressBar");
    QCOMPARE(bar.Value(), bar.Maximum());

    Trigger(w, "copyFiguresAction");
    const double inductance = ValueAfter(copied, "L =", "H");
    const double energy = ValueAfter(copied, "W =", "J");
    // One coil in air at 1 A: W = L I^2 / 2, each to three digits.
    QVERIFY2(inductance > 0 && std::fabs(energy / (inductance / 2) - 1) < 0.01, qPrintable(copied));
    // The window lists the same numbers, with their units.
    for (const char* figure : {"L = ", "W = "}) {
        const int at = copied.indexOf(figure) + 4;
        const QString shown =
            copied.mid(at, copied.indexOf(QRegularExpression("[HJ]"), at) + 1 - at);
        QVERIFY2(table().contains(shown), qPrintable(shown + " not in " + table()));
    }
    // Phi = integral of Bz 2 pi r dr over the probe's circle, by the trapezoid rule over the
    // read-out's Bz (gauss) at nodes 0 .. 6 of the coil's mid-plane, 2 mm apart (the rule's
    // error on these cells is about 1.5 %).
    const int k = 6;
    double flux = 0;
    for (int i = 1; i <= k; ++i) {
        HoverOverPicture(w, i, 25);
        const double rBz = i * 2e-3 * TextOf(w, "fieldBz").toDouble() * 1e-4;
        flux += 2 * M_PI * 2e-3 * (i < k ? rBz : rBz / 2);
    }
    const double shown = ValueAfter("= " + TextOf(w, "fieldFlux"), "=", "Wb");
    QVERIFY2(flux < 0 && std::fabs(shown / flux - 1) < 0.03,
             qPrintable(TextOf(w, "fieldFlux") + " against " + QString::number(flux)));

    // A current of 1e301 A in 1 mm wire: the field overflows. The result stays as it was.
    const QImage result = DrawingArea(w).Surface().Snapshot();
    const Grid2D<float> field = w.model().field.B;
    TypeInto(w, "currentEdit1", "1e301");
    Click(w, "runButton");
    QVERIFY2(Said(w).startsWith("Diverged after "), qPrintable(Said(w)));
    QVERIFY(w.model().field.B == field && w.model().project.Current1 == 1);
    QCOMPARE(DrawingArea(w).Surface().Snapshot(), result);

    // Iron to the outer edge: the warning follows the sentence.
    TypeInto(w, "currentEdit1", "1");
    Click(w, "editorButton");
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{40, 5}, {49, 10}});
    Click(w, "runButton");
    QVERIFY2(Said(w).contains(". Iron touches the edge of the area"), qPrintable(Said(w)));
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

void ResultTest::probeAndClickReadOnePointTheResultKeepsItsGridUntilEditor() {
    Session s;
    MainWindow& w = s.w;
    const QImage& copied = s.services.clipboard.image;
    const QString& text = s.services.clipboard.text;
    PaintTestCoil(w);
    ChooseMaterial(w, 1);  // Iron, 8 mm under the coil
    DragOnPicture(w, Qt::LeftButton, {{10, 34}, {12, 38}});
    Click(w, "runButton");
    // A click on a body chooses it: its figures, and its outline on the picture.
    const QImage before = DrawingArea(w).Surface().Snapshot();
    ClickOnPicture(w, 11, 36);
    const QString iron = TextOf(w, "bodyFigures");
    QVERIFY(iron.startsWith("Iron") && Child<FiguresWindow>(w, "figuresWindow").isVisible());
    const QImage outlined = DrawingArea(w).Surface().Snapshot();
    QVERIFY(outlined != before);
    const QPoint middle(11 * 8, 36 * 8);                     // 8 pixels a cell
    QCOMPARE(outlined.pixel(middle), before.pixel(middle));  // an outline, not a fill
    // The iron is drawn up to the coil (F_z < 0), the coil down as hard.
    const double onIron = ValueAfter(iron, "F_z =", "N");
    Trigger(w, "copyFiguresAction");
    const double onCoil = ValueAfter(text, "F_z =", "N");
    QVERIFY2(onIron < 0 && std::fabs(onCoil / onIron + 1) < 0.03, qPrintable(iron + "\n" + text));
    QVERIFY(text.contains(iron.left(20)));
    ClickOnPicture(w, 30, 10);
    QVERIFY(TextOf(w, "bodyFigures").contains("Vacuum"));
    QVERIFY(!TextOf(w, "bodyFigures").contains("F_z"));
    QVERIFY(DrawingArea(w).Surface().Snapshot() == before);  // the outline removed exactly

    // The probe reads the node under the pointer.
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
    // The distribution windows, moved by the user, stay there.
    auto& rWindow = Child(w, "rDistributionWindow");
    QVERIFY(rWindow.isVisible() && Child(w, "zDistributionWindow").isVisible());
    rWindow.move(rWindow.pos() + QPoint(-30, 40));
    const QPoint moved = rWindow.pos();
    Click(w, "editorButton");
    Click(w, "resultButton");
    QCOMPARE(rWindow.pos(), moved);

    // A grid and area chosen: the result keeps its own. The same place reads the same node, the
    // cross-hair leaves no trace, the axis its label.
    const QPoint node = DrawingArea(w).ToWidget(5, 25);
    HoverAt(w, node);
    const QString b = TextOf(w, "fieldB"), r = TextOf(w, "radiusReadout");
    Trigger(w, "copyPictureAction");  // takes the cross-hair off
    const QImage result = copied;
    HoverAt(w, node);
    WithOptions(w, [](OptionsDialog& d) {
        Child<QComboBox>(d, "gridCombo").setCurrentIndex(1);  // 100x100
        TypeInto(d, "areaSizeEdit", "200");
        Click(d, "okButton");
    });
    HoverAt(w, node + QPoint(40, 40));
    HoverAt(w, node);
    QCOMPARE(TextOf(w, "fieldB") + TextOf(w, "radiusReadout"), b + r);
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
    Trigger(w, "copyPictureAction");
    QCOMPARE(copied, result);

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
    // Editor takes the new grid and area, and the map New Project keeps.
    Click(w, "editorButton");
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("200"));
    QCOMPARE(w.model().project.GridSize, 100);
    QCOMPARE(NodeMaterial(w, 22, 50), MaterialCode::Coil1);  // the coil, on the finer grid
}

void ResultTest::distributionWindowsBesideTheMainWindow() {
    // A column of two 300 x 220 frames, 4 pixels apart and from the main window's frame; by the
    // screen, where the Z window goes.
    const QSize graph(300, 220);
    const QRect main(100, 50, 800, 520);
    const std::pair<QRect, QPoint> cases[] = {
        {QRect(0, 0, 1600, 1000), QPoint(904, 50)},      // room on the right
        {QRect(-400, 0, 1400, 1000), QPoint(-204, 50)},  // room on the left only
        {QRect(0, 0, 1000, 1000), QPoint(700, 50)},      // no room: at the screen's edge
        {QRect(0, 0, 1000, 400), QPoint(700, 0)},        // too low: from the screen's top
    };
    for (const auto& [screen, z] : cases) {
        const DistributionPlaces places = PlaceBeside(main, graph, graph, screen);
        QCOMPARE(places.z, z);
        QCOMPARE(places.r, z + QPoint(0, 224));
    }
}

void ResultTest::openAndSaveEveryGridSizeBitForBitOrSayWhyNot() {
    QTemporaryDir dir;
    Session s;
    FakeDialogs& dialogs = s.services.dialogs;
    // A project with its field opened in the editing view: its figures, mirror images of equal
    // inductances and forces equal and opposite.
    s.w.openProject(kOpposingCoils);
    Trigger(s.w, "figuresAction");
    Click(Child<FiguresWindow>(s.w, "figuresWindow"), "figuresCopyButton");
    const QStringList lines = s.services.clipboard.text.split('\n');
    QVERIFY2(lines.size() >= 3 && lines[0].startsWith("Coil 1") && lines[1].startsWith("Coil 2"),
             qPrintable(s.services.clipboard.text));
    const double l1 = ValueAfter(lines[0], "L =", "H"), l2 = ValueAfter(lines[1], "L =", "H");
    const double f1 = ValueAfter(lines[0], "F_z =", "N"), f2 = ValueAfter(lines[1], "F_z =", "N");
    QVERIFY(l1 > 0 && std::fabs(l2 / l1 - 1) < 0.01);
    QVERIFY(f1 != 0 && std::fabs(f2 / f1 + 1) < 0.01);
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
    // A target whose folder is a file, a file cut short: the reasons reach the user, and the
    // project on show stays.
    const QImage before = DrawingArea(s.w).Surface().Snapshot();
    QFile cut(dir.filePath("cut.tvd"));
    QVERIFY(cut.open(QIODevice::WriteOnly) && cut.write(ReadAll(kOpposingCoils).left(5000)));
    cut.close();
    dialogs.fileAnswers = {dir.filePath("grid50.tvd/x.tvd"), cut.fileName()};
    Trigger(s.w, "saveProjectAction");
    Trigger(s.w, "openProjectAction");
    QCOMPARE(dialogs.messages.size(), std::size_t{2});
    QVERIFY(dialogs.messages[0].text.contains("grid50.tvd/x.tvd"));
    QVERIFY(dialogs.messages[1].text.startsWith("Invalid File Format\n"));
    QVERIFY(dialogs.messages[1].text.contains("the file is cut short"));
    QCOMPARE(DrawingArea(s.w).Surface().Snapshot(), before);
}

void ResultTest::openingWithAResultOnShowShowsTheOpenedResult() {
    QTemporaryDir dir;
    Session s(kSwitchesSection + "\nOptionConverge=0\n");  // the samples' fixed schedule
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

void ResultTest::picturesGraphsTableAndPaperOfEveryResult() {
    QTemporaryDir dir;
    Session s;
    MainWindow& w = s.w;
    FakeDialogs& dialogs = s.services.dialogs;
    // Nothing to export or print before a result.
    dialogs.fileAnswers = {dir.filePath("field.txt")};
    dialogs.printToPdf = dir.filePath("report.pdf");
    Trigger(w, "exportTextAction");
    Trigger(w, "printAction");
    QCOMPARE(dialogs.messages.size(), std::size_t{2});
    QCOMPARE(dialogs.messages[0].text, QString("Nothing to save"));
    QCOMPARE(dialogs.messages[1].text, QString("Nothing to print"));

    // Typed without a suffix: the type's suffix is added, for a project as for a picture, and
    // the picture's dialog offers the project's name as a picture.
    PaintTestCoil(w);
    dialogs.fileAnswers = {dir.filePath("coil"), dir.filePath("drawing")};
    Trigger(w, "saveProjectAction");
    Trigger(w, "savePictureAction");
    QCOMPARE(dialogs.dialogInitialNames.back(), dir.filePath("coil.png"));
    QVERIFY(QFile::exists(dir.filePath("coil.tvd")));
    QCOMPARE(ReadPng(dir.filePath("drawing.png")), DrawingArea(w).Surface().Snapshot());

    // RUN at 1 A, then at 3 A in a comma locale: the R graph through the probe's point and the
    // scale as the drawing code draws them for the field on show, with the locale's numbers.
    Click(w, "runButton");
    auto& rWindow = Child<DistributionWindow>(w, "rDistributionWindow");
    const QImageSurface& scale = Child<PictureBox>(w, "colorScale").Surface();
    HoverOverPicture(w, 20, 25);  // the graphs' point from now on
    auto graph = [&](QSize size, char separator) {
        return Drawn(Child<PictureBox>(rWindow, "graphArea").Surface(), size,
                     [&](QImageSurface& g) {
                         DrawDistributionGraph(w.model(), g, GraphAxis::R, 20, 25, separator);
                     });
    };
    const QImage first = rWindow.GraphImage();
    QCOMPARE(first, graph(first.size(), '.'));
    // The result's picture, the probe's cross-hair not in it: the same as tesvid-batch --png
    // draws of the same field.
    dialogs.fileAnswers = {dir.filePath("result.png")};
    Trigger(w, "savePictureAction");
    QVERIFY(!WriteResultPicture(w.model(), dir.filePath("batch.png").toStdString()));
    QCOMPARE(ReadPng(dir.filePath("result.png")), ReadPng(dir.filePath("batch.png")));
    // A file that cannot be written is named, and nothing is left of it.
    const QString bad = dir.filePath("coil.tvd/x.png");
    dialogs.fileAnswers = {bad};
    Trigger(w, "savePictureAction");
    QCOMPARE(dialogs.messages.size(), std::size_t{3});
    QVERIFY(dialogs.messages[2].text.contains(bad));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4);

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TypeInto(w, "currentEdit1", "3");
    Click(w, "runButton");
    QVERIFY(rWindow.GraphImage() != first);
    QCOMPARE(rWindow.GraphImage(), graph(first.size(), ','));
    QCOMPARE(scale.Image(), Drawn(scale, scale.Image().size(), [&](QImageSurface& c) {
                 DrawColorScale(c, FieldMaximum(w.model().field.B), ',');
             }));
    // A larger window gets the graph drawn anew at its size.
    rWindow.resize(460, 300);
    QTRY_COMPARE(rWindow.GraphImage().size(), QSize(460, 300));
    QCOMPARE(rWindow.GraphImage(), graph({460, 300}, ','));

    // The table: a heading and one line per inner node, items in zones of 14 columns.
    dialogs.fileAnswers = {dir.filePath("field.txt")};
    Trigger(w, "exportTextAction");
    const QByteArray table = ReadAll(dir.filePath("field.txt"));
    QCOMPARE(table.count("\r\n"), 1 + 49 * 49);
    QCOMPARE(table.indexOf("Bz, Tesla"), 42);

    // Print: the colours that cover most of the map on screen (the ramp's, not grey) are on the
    // colour report's page, and none on the line report's. The report's numbers have commas, the
    // powers as the panel has them.
    std::map<QRgb, int> onScreen;
    const std::uint32_t* screen = DrawingArea(w).Surface().Pixels();
    std::for_each(screen, screen + 400 * 400, [&](QRgb p) { ++onScreen[p]; });
    for (bool colour : {false, true}) {
        WithOptions(w, [&](OptionsDialog& d) {
            Child<QCheckBox>(d, "colorReportCheck").setChecked(colour);
            Click(d, "okButton");
        });
        const QString base = dir.filePath(colour ? "colour" : "lines");
        dialogs.printToPdf = base + ".pdf";
        Trigger(w, "printAction");
        // pdftoppm and pdftotext: poppler-utils, installed by tools/install-deps.
        QVERIFY(QProcess::execute("pdftoppm",
                                  {"-r", "72", "-png", "-singlefile", base + ".pdf", base}) == 0);
        const QImage page = QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
        const auto* bits = reinterpret_cast<const QRgb*>(page.constBits());
        const std::set<QRgb> onPage(bits, bits + page.width() * page.height());
        int checked = 0;
        for (const auto& [rgb, n] : onScreen) {
            if (n >= 500 && (qRed(rgb) != qGreen(rgb) || qGreen(rgb) != qBlue(rgb))) {
                QCOMPARE(onPage.count(rgb), std::size_t{colour});
                ++checked;
            }
        }
        QVERIFY(checked >= 3);
    }
    const QString power = TextOf(w, "powerBox1");
    QVERIFY2(power.contains(',') && QString(power).remove(',').size() <= 4, qPrintable(power));
    QProcess convert;
    convert.start("pdftotext", {dialogs.printToPdf, "-"});
    QVERIFY(convert.waitForFinished());
    const QString report = QString::fromUtf8(convert.readAllStandardOutput());
    QVERIFY2(report.contains(power + " W") && report.contains("Bmax= 1,5 Tesla"),
             qPrintable(report));
    // A printer that cannot start says so.
    dialogs.printToPdf = dir.filePath("no/such/folder/report.pdf");
    Trigger(w, "printAction");
    QCOMPARE(dialogs.messages.size(), std::size_t{4});
    QVERIFY(dialogs.messages[3].text.contains("could not be printed"));
    w.close();  // the report's choice is kept
    QVERIFY(s.services.ReadSettingsFile().contains("CheckColorReport=1"));
}

QTEST_MAIN(ResultTest)
#include "result_test.moc"
