// The engineering figures in the window: the Figures window after RUN and after opening a
// project with its field, a body chosen by a click in the result view, the flux at the probe,
// Copy, and no figures before a calculation.

#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>
#include <cmath>

#include "app/figures_window.h"
#include "app/support/window_driver.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

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

QString Table(MainWindow& w) {
    return TextOf(w, "figuresTable");
}

}  // namespace

class FiguresWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void noFiguresBeforeACalculation();
    void runListsInductanceAndEnergyOfOneField();
    void clickedBodyShowsItsForceAndOutlineVacuumANote();
    void probeFluxIsTheIntegralOfBz();
    void openedProjectGivesEqualOppositeForcesOnCopy();
};

void FiguresWindowTest::noFiguresBeforeACalculation() {
    Session s;
    PaintTestCoil(s.w);
    Trigger(s.w, "figuresAction");
    QVERIFY(Child<FiguresWindow>(s.w, "figuresWindow").isVisible());
    QVERIFY2(Table(s.w).contains("no calculated field"), qPrintable(Table(s.w)));
    Trigger(s.w, "copyFiguresAction");
    QVERIFY(s.services.clipboard.text.contains("press RUN"));
    QVERIFY(!s.services.clipboard.text.contains(QRegularExpression("[0-9]")));
}

void FiguresWindowTest::runListsInductanceAndEnergyOfOneField() {
    Session s;
    PaintTestCoil(s.w);
    Click(s.w, "runButton");
    Trigger(s.w, "figuresAction");
    Trigger(s.w, "copyFiguresAction");
    const QString text = s.services.clipboard.text;
    const double inductance = ValueAfter(text, "L =", "H");
    const double energy = ValueAfter(text, "W =", "J");
    // One coil in air at 1 A: W = L I^2 / 2, each to three digits.
    QVERIFY2(inductance > 0 && std::fabs(energy / (inductance / 2) - 1) < 0.01, qPrintable(text));
    // The window lists the same numbers, with their units.
    for (const char* figure : {"L = ", "W = "}) {
        const int at = text.indexOf(figure) + 4;
        const QString shown = text.mid(at, text.indexOf(QRegularExpression("[HJ]"), at) + 1 - at);
        QVERIFY2(Table(s.w).contains(shown), qPrintable(shown + " not in " + Table(s.w)));
    }
}

void FiguresWindowTest::clickedBodyShowsItsForceAndOutlineVacuumANote() {
    Session s;
    MainWindow& w = s.w;
    PaintTestCoil(w);
    ChooseMaterial(w, 1);  // Iron, 8 mm under the coil
    DragOnPicture(w, Qt::LeftButton, {{10, 34}, {12, 38}});
    Click(w, "runButton");
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
    const double onCoil = ValueAfter(s.services.clipboard.text, "F_z =", "N");
    QVERIFY2(onIron < 0 && std::fabs(onCoil / onIron + 1) < 0.03,
             qPrintable(iron + "\n" + s.services.clipboard.text));
    QVERIFY(s.services.clipboard.text.contains(iron.left(20)));

    ClickOnPicture(w, 30, 10);
    QVERIFY(TextOf(w, "bodyFigures").contains("Vacuum"));
    QVERIFY(!TextOf(w, "bodyFigures").contains("F_z"));
    QVERIFY(DrawingArea(w).Surface().Snapshot() == before);  // the outline removed exactly
}

void FiguresWindowTest::probeFluxIsTheIntegralOfBz() {
    Session s;
    MainWindow& w = s.w;
    PaintTestCoil(w);
    Click(w, "runButton");
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
}

void FiguresWindowTest::openedProjectGivesEqualOppositeForcesOnCopy() {
    Session s;
    s.services.dialogs.fileAnswers = {
        QStringLiteral(TESVID_SOURCE_DIR "/samples/opposing_coils.tvd")};
    Trigger(s.w, "openProjectAction");
    Trigger(s.w, "figuresAction");
    Click(Child<FiguresWindow>(s.w, "figuresWindow"), "figuresCopyButton");
    const QStringList lines = s.services.clipboard.text.split('\n');
    QVERIFY2(lines.size() >= 3 && lines[0].startsWith("Coil 1") && lines[1].startsWith("Coil 2"),
             qPrintable(s.services.clipboard.text));
    // Mirror images: equal inductances, forces equal and opposite.
    const double l1 = ValueAfter(lines[0], "L =", "H"), l2 = ValueAfter(lines[1], "L =", "H");
    const double f1 = ValueAfter(lines[0], "F_z =", "N"), f2 = ValueAfter(lines[1], "F_z =", "N");
    QVERIFY(l1 > 0 && std::fabs(l2 / l1 - 1) < 0.01);
    QVERIFY(f1 != 0 && std::fabs(f2 / f1 + 1) < 0.01);
}

QTEST_MAIN(FiguresWindowTest)
#include "figures_window_test.moc"
