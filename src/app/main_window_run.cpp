// RUN's calculation on a worker thread: the commands that would change what it works on
// switched off while it runs, the bars and the intermediate potential view from the worker's
// copies, and its end: the result taken into the window's model and shown, and the outcome in
// words on the status line.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <algorithm>

#include "app/calculation_runner.h"
#include "app/main_window.h"
#include "options/options_dialog.h"
#include "platform/float_progress_bar.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "platform/ui_font.h"
#include "solver/calculation.h"
#include "view/potential_view.h"

namespace tesvid {

void MainWindow::buildCalculationRunner() {
    runner_ = std::make_unique<CalculationRunner>(stopRequested_);
    connect(runner_.get(), &CalculationRunner::barsChanged, this,
            [this](double maximum, double progress, double error) {
                progressBar_->SetMaximum(maximum);
                progressBar_->SetValue(progress);
                errorBar_->SetValue(error);
            });
    connect(runner_.get(), &CalculationRunner::passShown, this, &MainWindow::onPassShown);
    connect(runner_.get(), &CalculationRunner::finished, this, &MainWindow::onCalculationEnded);

    // The outcome of the last calculation, with the open-boundary warning after it: two
    // lines under everything else, so that they cover nothing.
    QStatusBar* status = statusBar();
    status->setSizeGripEnabled(false);
    outcomeLine_ = new QLabel(status);
    outcomeLine_->setObjectName("outcomeLine");
    outcomeLine_->setFont(UiFont());
    outcomeLine_->setWordWrap(true);
    outcomeLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    outcomeLine_->setFixedHeight(2 * outcomeLine_->fontMetrics().lineSpacing() + 4);
    status->addWidget(outcomeLine_, 1);
    // The window's fixed size takes the status bar's height as it is now.
    status->setFixedHeight(status->sizeHint().height());
}

bool MainWindow::drawingLockedByRun() const {
    return runner_->Running() && (editorMode_ || viewOptions_.showIntermediate);
}

void MainWindow::setRunCommandsEnabled(bool enabled) {
    if (enabled) {
        // Back as they were: a command off for its own reason (Undo with nothing to undo)
        // stays off.
        for (const auto& [control, wasEnabled] : lockedByRun_) {
            if (auto* widget = qobject_cast<QWidget*>(control)) {
                widget->setEnabled(wasEnabled);
            } else if (auto* action = qobject_cast<QAction*>(control)) {
                action->setEnabled(wasEnabled);
            }
        }
        lockedByRun_.clear();
        return;
    }
    std::vector<QObject*> controls;
    // RUN, the views, the palette and tools (no painting), the currents, and the commands that
    // open, save, print, change the options or the drawing. Exit, Copy, Help, the view check
    // boxes and Stop stay.
    for (const char* name : {"runButton", "editorButton", "resultButton", "materialGroup",
                             "toolGroup", "recentMenu"}) {
        controls.push_back(findChild<QWidget*>(name));
    }
    for (const CoilColumn& column : coils_) {
        controls.push_back(column.slider);
        controls.push_back(column.current);
    }
    for (const char* name :
         {"runAction", "newProjectAction", "openSampleAction", "openProjectAction",
          "saveProjectAction", "exportTextAction", "printAction", "optionsAction", "undoAction",
          "redoAction", "typedRectangleAction"}) {
        controls.push_back(findChild<QAction*>(name));
    }
    for (QObject* control : controls) {
        if (auto* widget = qobject_cast<QWidget*>(control)) {
            lockedByRun_.emplace_back(widget, widget->isEnabled());
            widget->setEnabled(false);
        } else if (auto* action = qobject_cast<QAction*>(control)) {
            lockedByRun_.emplace_back(action, action->isEnabled());
            action->setEnabled(false);
        }
    }
}

void MainWindow::startCalculation(Model job) {
    pictureBeforeRun_ = drawingArea_->Surface().PixelBlock();
    busy_ = true;
    stopRequested_ = false;
    setRunCommandsEnabled(false);
    // Busy, but the window answers: the pointer keeps its arrow.
    setCursor(Qt::BusyCursor);
    drawingArea_->setCursor(Qt::BusyCursor);
    // The check boxes that choose how the result will be drawn stay at hand.
    viewGroup_->setCursor(Qt::ArrowCursor);
    const CalculationSettings settings = options_->calculationSettings();
    outcomeLine_->setText(settings.schedule == ScheduleKind::Converge
                              ? tr("Calculating until the field has converged (tolerance %1)...")
                                    .arg(GeneralQText(settings.tolerance))
                              : tr("Calculating the fixed schedule..."));
    outcomeLine_->setToolTip(QString());
    runner_->Start(std::move(job), settings, viewOptions_.showIntermediate);
}

void MainWindow::onPassShown() {
    Model pass;
    pass.arrays.VecPot = runner_->TakePassPotential();
    if (!pass.arrays.VecPot.Exists()) {
        return;
    }
    // Drawn at the calculation's grid, which a result on show may not have.
    const int n = pass.arrays.VecPot.N();
    pass.project.GridSize = static_cast<std::int16_t>(n);
    QImageSurface& area = drawingArea_->Surface();
    area.SetScale(n, n);
    DrawPotentialView(pass, area);
    fitDrawingAreaToGrid();
    drawingArea_->update();
}

void MainWindow::onCalculationEnded() {
    const CalculationOutcome outcome = runner_->Outcome();
    busy_ = false;
    unsetCursor();
    drawingArea_->setCursor(Qt::CrossCursor);
    viewGroup_->unsetCursor();
    showOutcome(outcome);  // before the result view, whose force lines take their time
    if (runner_->HasResult()) {
        Model& job = runner_->Job();
        model_.project = std::move(job.project);
        model_.arrays = std::move(job.arrays);
        pendingGrid_.reset();
        if (closeWhenDone_) {
            EvaluateField(model_);  // closing: the model complete, nothing drawn
        } else {
            fitDrawingAreaToGrid();
            showResultView();  // the force lines, if drawn, use the progress bar too
        }
        // Full, or as far as the passes got before Stop.
        const bool stopped = outcome.ending == CalculationEnding::Stopped;
        progressBar_->SetValue(stopped ? outcome.passes : progressBar_->Maximum());
    } else {
        // Diverged: the model was not touched; the picture goes back to what it was.
        drawingArea_->Surface().PutPixelBlock(pictureBeforeRun_);
        drawingArea_->update();
    }
    pictureBeforeRun_ = {};
    setRunCommandsEnabled(true);
    emit calculationFinished();
    closeIfAsked();
}

void MainWindow::showOutcome(const CalculationOutcome& outcome) {
    QString text = QString::fromStdString(OutcomeSentence(outcome));
    if (!outcome.boundaryWarning.empty()) {
        text += QLatin1Char(' ') + QString::fromStdString(outcome.boundaryWarning);
    }
    outcomeLine_->setText(text);
    outcomeLine_->setToolTip(text);
}

}  // namespace tesvid
