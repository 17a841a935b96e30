// The result view: drawing the field after a calculation or the Result command, the field
// probe's share of the drawing area's mouse events, the distribution windows and the
// intermediate potential view.

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>

#include "app/busy_scope.h"
#include "app/main_window.h"
#include "platform/float_progress_bar.h"
#include "platform/picture_box.h"
#include "solver/calculation.h"
#include "view/field_color_map.h"
#include "view/field_probe.h"
#include "view/force_lines.h"
#include "view/forms/distribution_window.h"
#include "view/potential_view.h"

namespace tesvid {

struct ResultViews {
    explicit ResultViews(QWidget* mainWindow) : windows(mainWindow) {}
    DistributionWindows windows;
};

void ResultViewsDeleter::operator()(ResultViews* views) const {
    delete views;
}

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

class WindowProbeTarget : public ProbeTarget {
  public:
    WindowProbeTarget(MainWindow& window, DistributionWindows& views) : w_(window), views_(views) {}
    void SetFieldTexts(const ProbeFieldTexts& texts) override {
        w_.LabelB->setText(QString::fromStdString(texts.b));
        w_.LabelBr->setText(QString::fromStdString(texts.br));
        w_.LabelBz->setText(QString::fromStdString(texts.bz));
    }
    void DrawGraphs(double x, double y) override { views_.DrawDistributionGraph(w_.model(), x, y); }
    void ShowGraphWindows() override { views_.Show(); }

  private:
    MainWindow& w_;
    DistributionWindows& views_;
};

ResultViews& Views(std::unique_ptr<ResultViews, ResultViewsDeleter>& views, QWidget* main) {
    if (!views) {
        views.reset(new ResultViews(main));
    }
    return *views;
}

}  // namespace

void MainWindow::ShowResultView() {
    editorMode_ = false;
    EvaluateField(model_);
    pointer_.LastX = -1;
    pointer_.LastY = -1;
    if (CheckDrawField->isChecked()) {
        DrawFieldColorMap(model_, forceLineGrids_, Picture1->Surface(), Picture3->Surface());
        Picture3->update();
    } else {
        RestoreDrawing();
    }
    if (CheckDrawForceLines->isChecked()) {
        // The drawing yields to the event loop: commands that would replace the arrays it
        // traces wait until it has ended, as during a calculation.
        BusyScope busy(calculating_);
        stopRequested_ = false;
        ForceLineProgress progress(*ProgressProgress, *Picture1, stopRequested_);
        DrawForceLines(model_, forceLineGrids_, Picture1->Surface(), CheckDrawField->isChecked(),
                       progress);
    }
    if (closeAfterRun_ && !calculating_) {
        // The window was closed while the force lines were drawn.
        closeAfterRun_ = false;
        close();
        return;
    }
    Picture1->update();
    QCoreApplication::processEvents();
    Views(resultViews_, this).windows.ShowCrossSectionWindows(viewOptions_.showCrossSections);
}

void MainWindow::ResultMouseMove(int /*button*/, int /*shift*/, float x, float y) {
    WindowProbeTarget target(*this, Views(resultViews_, this).windows);
    ProbeMouseMove(model_, viewOptions_.showCrossSections, Picture1->Surface(), pointer_, x, y,
                   target);
}

void MainWindow::ResultMouseDown(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {
    WindowProbeTarget target(*this, Views(resultViews_, this).windows);
    ProbeMouseDown(pointer_, target);
}

void MainWindow::DrawIntermediate() {
    DrawPotentialView(model_, Picture1->Surface());
}

QImage MainWindow::DistributionImage(bool r) {
    DistributionWindows& windows = Views(resultViews_, this).windows;
    return (r ? windows.Form2() : windows.Form3()).GraphImage();
}

void MainWindow::CloseResultWindows() {
    Views(resultViews_, this).windows.Close();
}

}  // namespace tesvid
