// Edit > Undo and Redo of the editing view's drawing: every stroke of a tool, and every
// programmatic paint made through paintAsOneStep, is one step of the history.

#include <QAction>
#include <algorithm>

#include "app/main_window.h"
#include "platform/picture_box.h"
#include "solver/material_sampling.h"

namespace tesvid {

void MainWindow::beginStroke() {
    checkHistoryPicture();
    history_.BeginStep(drawingArea_->Surface());
    updateUndoCommands();
}

void MainWindow::endStroke() {
    if (history_.EndStep(drawingArea_->Surface())) {
        drawingEdited();
    } else {
        updateUndoCommands();
    }
}

bool MainWindow::paintAsOneStep(const std::function<void(QImageSurface&)>& paint) {
    if (busy_) {
        return false;
    }
    showDrawingToEdit();
    QImageSurface& area = drawingArea_->Surface();
    checkHistoryPicture();
    history_.BeginStep(area);
    paint(area);
    if (history_.EndStep(area)) {
        drawingEdited();
    } else {
        updateUndoCommands();
        drawingArea_->update();
    }
    return true;
}

void MainWindow::onUndo() {
    moveInHistory(&DrawingHistory::Undo);
}

void MainWindow::onRedo() {
    moveInHistory(&DrawingHistory::Redo);
}

void MainWindow::moveInHistory(bool (DrawingHistory::*move)(RasterSurface&)) {
    // Undo and Redo work on the drawing, never on a result: the editing view comes back first,
    // with the drawing the result was calculated from.
    if (busy_ || history_.StepOpen()) {
        return;
    }
    showDrawingToEdit();
    checkHistoryPicture();
    if ((history_.*move)(drawingArea_->Surface())) {
        drawingEdited();
    }
}

void MainWindow::showDrawingToEdit() {
    if (editorMode_) {
        return;
    }
    enterEditingView();
    // The view redraws the drawing from the material map, which squares some edges off by a
    // pixel. When the drawing as painted holds the same materials, it takes the redrawn one's
    // place, and the history goes on with it.
    QImageSurface& area = drawingArea_->Surface();
    if (historyPixels_.size() != area.PixelBlock().size()) {
        return;
    }
    const int n = model_.project.GridSize;
    const std::vector<std::uint32_t> redrawn = area.PixelBlock();
    const Grid2D<MaterialCode> redrawnMaterial = SampleMaterial(area, n);
    area.PutPixelBlock(historyPixels_);
    if (!(SampleMaterial(area, n) == redrawnMaterial)) {
        area.PutPixelBlock(redrawn);
    }
    drawingArea_->update();
}

void MainWindow::clearHistory() {
    history_.Clear();
    historyPixels_.clear();
    historyPixels_.shrink_to_fit();
    updateUndoCommands();
}

void MainWindow::checkHistoryPicture() {
    if ((history_.CanUndo() || history_.CanRedo()) &&
        drawingArea_->Surface().PixelBlock() != historyPixels_) {
        clearHistory();
    }
}

void MainWindow::drawingEdited() {
    historyPixels_ = drawingArea_->Surface().PixelBlock();
    drawingArea_->update();
    updateUndoCommands();
    markUnsaved();
}

void MainWindow::updateUndoCommands() {
    if (undoAction_ != nullptr) {
        undoAction_->setEnabled(history_.CanUndo());
        redoAction_->setEnabled(history_.CanRedo());
    }
}

}  // namespace tesvid
