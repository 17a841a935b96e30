// The coil panel: the current sliders and boxes, and the turns, current densities and powers
// that follow from the coil nodes of a material map.

#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "app/main_window.h"
#include "model/number_format.h"
#include "platform/number_text.h"

namespace tesvid {

namespace {

// Significant digits of the power boxes: enough to compare two windings, short enough for
// the box.
constexpr int kPowerDigits = 4;

double FullScale(const Project& p, int coil) {
    return coil == 0 ? p.SliderFullScale1 : p.SliderFullScale2;
}

}  // namespace

void MainWindow::onSliderMoved(int coil) {
    const CoilColumn& column = coils_[static_cast<std::size_t>(coil)];
    column.current->setText(
        GeneralQText(column.slider->value() * FullScale(model_.project, coil) / 100));
}

void MainWindow::onCurrentEdited(int coil) {
    moveSliderToCurrent(coil);
}

void MainWindow::moveSliderToCurrent(int coil) {
    const CoilColumn& column = coils_[static_cast<std::size_t>(coil)];
    const double position =
        ToNumber(column.current->text()) / FullScale(model_.project, coil) * 100;
    const QSignalBlocker keepTheTypedText(column.slider);
    column.slider->setValue(std::isfinite(position)
                                ? static_cast<int>(std::clamp(RoundHalfEven(position), 0.0, 100.0))
                                : 0);
}

CoilInputs MainWindow::coilInputs(const Project& project) const {
    return CoilInputs{project.GridStep, ToNumber(coils_[0].current->text()),
                      ToNumber(coils_[1].current->text()), project.WireDiameter1,
                      project.WireDiameter2};
}

void MainWindow::takeCoilCurrents(const CoilFigures& coil1, const CoilFigures& coil2) {
    model_.project.Current1 = coil1.current;
    model_.project.Current2 = coil2.current;
    model_.project.CurrentDensity1 = coil1.curDens;
    model_.project.CurrentDensity2 = coil2.curDens;
}

void MainWindow::showCoilPanel(const CoilFigures& coil1, const CoilFigures& coil2) {
    const CoilFigures* figures[] = {&coil1, &coil2};
    for (int coil = 0; coil < 2; ++coil) {
        const CoilFigures& f = *figures[coil];
        const CoilColumn& column = coils_[static_cast<std::size_t>(coil)];
        if (!f.present) {
            // A coil that is not on the map carries no current.
            column.current->setText(QStringLiteral("0"));
            moveSliderToCurrent(coil);
        }
        column.density->setText(GeneralQText(RoundHalfEven(f.curDens / 1e6, 2)));
        column.turns->setText(GeneralQText(RoundHalfEven(f.turns, 1)));
        column.power->setText(SignificantQText(f.power, kPowerDigits));
    }
}

}  // namespace tesvid
