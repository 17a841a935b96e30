// RUN from the window: a painted coil calculated to its field, Stop and closing during a run,
// the commands a run ignores, a refused run, and the coil panel.

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
#include "platform/float_progress_bar.h"
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
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this] {
            ++count_;
            auto it = actions_.find(count_);
            if (it != actions_.end()) {
                it->second();
            }
        });
        timer_.start();
    }
    void At(int yield, std::function<void()> action) { actions_[yield] = std::move(action); }
    int Count() const { return count_; }

  private:
    QTimer timer_;
    int count_ = 0;
    std::map<int, std::function<void()>> actions_;
};

void TypeInto(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// The specified test coil: 50 grid over 100 mm, Coil 1 at i 10..12, j 20..30, 1 A through
// 1 mm wire (1e6 A/m2).
void PaintTestCoil(MainWindow& w) {
    DragOnPicture(w, Qt::LeftButton, {{10, 20}, {30, 45}, {12, 30}});
    TypeInto(w.TextCurrent1, "1");
}

}  // namespace

class CalculationTest : public QObject {
    Q_OBJECT
  private slots:
    void paintedCoilRunsToTheSpecifiedField();
    void stopDuringARunEndsItAndOtherCommandsWait();
    void closingDuringARunStopsItThenCloses();
    void refusedRunChangesNothing();
    void runFromTheResultViewReadsTheMaterials();
    void coilPanelShowsTurnsDensityAndPower();
    void slidersSetTheCurrentTexts();
};

void CalculationTest::paintedCoilRunsToTheSpecifiedField() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    ClickButton(w.Finish);

    const Model& m = w.model();
    QVERIFY(services.dialogs.messages.empty());
    QCOMPARE(m.project.CurrentDensity1, 1e6);
    QCOMPARE(m.project.Current1, 1.0);
    QCOMPARE(w.TextVit1->text(), QString("132"));
    QCOMPARE(w.TextCurDens1->text(), QString("1"));
    QCOMPARE(m.arrays.Material(10, 20), MaterialCode::Coil1);
    QCOMPARE(m.arrays.Material(12, 30), MaterialCode::Coil1);
    QCOMPARE(m.arrays.Material(13, 30), MaterialCode::Vacuum);
    QCOMPARE(m.arrays.Material(12, 31), MaterialCode::Vacuum);
    const double bz = m.field.Bz(1, 25);
    qInfo("FieldBz(1, 25) = %.6g T", bz);
    QVERIFY2(bz < -3.25e-3 && bz > -3.5e-3, qPrintable(QString::number(bz)));
    QVERIFY(std::fabs(m.field.Br(5, 25)) < 0.05 * std::fabs(bz));
    // The result view, no cross-hair, the cursors back, both bars done.
    QVERIFY(!m.EditorMode);
    QCOMPARE(w.Pointer().LastX, -1.0f);
    QCOMPARE(w.Pointer().LastY, -1.0f);
    QCOMPARE(w.Picture1->cursor().shape(), Qt::CrossCursor);
    QVERIFY(w.cursor().shape() != Qt::WaitCursor);
    QVERIFY(!w.Calculating());
    QCOMPARE(w.ProgressProgress->Maximum(), 14.0);
    QCOMPARE(m.PassNo, 14);
    // The force lines drawn last leave the bar at (N - 2) / N of its range.
    QVERIFY(std::fabs(w.ProgressProgress->Value() - 14.0 * 48 / 50) < 1e-4);
}

void CalculationTest::stopDuringARunEndsItAndOtherCommandsWait() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    // Without force lines, whose drawing clears the Stop flag, the flag shows how the run ended.
    ClickButton(w.CheckDrawForceLines);
    QVERIFY(!w.CheckDrawForceLines->isChecked());

    DuringRun run;
    bool wasBusy = false, editorKept = false, dialogShown = false;
    QString readOut;
    Qt::CursorShape busyCursor = Qt::ArrowCursor, frameCursor = Qt::WaitCursor;
    run.At(3, [&] {
        wasBusy = w.Calculating();
        busyCursor = w.Picture1->cursor().shape();
        frameCursor = w.Frame8->cursor().shape();
        // The commands that would rebuild or replace what the solver works on wait.
        ClickButton(w.Command1);
        ClickButton(w.CommandResult);
        ClickButton(w.Finish);
        w.mnuFileNew->trigger();
        w.mnuOptions->trigger();
        dialogShown = w.frmOptions().isVisible();
        editorKept = w.model().EditorMode;
        // The pointer read-out keeps working.
        HoverOverPicture(w, 20, 30);
        readOut = w.CoR->text() + "," + w.CoZ->text();
    });
    // Painting goes on in the editing view; the running calculation does not see it.
    bool paintedDuringRun = false;
    run.At(4, [&] {
        DragOnPicture(w, Qt::LeftButton, {{40, 40}, {42, 42}});
        paintedDuringRun = NodeMaterial(w, 41, 41) == MaterialCode::Coil1;
    });
    run.At(6, [&] { ClickButton(w.CommandStop); });
    ClickButton(w.Finish);

    QVERIFY(run.Count() > 6);
    QVERIFY(wasBusy);
    QVERIFY(editorKept);
    QVERIFY(!dialogShown);
    QCOMPARE(busyCursor, Qt::WaitCursor);
    QCOMPARE(frameCursor, Qt::ArrowCursor);
    QCOMPARE(readOut, QString("40,60"));
    QVERIFY(paintedDuringRun);
    QCOMPARE(w.model().arrays.Material(41, 41), MaterialCode::Vacuum);
    // Stopped early: the flag stays set, the last two passes still ran and updated the bars,
    // and the field is far from the converged one.
    const Model& m = w.model();
    QVERIFY(m.StopRequested);
    QCOMPARE(m.PassNo, 14);
    QCOMPARE(w.ProgressProgress->Value(), w.ProgressProgress->Maximum());
    QVERIFY(std::fabs(m.field.Bz(1, 25)) < 0.5 * 3.37e-3);
    QVERIFY(!m.EditorMode);
    QVERIFY(services.dialogs.messages.empty());
    // New Project was ignored: the drawing the calculation read is the one painted.
    QCOMPARE(m.arrays.Material(11, 25), MaterialCode::Coil1);

    // The next RUN clears the flag and runs in full.
    ClickButton(w.Command1);
    ClickButton(w.Finish);
    QVERIFY(!w.model().StopRequested);
    QVERIFY(w.model().field.Bz(1, 25) < -3.25e-3);
}

void CalculationTest::closingDuringARunStopsItThenCloses() {
    TestServices services;
    auto* w = new MainWindow(services.Services());
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    PaintTestCoil(*w);
    ClickButton(w->CheckDrawForceLines);
    QSignalSpy closed(w, &MainWindow::closed);
    DuringRun run;
    bool stillOpen = false;
    run.At(5, [&] {
        w->close();
        stillOpen = w->isVisible();
    });
    ClickButton(w->Finish);
    QVERIFY(stillOpen);  // not closed under the running calculation
    QVERIFY(w->model().StopRequested);
    QVERIFY(!w->isVisible());
    QCOMPARE(closed.count(), 1);
    // The settings were written on the way out.
    const QByteArray ini = services.settings.ReadRawFile();
    QVERIFY(ini.contains("TextRjac1=0.9995"));
    QVERIFY(ini.contains("[Grid]"));
    delete w;
}

void CalculationTest::refusedRunChangesNothing() {
    TestServices services;
    services.settings.WriteRawFile("[Steel]\nTextSteelMaxB=-1\n");
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{20, 20}, {25, 30}});
    const QImage before = w.Picture1->Surface().Snapshot();
    ClickButton(w.Finish);
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(services.dialogs.messages[0].title, QString("Tesvid"));
    QVERIFY(!services.dialogs.messages[0].text.isEmpty());
    const Model& m = w.model();
    QVERIFY(m.EditorMode);
    QCOMPARE(m.arrays.Material(22, 25), MaterialCode::Vacuum);  // the map was not rebuilt
    QCOMPARE(w.TextCurrent1->text(), QString("10"));     // Misc did not run
    QCOMPARE(w.TextVit1->text(), QString("0"));
    QCOMPARE(m.project.CurrentDensity1, 0.0);
    QCOMPARE(w.Picture1->Surface().Snapshot(), before);
    QVERIFY(!w.Calculating());
}

void CalculationTest::runFromTheResultViewReadsTheMaterials() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintTestCoil(w);
    ClickButton(w.Finish);
    QVERIFY(!w.model().EditorMode);
    // Whatever the result view shows (here: iron-black everywhere), RUN reads the materials.
    w.Picture1->Surface().FilledBox(0, 0, 50, 50, MaterialColor(MaterialCode::Iron));
    ClickButton(w.Finish);
    QVERIFY(services.dialogs.messages.empty());
    QCOMPARE(w.model().arrays.Material(11, 25), MaterialCode::Coil1);
    QCOMPARE(w.model().arrays.Material(30, 30), MaterialCode::Vacuum);
    QCOMPARE(NodeMaterial(w, 30, 30), MaterialCode::Vacuum);
    QVERIFY(w.model().field.Bz(1, 25) < -3.25e-3);
}

void CalculationTest::coilPanelShowsTurnsDensityAndPower() {
    TestServices services;
    services.settings.WriteRawFile("[Grid]\nComboGrid=1\nTextAreaSize=100\n");
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.model().project.GridSize, 100);
    QCOMPARE(w.model().project.GridStep, 0.001);
    DragOnPicture(w, Qt::LeftButton, {{50, 20}, {59, 29}});
    QCOMPARE(NodesOf(w, MaterialCode::Coil1).size(), std::size_t{100});
    ClickButton(w.Finish);
    QCOMPARE(w.TextVit1->text(), QString("100"));
    QCOMPARE(w.TextCurDens1->text(), QString("10"));
    const double power = ToNumber(w.TextPower1->text());
    QVERIFY2(std::fabs(power - 59.8955) < 0.01, qPrintable(w.TextPower1->text()));
    QCOMPARE(w.model().project.CurrentDensity1, 1e7);
    // Coil 2 is not on the drawing.
    QCOMPARE(w.TextCurrent2->text(), QString("0"));
    QCOMPARE(w.TextVit2->text(), QString("0"));
    QCOMPARE(w.TextCurDens2->text(), QString("0"));
    QCOMPARE(w.TextPower2->text(), QString("0"));
    QCOMPARE(w.model().project.CurrentDensity2, 0.0);

    // A current typed with a decimal comma; Misc on its own reads the drawing area.
    ClickButton(w.Command1);
    TypeInto(w.TextCurrent1, "2,5");
    w.Misc();
    QCOMPARE(w.model().project.Current1, 2.5);
    QCOMPARE(w.TextCurDens1->text(), QString("2.5"));
    // Coil nodes on the border only count as no coil.
    w.mnuFileNew->trigger();
    DragOnPicture(w, Qt::LeftButton, {{0, 10}, {0, 20}});
    QCOMPARE(NodeMaterial(w, 0, 15), MaterialCode::Coil1);
    w.Misc();
    QCOMPARE(w.TextCurrent1->text(), QString("0"));
    QCOMPARE(w.model().project.CurrentDensity1, 0.0);
}

void CalculationTest::slidersSetTheCurrentTexts() {
    TestServices services;
    services.settings.WriteRawFile("[Coils]\nTextMaxTok2=4\n");
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.Slider1->setValue(37);
    QCOMPARE(w.TextCurrent1->text(), QString("3.7"));
    w.Slider1->setValue(0);
    QCOMPARE(w.TextCurrent1->text(), QString("0"));
    QCOMPARE(w.TextCurrent2->text(), QString("10"));  // untouched until its slider moves
    // The keys move the handle the way they point: up towards 0.
    w.Slider2->setFocus();
    QTest::keyClick(w.Slider2, Qt::Key_Up);
    QCOMPARE(w.Slider2->value(), 99);
    QCOMPARE(w.TextCurrent2->text(), QString("3.96"));
    QTest::keyClick(w.Slider2, Qt::Key_PageUp);
    QCOMPARE(w.Slider2->value(), 89);
    QCOMPARE(w.TextCurrent2->text(), QString("3.56"));
    // Nothing else follows the slider.
    QCOMPARE(w.model().project.Current2, 0.0);
    QCOMPARE(w.TextVit2->text(), QString("0"));
}

QTEST_MAIN(CalculationTest)
#include "calculation_test.moc"
