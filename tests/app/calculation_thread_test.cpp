// RUN on its worker thread: the window answers while the calculation runs, with the commands
// that would change its model switched off; Stop and closing end it; the outcome in words on
// the status line; a diverged run keeps the result on show; the options' choice of schedule.

#include <QAction>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "app/support/window_driver.h"
#include "platform/float_progress_bar.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

// A pot core on the 200 grid, calculated to the smallest tolerance: long enough a run to
// watch (about a second here), though nothing waits for its end but Stop or a close.
const QString kPotCore = QStringLiteral(TESVID_SOURCE_DIR "/samples/pot_core_electromagnet.tvd");
const QByteArray kTight = "[frm" "Options]\nTextTolerance=1E-12\n";  // the stored section

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

}  // namespace

class CalculationThreadTest : public QObject {
    Q_OBJECT
  private slots:
    void theWindowAnswersWhileItRunsStopAndClosingEndIt();
    void theOutcomeInWordsAndADivergedRunKeepsTheResult();
    void theScheduleIsKeptAndUnusableTolerancesAreRefused();
};

void CalculationThreadTest::theWindowAnswersWhileItRunsStopAndClosingEndIt() {
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

void CalculationThreadTest::theOutcomeInWordsAndADivergedRunKeepsTheResult() {
    Session s;
    MainWindow& w = s.w;
    PaintTestCoil(w);
    Click(w, "runButton");
    QVERIFY2(Said(w).startsWith("Converged after ") && !Said(w).contains("edge"),
             qPrintable(Said(w)));
    const auto& bar = Child<FloatProgressBar>(w, "progressBar");
    QCOMPARE(bar.Value(), bar.Maximum());

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

void CalculationThreadTest::theScheduleIsKeptAndUnusableTolerancesAreRefused() {
    const struct {
        const char* text;
        QString message;
    } refused[] = {{"0", "The tolerance 0 must be a positive number."},
                   {"1e-13", "The tolerance 1e-13 is below 1e-12"},
                   {"2", "The tolerance 2 is above 1"}};
    TestServices services;
    {
        MainWindow w(services.Services());
        WithOptions(w, [&](OptionsDialog& d) {
            // First start: until converged, with the default tolerance.
            QVERIFY(Child<QRadioButton>(d, "convergeOption").isChecked());
            QCOMPARE(TextOf(d, "toleranceEdit"), QString("1E-05"));
            for (const auto& c : refused) {
                services.dialogs.messages.clear();
                TypeInto(d, "toleranceEdit", c.text);
                Click(d, "okButton");
                QVERIFY2(d.isVisible() && services.dialogs.messages.size() == 1, c.text);
                QVERIFY2(services.dialogs.messages[0].text.startsWith(c.message),
                         qPrintable(services.dialogs.messages[0].text));
                QCOMPARE(d.focusWidget()->objectName(), QString("toleranceEdit"));
            }
            TypeInto(d, "toleranceEdit", "0,001");
            Click(d, "fixedOption");
            Click(d, "okButton");
            QVERIFY(!d.isVisible());
        });
        w.close();
    }
    const QByteArray ini = services.ReadSettingsFile();
    QVERIFY2(ini.contains("OptionConverge=0") && ini.contains("TextTolerance=0.001"), ini);

    // The next session calculates the fixed schedule: 10 main passes and 4 more.
    MainWindow again(services.Services());
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    PaintTestCoil(again);
    Click(again, "runButton");
    QCOMPARE(Child<FloatProgressBar>(again, "progressBar").Maximum(), 14.0);
    WithOptions(again, [](OptionsDialog& d) {
        QVERIFY(Child<QRadioButton>(d, "fixedOption").isChecked());
        QVERIFY(!Child(d, "toleranceEdit").isEnabled());
        QCOMPARE(TextOf(d, "toleranceEdit"), QString("0.001"));
    });
}

QTEST_MAIN(CalculationThreadTest)
#include "calculation_thread_test.moc"
