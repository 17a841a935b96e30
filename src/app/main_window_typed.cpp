// Draw > Rectangle: geometry by numbers. A rectangle typed in millimetres is placed on the
// grid of the editing view and painted there as one drawing step.

#include <QButtonGroup>

#include "app/main_window.h"
#include "app/rectangle_dialog.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"

namespace tesvid {

void MainWindow::onTypedRectangle() {
    if (busy_) {
        return;
    }
    if (rectangleDialog_ == nullptr) {
        rectangleDialog_ = new RectangleDialog(this);
    }
    // The dialog starts at the palette's material; after a refusal it comes back with the
    // texts as typed.
    const int chosen = materialButtons_->checkedId();
    if (chosen >= 0) {
        const std::string_view label =
            MaterialLabel(kPaletteButtons[static_cast<std::size_t>(chosen)]);
        rectangleDialog_->setMaterial(
            QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    }
    while (rectangleDialog_->ask(GeneralQTextSingle(projectInForce().AreaSize))) {
        if (const std::optional<PlacedRectangle> placed =
                placeTypedRectangle(rectangleDialog_->rectangle())) {
            paintTypedRectangle(*placed);
            return;
        }
    }
}

std::optional<PlacedRectangle> MainWindow::placeTypedRectangle(const TypedRectangle& typed) {
    // The grid the editing view has, or will have once a result on show gives way to it.
    const Project p = projectInForce();
    RectanglePlacement placement = PlaceRectangle(typed, p.GridSize, AreaAsTyped(p.AreaSize));
    if (!placement.placed) {
        services_.dialogs.Message(
            this, kProgramName,
            tr("The rectangle was not painted: %1.").arg(QString::fromStdString(placement.error)),
            MessageIcon::Exclamation);
    }
    return placement.placed;
}

void MainWindow::paintTypedRectangle(const PlacedRectangle& placed) {
    // One undoable step, like a stroke of a tool, in the editing view (which comes back first
    // when a result is on show).
    paintAsOneStep([&](QImageSurface& area) { PaintNodes(area, placed, model_.project.GridSize); });
}

}  // namespace tesvid
