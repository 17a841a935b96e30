// RUN from the window: a painted coil calculated to its field, Stop and closing during a run,
// a refused run, the coil panel, and the probe over the result.

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "app/support/window_driver.h"
#include "options/options_dialog.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

// Runs actions from inside a calculation: a zero-interval timer fires once per event-loop
// yield of the solver, and the action registered for the n-th firing runs then.
class DuringRun : public QObject {
  public:
    DuringRun() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto it = actions_.find(++count_); it != actions_.end()) {
                it->second();
            }
        });
        timer_.start(0);
    }
    void At(int yield, std::function<void()> action) { actions_[yield] = std::move(action); }

  private:
    QTimer timer_;
    int count_ = 0;
    std::map<int, std::function<void()>> actions_;
};

// The field on the axis in the middle of the test coil, T: about -3.4e-3 when converged.
float AxialField(const MainWindow& w) {
    return w.model().field.Bz(1, 25);
}

}  // namespace

class CalculationTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void paintedCoilRunsToItsField();
    void stopEndsARunAndOtherCommandsWait();
    void closingDuringARunStopsItThenCloses();
    void refusedRunChangesNothing();
    void coilPanelAndSlidersAgree();
    void probeReadsOnePointInTheLocalesNumbers();
    void resultKeepsItsGridUntilRun();
    void newProjectInTheResultViewLeavesNoCrossHair();
};

void CalculationTest::paintedCoilRunsToItsField() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    Click(w, "runButton");
    QVERIFY(services.dialogs.messages.empty());
    QVERIFY(w.resultOnShow());
    QVERIFY(!w.isBusy());
    QCOMPARE(DrawingArea(w).cursor().shape(), Qt::CrossCursor);
    // 33 nodes of 2 mm x 2 mm hold 132 turns of 1 mm wire; 1 A over 1 mm2 is 1 A/mm2.
    QCOMPARE(TextOf(w, "turnsBox1"), QString("132"));
    QCOMPARE(TextOf(w, "densityBox1"), QString("1"));
    QVERIFY2(AxialField(w) < -3.25e-3 && AxialField(w) > -3.5e-3,
             qPrintable(QString::number(AxialField(w))));
    // Radial symmetry about the coil's middle row.
    QVERIFY(std::fabs(w.model().field.Br(5, 25)) < 0.05 * std::fabs(AxialField(w)));
}

void CalculationTest::stopEndsARunAndOtherCommandsWait() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    DuringRun run;
    bool busy = false, dialogShown = false, viewKept = false, painted = false;
    QString readOut;
    Qt::CursorShape areaCursor = Qt::ArrowCursor, viewCursor = Qt::WaitCursor;
    run.At(3, [&] {
        busy = w.isBusy();
        areaCursor = DrawingArea(w).cursor().shape();
        viewCursor = Child(w, "viewGroup").cursor().shape();
        // The commands that would rebuild or replace what the solver works on wait.
        for (const char* button : {"editorButton", "resultButton", "runButton"}) {
            Click(w, button);
        }
        for (const char* action : {"newProjectAction", "optionsAction", "openProjectAction"}) {
            Trigger(w, action);
        }
        dialogShown = Child(w, "optionsDialog").isVisible() || !services.dialogs.dialogTitles.empty();
        viewKept = !w.resultOnShow();
        HoverOverPicture(w, 20, 30);  // the read-out keeps working
        readOut = TextOf(w, "radiusReadout") + "," + TextOf(w, "axialReadout");
    });
    // Painting goes on; the running calculation does not see it.
    run.At(4, [&] {
        DragOnPicture(w, Qt::LeftButton, {{40, 40}, {42, 42}});
        painted = NodeMaterial(w, 41, 41) == MaterialCode::Coil1;
    });
    run.At(6, [&] { Click(w, "stopButton"); });
    Click(w, "runButton");
    QVERIFY(busy && viewKept && painted && !dialogShown);
    QCOMPARE(areaCursor, Qt::WaitCursor);
    QCOMPARE(viewCursor, Qt::ArrowCursor);
    QCOMPARE(readOut, QString("40,60"));
    QCOMPARE(w.model().arrays.Material(41, 41), MaterialCode::Vacuum);
    QCOMPARE(w.model().arrays.Material(11, 25), MaterialCode::Coil1);  // New was ignored
    // Stopped early, far from the converged field; the next RUN runs in full.
    QVERIFY(w.resultOnShow());
    QVERIFY(std::fabs(AxialField(w)) < 0.5 * 3.37e-3);
    Click(w, "runButton");
    QVERIFY(AxialField(w) < -3.25e-3);
}

void CalculationTest::closingDuringARunStopsItThenCloses() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    QSignalSpy closed(&w, &MainWindow::closed);
    DuringRun run;
    bool stillOpen = false;
    run.At(5, [&] {
        w.close();
        stillOpen = w.isVisible();
    });
    Click(w, "runButton");
    QVERIFY(stillOpen);  // not closed under the running calculation
    QVERIFY(!w.isVisible());
    QCOMPARE(closed.count(), 1);
    QVERIFY(std::fabs(AxialField(w)) < 0.5 * 3.37e-3);
    QVERIFY(services.settings.ReadRawFile().contains("TextRjac1=0.9995"));
}

void CalculationTest::refusedRunChangesNothing() {
    TestServices services;
    services.settings.WriteRawFile("[Steel]\nTextSteelMaxB=-1\n");
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{20, 20}, {25, 30}});
    const QImage before = DrawingArea(w).Surface().Snapshot();
    Click(w, "runButton");
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(services.dialogs.messages[0].title, QString("Tesvid"));
    QVERIFY(!w.resultOnShow());
    QCOMPARE(w.model().arrays.Material(22, 25), MaterialCode::Vacuum);  // no map was built
    QCOMPARE(w.model().project.CurrentDensity1, 0.0);
    QCOMPARE(TextOf(w, "turnsBox1"), QString("0"));
    QCOMPARE(DrawingArea(w).Surface().Snapshot(), before);
}

void CalculationTest::coilPanelAndSlidersAgree() {
    TestServices services;
    services.settings.WriteRawFile("[Grid]\nComboGrid=1\n");
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    DragOnPicture(w, Qt::LeftButton, {{50, 20}, {59, 29}});
    Click(w, "runButton");
    // 100 nodes of 1 mm2: 100 turns of 1 mm wire; 10 A over 1 mm2. Power: 1.75e-8 ohm m times
    // (1e7 A/m2)^2 times the rings' volume, 1e-9 m3 x 6.28 x 10 x (50 + ... + 59) = 59.8955 W,
    // shown to 4 significant digits.
    QCOMPARE(TextOf(w, "turnsBox1"), QString("100"));
    QCOMPARE(TextOf(w, "densityBox1"), QString("10"));
    QCOMPARE(TextOf(w, "powerBox1"), QString("59.9"));
    // Coil 2 is not on the drawing: no current, and its slider says so.
    QCOMPARE(TextOf(w, "currentEdit2"), QString("0"));
    QCOMPARE(Child<QSlider>(w, "currentSlider2").value(), 0);

    auto& slider = Child<QSlider>(w, "currentSlider1");
    slider.setValue(37);
    QCOMPARE(TextOf(w, "currentEdit1"), QString("3.7"));
    TypeInto(Child<QLineEdit>(w, "currentEdit1"), "2,5");
    QCOMPARE(slider.value(), 25);
    // A new full scale moves the slider to the current the box keeps.
    WithOptions(w, [](OptionsDialog& d) {
        TypeInto(OptionsEdit(d, "maxCurrent1Edit"), "20");
        Click(d, "okButton");
    });
    QCOMPARE(TextOf(w, "currentEdit1"), QString("2,5"));
    QCOMPARE(slider.value(), 12);  // 12.5 % of 20 A, to the even position
}

void CalculationTest::probeReadsOnePointInTheLocalesNumbers() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    Click(w, "runButton");
    HoverOverPicture(w, 5, 25);
    const double gauss = w.model().field.B(5, 25) * 10000.0;
    QVERIFY(std::fabs(ToNumber(TextOf(w, "fieldB")) - gauss) <= 0.05);
    Trigger(w, "copyScaleAction");
    const QImage pointScale = services.clipboard.image;
    Trigger(w, "copyRAction");
    const QImage pointGraph = services.clipboard.image;
    // Held at (5, 25): the read-out, B and the coordinates alike, stays there.
    QTest::mouseClick(&DrawingArea(w), Qt::LeftButton, {}, DrawingArea(w).ToWidget(5, 25));
    const QString held = TextOf(w, "fieldB");
    HoverOverPicture(w, 30, 10);
    QCOMPARE(TextOf(w, "fieldB"), held);
    QCOMPARE(TextOf(w, "radiusReadout"), QString("10"));
    QCOMPARE(TextOf(w, "axialReadout"), QString("50"));
    QTest::mouseClick(&DrawingArea(w), Qt::LeftButton, {}, DrawingArea(w).ToWidget(30, 10));
    HoverOverPicture(w, 30, 10);
    QCOMPARE(TextOf(w, "radiusReadout"), QString("60"));

    // A comma locale: every number shown has its comma.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Click(w, "resultButton");
    HoverOverPicture(w, 5, 25);
    QVERIFY2(TextOf(w, "fieldB").contains(',') && !TextOf(w, "fieldB").contains('.'),
             qPrintable(TextOf(w, "fieldB")));
    Trigger(w, "copyScaleAction");
    QVERIFY(services.clipboard.image != pointScale);
    Trigger(w, "copyRAction");
    QVERIFY(services.clipboard.image != pointGraph);
}

void CalculationTest::resultKeepsItsGridUntilRun() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    Click(w, "runButton");
    const QPoint node = DrawingArea(w).ToWidget(5, 25);
    HoverAt(w, node);
    const QString b = TextOf(w, "fieldB"), r = TextOf(w, "radiusReadout");
    Trigger(w, "copyPictureAction");  // takes the cross-hair off
    const QImage result = services.clipboard.image;
    HoverAt(w, node);
    WithOptions(w, [](OptionsDialog& d) {
        Child<QComboBox>(d, "gridCombo").setCurrentIndex(1);  // 100x100
        TypeInto(OptionsEdit(d, "areaSizeEdit"), "200");
        Click(d, "okButton");
    });
    // The same place reads the same node; the cross-hair leaves no trace; the axis keeps
    // its label.
    HoverAt(w, node + QPoint(40, 40));
    HoverAt(w, node);
    QCOMPARE(TextOf(w, "fieldB"), b);
    QCOMPARE(TextOf(w, "radiusReadout"), r);
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
    Trigger(w, "copyPictureAction");
    QCOMPARE(services.clipboard.image, result);
    // Editor takes the new grid and area.
    Click(w, "editorButton");
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("200"));
    QCOMPARE(w.model().project.GridSize, 100);
    QCOMPARE(NodeMaterial(w, 22, 50), MaterialCode::Coil1);  // the coil, twice as fine
}

void CalculationTest::newProjectInTheResultViewLeavesNoCrossHair() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Click(w, "resultButton");  // the field of a zero potential
    HoverOverPicture(w, 20, 20);
    Trigger(w, "newProjectAction");
    HoverOverPicture(w, 30, 30);
    const QImageSurface& area = DrawingArea(w).Surface();
    QCOMPARE(area.ReadPoint(10, 20), std::optional<Rgb>(MaterialColor(MaterialCode::Vacuum)));
    QVERIFY(area.ReadPoint(10, 30) != std::optional<Rgb>(MaterialColor(MaterialCode::Vacuum)));
}

QTEST_MAIN(CalculationTest)
#include "calculation_test.moc"
