// The result view: drawing the field after a calculation or the Result command, the field
// probe's share of the drawing area's mouse events and the intermediate potential view.

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>

#include "app/busy_scope.h"
#include "app/distribution_window.h"
#include "app/main_window.h"
#include "platform/float_progress_bar.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "solver/calculation.h"
#include "view/field_color_map.h"
#include "view/field_probe.h"
#include "view/force_lines.h"
#include "view/potential_view.h"

namespace tesvid {

namespace {

// The force-line drawing's bar and yields. The drawing yields after every seed node, which is
// over a hundred thousand times on the finest grid; the event loop runs at most every 20 ms
// of them, which keeps the window live without slowing the drawing down.
class ForceLineProgress : public ForceLineObserver {
  public:
    ForceLineProgress(FloatProgressBar& bar, PictureBox& picture, const std::atomic<bool>& stop)
        : bar_(bar), picture_(picture), stop_(stop) {
        clock_.start();
    }
    void SetProgressFraction(double fraction) override { bar_.SetValue(bar_.Maximum() * fraction); }
    bool StopRequested() const override { return stop_; }
    void Yield() override {
        if (clock_.elapsed() < 20) {
            return;
        }
        picture_.update();
        QCoreApplication::processEvents();
        clock_.restart();
    }

  private:
    FloatProgressBar& bar_;
    PictureBox& picture_;
    const std::atomic<bool>& stop_;
    QElapsedTimer clock_;
};

}  // namespace

// What the probe drives: the field labels and the distribution windows.
class MainWindow::ProbeWindows : public ProbeTarget {
  public:
    explicit ProbeWindows(MainWindow& window) : w_(window) {}
    void SetFieldTexts(const ProbeFieldTexts& texts) override {
        w_.fieldB_->setText(QString::fromStdString(texts.b));
        w_.fieldBr_->setText(QString::fromStdString(texts.br));
        w_.fieldBz_->setText(QString::fromStdString(texts.bz));
    }
    void DrawGraphs(double x, double y) override {
        w_.distributionWindows_.DrawGraphs(w_.model_, x, y, LocaleDecimalSeparator());
    }
    void ShowGraphWindows() override { w_.distributionWindows_.Show(); }

  private:
    MainWindow& w_;
};

void MainWindow::showResultView() {
    editorMode_ = false;
    EvaluateField(model_);
    forgetCrossHair();
    refreshFigures(true);
    if (drawFieldCheck_->isChecked()) {
        Q_ASSERT(model_.arrays.Material.N() == model_.project.GridSize);
        DrawFieldColorMap(model_, forceLineGrids_, drawingArea_->Surface(), colorScale_->Surface(),
                          LocaleDecimalSeparator());
    } else {
        restoreDrawing();
        colorScale_->Surface().Clear();
    }
    colorScale_->update();
    if (drawForceLinesCheck_->isChecked()) {
        // The drawing yields to the event loop: commands that would replace the arrays it
        // traces wait until it has ended, as during a calculation.
        BusyScope busy(busy_);
        stopRequested_ = false;
        ForceLineProgress progress(*progressBar_, *drawingArea_, stopRequested_);
        DrawForceLines(model_, forceLineGrids_, drawingArea_->Surface(),
                       drawFieldCheck_->isChecked(), progress);
    }
    if (closeIfAsked()) {
        return;
    }
    drawingArea_->update();
    distributionWindows_.RedrawGraphs(model_, LocaleDecimalSeparator());
    QCoreApplication::processEvents();
    if (viewOptions_.showCrossSections) {
        distributionWindows_.Show();
    }
}

void MainWindow::moveProbe(QPointF point) {
    if (pointer_.Held) {
        return;
    }
    showCoordinates(point);
    ProbeWindows target(*this);
    ProbeMouseMove(model_, viewOptions_.showCrossSections, drawingArea_->Surface(), pointer_,
                   static_cast<float>(point.x()), static_cast<float>(point.y()), target,
                   LocaleDecimalSeparator());
    showProbeFlux();
}

void MainWindow::pressProbe() {
    ProbeWindows target(*this);
    ProbeMouseDown(pointer_, target);
}

void MainWindow::drawIntermediate() {
    DrawPotentialView(model_, drawingArea_->Surface());
    drawingArea_->update();
}

}  // namespace tesvid
