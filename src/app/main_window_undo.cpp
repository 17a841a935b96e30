// Edit > Undo and Redo of the editing view's drawing: every stroke of a tool, and every
// programmatic paint made through paintAsOneStep, is one step of the history.

#include <QAction>
#include <QHash>

#include "app/main_window.h"
#include "platform/picture_box.h"

namespace tesvid {

namespace {

std::size_t PictureHash(const RasterSurface& s) {
    return qHashBits(s.Pixels(), static_cast<std::size_t>(s.WidthPixels()) *
                                     static_cast<std::size_t>(s.HeightPixels()) *
                                     sizeof(std::uint32_t));
}

}  // namespace

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
    if (!editorMode_) {
        enterEditingView();
    }
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
    // Undo works on the drawing, never on a result: the editing view comes back first, with
    // the drawing the result was calculated from.
    if (busy_ || history_.StepOpen()) {
        return;
    }
    if (!editorMode_) {
        enterEditingView();
    }
    checkHistoryPicture();
    if (history_.Undo(drawingArea_->Surface())) {
        drawingEdited();
    }
}

void MainWindow::onRedo() {
    if (busy_ || history_.StepOpen()) {
        return;
    }
    if (!editorMode_) {
        enterEditingView();
    }
    checkHistoryPicture();
    if (history_.Redo(drawingArea_->Surface())) {
        drawingEdited();
    }
}

void MainWindow::clearHistory() {
    history_.Clear();
    updateUndoCommands();
}

void MainWindow::checkHistoryPicture() {
    if ((history_.CanUndo() || history_.CanRedo()) &&
        PictureHash(drawingArea_->Surface()) != historyPicture_) {
        clearHistory();
    }
}

void MainWindow::drawingEdited() {
    historyPicture_ = PictureHash(drawingArea_->Surface());
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
