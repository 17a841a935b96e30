// The coil panel: the current sliders and Misc, the turns, current densities and powers that
// follow from the coil nodes on the drawing area.

#include <QLineEdit>
#include <QSlider>

#include "app/main_window.h"
#include "model/number_format.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "solver/material_sampling.h"

namespace tesvid {

void MainWindow::Slider_Change(int coil) {
    QSlider* slider = coil == 1 ? Slider1 : Slider2;
    QLineEdit* current = coil == 1 ? TextCurrent1 : TextCurrent2;
    const double maxTok = coil == 1 ? model_.project.SliderFullScale1 : model_.project.SliderFullScale2;
    current->setText(GeneralQText(slider->value() * maxTok / 100));
}

void MainWindow::Misc() {
    CoilFigures coil1, coil2;
    ComputeCoilPanel(SampleMaterial(Picture1->Surface(), model_.project.GridSize), coil1, coil2);
    ShowCoilPanel(coil1, coil2);
}

void MainWindow::ComputeCoilPanel(const Grid2D<MaterialCode>& sampled, CoilFigures& coil1,
                                  CoilFigures& coil2) const {
    CoilInputs in;
    in.gridStep = model_.project.GridStep;
    in.current1 = ToNumber(TextCurrent1->text());
    in.current2 = ToNumber(TextCurrent2->text());
    in.dProv1 = model_.project.WireDiameter1;
    in.dProv2 = model_.project.WireDiameter2;
    ComputeCoilFigures(sampled, in, coil1, coil2);
}

void MainWindow::ShowCoilPanel(const CoilFigures& coil1, const CoilFigures& coil2) {
    struct Column {
        const CoilFigures& figures;
        QLineEdit* current;
        QLineEdit* turns;
        QLineEdit* density;
        QLineEdit* power;
        double& modelCurrent;
        double& modelDensity;
    };
    const Column columns[] = {
        {coil1, TextCurrent1, TextVit1, TextCurDens1, TextPower1, model_.project.Current1, model_.project.CurrentDensity1},
        {coil2, TextCurrent2, TextVit2, TextCurDens2, TextPower2, model_.project.Current2, model_.project.CurrentDensity2},
    };
    for (const Column& c : columns) {
        if (!c.figures.present) {
            c.current->setText("0");
        }
        c.modelCurrent = c.figures.current;
        c.modelDensity = c.figures.curDens;
        c.density->setText(GeneralQText(RoundHalfEven(c.figures.curDens / 1e6, 2)));
        c.turns->setText(GeneralQText(RoundHalfEven(c.figures.turns, 1)));
        c.power->setText(GeneralQText(c.figures.power));
    }
}

}  // namespace tesvid
