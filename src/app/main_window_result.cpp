// The result view: drawing the field after a calculation or the Result command, the field
// probe's share of the drawing area's mouse events, the distribution windows and the
// intermediate potential view.
//
// For now the result view shows the materials; the colour map, force lines, probe and
// distribution windows take their places here.

#include <QCoreApplication>
#include <QImage>

#include "app/main_window.h"
#include "solver/calculation.h"

namespace tesvid {

struct ResultViews {};

void ResultViewsDeleter::operator()(ResultViews* views) const {
    delete views;
}

void MainWindow::ShowResultView() {
    model_.EditorMode = false;
    EvaluateField(model_);
    pointer_.LastX = -1;
    pointer_.LastY = -1;
    RestoreDrawing();
    QCoreApplication::processEvents();
}

void MainWindow::ResultMouseMove(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}

void MainWindow::ResultMouseDown(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}

void MainWindow::DrawIntermediate() {}

QImage MainWindow::DistributionImage(bool /*r*/) {
    QImage blank(320, 240, QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
}

void MainWindow::CloseResultWindows() {}

}  // namespace tesvid
