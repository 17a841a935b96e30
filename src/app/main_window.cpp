#include "app/main_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "app/busy_scope.h"
#include "app/calculation_runner.h"
#include "app/figures_window.h"
#include "model/number_format.h"
#include "model/project_drawing.h"
#include "model/raster_surface.h"
#include "options/options_dialog.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver/material_sampling.h"
#include "view/field_probe.h"

namespace tesvid {
namespace {

// The geometry editor's button masks for the buttons of a mouse event.
int EditorButtons(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? kLeftButton : 0) |
           (buttons & Qt::RightButton ? kRightButton : 0) |
           (buttons & Qt::MiddleButton ? kMiddleButton : 0);
}

}  // namespace

MainWindow::MainWindow(PlatformServices services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setObjectName("mainWindow");
    setWindowTitle(kProgramName);
    buildLayout();
    buildCalculationRunner();
    editor_ = std::make_unique<GeometryEditor>(drawingArea_->Surface(), pointer_);
    startUp();
    adjustSize();
    setFixedSize(size());
    setZoom(storedZoom());
}

MainWindow::~MainWindow() = default;

void MainWindow::startUp() {
    // The options kept from the last session, or those of a first start.
    options_ = new OptionsDialog(services_.dialogs, services_.help, this);
    connect(options_, &OptionsDialog::optionsApplied, this, &MainWindow::applyOptions);
    const OptionsDialog::Options stored = options_->readSettings(services_.settings);
    model_.project = stored.project;
    viewOptions_ = stored.view;

    // Coil 1 chosen in the palette, the rectangle tool, a Vacuum-grey area.
    QImageSurface& area = drawingArea_->Surface();
    area.SetBackColor(kVacuumColor);
    const auto coil1 =
        std::find(kPaletteButtons.begin(), kPaletteButtons.end(), MaterialCode::Coil1);
    onMaterialChosen(static_cast<int>(coil1 - kPaletteButtons.begin()));
    onToolChosen(static_cast<int>(DrawTool::RectangleTool));
    fitDrawingAreaToGrid();
    area.Clear();

    QImageSurface& scale = colorScale_->Surface();
    const QColor face = palette().color(QPalette::Window);
    scale.SetBackColor(Rgb{static_cast<std::uint8_t>(face.red()),
                           static_cast<std::uint8_t>(face.green()),
                           static_cast<std::uint8_t>(face.blue())});
    scale.Clear();

    // The sliders start at full scale, and so do the currents.
    for (int coil = 0; coil < 2; ++coil) {
        onSliderMoved(coil);
    }
    BuildMaterialMap(model_, SampleMaterial(area, model_.project.GridSize));
    setUpFigures();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A calculation (or drawing, or report) runs below this event in the stack: stop it, and
    // close once it has returned.
    if (busy_) {
        stopRequested_ = true;
        closeWhenDone_ = true;
        event->ignore();
        return;
    }
    if (!settingsWritten_ && !maySaveChanges()) {
        event->ignore();
        return;
    }
    if (!settingsWritten_) {
        settingsWritten_ = true;
        options_->writeSettings(services_.settings, projectInForce(), viewOptions_);
        distributionWindows_.Close();
        figuresWindow_->close();
        options_->close();
        services_.help.Close();
    }
    event->accept();
    emit closed();
}

bool MainWindow::closeIfAsked() {
    if (!closeWhenDone_ || busy_) {
        return false;
    }
    closeWhenDone_ = false;
    close();
    return true;
}

void MainWindow::onMaterialChosen(int paletteIndex) {
    Q_ASSERT(paletteIndex >= 0 && paletteIndex < static_cast<int>(kPaletteButtons.size()));
    drawingArea_->Surface().SetForeColor(
        MaterialColor(kPaletteButtons[static_cast<std::size_t>(paletteIndex)]));
    materialButtons_->button(paletteIndex)->setChecked(true);
}

void MainWindow::onToolChosen(int tool) {
    Q_ASSERT(tool >= 0 && tool <= static_cast<int>(DrawTool::RectangleTool));
    editor_->SetTool(static_cast<DrawTool>(tool));
    toolButtons_->button(tool)->setChecked(true);
}

Project MainWindow::projectInForce() const {
    Project project = model_.project;
    if (pendingGrid_) {
        project.GridSize = pendingGrid_->gridSize;
        project.AreaSize = pendingGrid_->areaSize;
        project.GridStep = pendingGrid_->gridStep;
    }
    return project;
}

void MainWindow::applyPendingGrid() {
    model_.project = projectInForce();
    pendingGrid_.reset();
}

void MainWindow::fitDrawingAreaToGrid() {
    const int n = model_.project.GridSize;
    Q_ASSERT(IsSupportedGridSize(n));
    QImageSurface& area = drawingArea_->Surface();
    area.SetScale(n, n);
    area.SetPenWidth(PenWidthFor(n));
    areaSizeLabel_->setText(GeneralQTextSingle(model_.project.AreaSize));
}

void MainWindow::applyOptions(const Project& project, const ViewOptions& view) {
    if (!editorMode_ && view.showCrossSections != viewOptions_.showCrossSections) {
        // The cross-hair goes with the switch: the one on show is taken off, and the probe
        // starts afresh.
        if (viewOptions_.showCrossSections && pointer_.LastX >= 0) {
            MoveCrossHair(drawingArea_->Surface(), model_.project.GridSize, pointer_.LastX,
                          pointer_.LastY, -1, -1);
            drawingArea_->update();
        }
        forgetCrossHair();
    }
    if (!(project == projectInForce())) {
        markUnsaved();
    }
    viewOptions_ = view;
    if (editorMode_) {
        model_.project = project;
        fitDrawingAreaToGrid();
    } else {
        // The result on show keeps its grid and area; the ones chosen wait for RUN or Editor.
        const Project& shown = model_.project;
        if (project.GridSize == shown.GridSize && project.AreaSize == shown.AreaSize) {
            pendingGrid_.reset();
        } else {
            pendingGrid_ = GridChoice{project.GridSize, project.AreaSize, project.GridStep};
        }
        Project kept = project;
        kept.GridSize = shown.GridSize;
        kept.AreaSize = shown.AreaSize;
        kept.GridStep = shown.GridStep;
        model_.project = kept;
    }
    // The full-scale currents may have changed.
    for (int coil = 0; coil < 2; ++coil) {
        moveSliderToCurrent(coil);
    }
}

void MainWindow::restoreDrawing() {
    QImageSurface& area = drawingArea_->Surface();
    area.SetBackColor(kVacuumColor);
    area.Clear();
    DrawProject(model_, area);
    drawingArea_->update();
}

void MainWindow::forgetCrossHair() {
    pointer_.LastX = -1;
    pointer_.LastY = -1;
    pointer_.Held = false;
    forgetChosenBody();
}

void MainWindow::onEditor() {
    // In the editing view the picture, with every stroke since the last RUN, stays as it is.
    if (busy_ || editorMode_) {
        return;
    }
    enterEditingView();
}

void MainWindow::enterEditingView() {
    editorMode_ = true;
    applyPendingGrid();
    fitDrawingAreaToGrid();
    // The pen is the chosen material, whatever a result view left.
    onMaterialChosen(materialButtons_->checkedId());
    colorScale_->Surface().Clear();
    colorScale_->update();
    forgetCrossHair();
    restoreDrawing();
}

void MainWindow::onResult() {
    if (busy_) {
        return;
    }
    // The potential belongs to the grid of the last build; after the grid was changed in the
    // options it cannot be evaluated on the new one.
    if (!model_.arrays.VecPot.Exists() || model_.arrays.VecPot.N() != model_.project.GridSize) {
        services_.dialogs.Message(this, kProgramName,
                                  tr("The grid has been changed since the last calculation. "
                                     "Press RUN to calculate on the new grid."),
                                  MessageIcon::Information);
        return;
    }
    showResultView();
}

void MainWindow::onRun() {
    if (busy_) {
        return;
    }
    // The run takes the grid and area chosen in the options and calculates a model of its
    // own: the model, and a result on show, stay as they were until it has ended (and after a
    // refused or diverged run).
    const Project before = model_.project;
    const std::optional<GridChoice> pendingBefore = pendingGrid_;
    applyPendingGrid();
    const int n = model_.project.GridSize;
    // The materials to read: the drawing itself in the editing view, or, with a result on
    // show, the material map painted back on a scratch area.
    Grid2D<MaterialCode> sampled;
    if (editorMode_) {
        sampled = SampleMaterial(drawingArea_->Surface(), n);
    } else {
        RasterSurface scratch(400, 400);
        scratch.SetScale(n, n);
        scratch.SetBackColor(kVacuumColor);
        scratch.Clear();
        DrawProject(model_, scratch);
        sampled = SampleMaterial(scratch, n);
    }
    CoilFigures coil1, coil2;
    ComputeCoilFigures(sampled, coilInputs(model_.project), coil1, coil2);
    takeCoilCurrents(coil1, coil2);
    Model job;
    job.project = model_.project;
    model_.project = before;
    pendingGrid_ = pendingBefore;
    if (auto why = CalculationRefusal(job, sampled)) {
        services_.dialogs.Message(this, kProgramName, QString::fromStdString(*why),
                                  MessageIcon::Exclamation);
        return;
    }

    showCoilPanel(coil1, coil2);
    BuildMaterialMap(job, sampled);
    startCalculation(std::move(job));
}

void MainWindow::onStop() {
    stopRequested_ = true;
}

void MainWindow::onOptions() {
    if (busy_) {
        return;
    }
    options_->edit(projectInForce(), viewOptions_);
}

void MainWindow::onHelp() {
    ShowHelp(services_.help, services_.dialogs, this, 0);
}

void MainWindow::onCopyPicture() {
    // Takes the probe's cross-hair off the area first.
    onDrawingMoved(Qt::NoButton, QPointF(-1, -1));
    services_.clipboard.Clear();
    services_.clipboard.SetImage(drawingArea_->Surface().Snapshot());
}

void MainWindow::onCopyScale() {
    services_.clipboard.Clear();
    services_.clipboard.SetImage(colorScale_->Surface().Snapshot());
}

void MainWindow::onCopyDistribution(GraphAxis axis) {
    services_.clipboard.Clear();
    services_.clipboard.SetImage(distributionWindows_.Window(axis).GraphImage());
}

void MainWindow::showCoordinates(QPointF point) {
    const Project& p = model_.project;
    Q_ASSERT(p.GridSize > 0);
    auto millimetres = [&](qreal u) {
        return GeneralQTextSingle(RoundToNode(static_cast<float>(u)) * p.AreaSize / p.GridSize);
    };
    radiusReadout_->setText(millimetres(point.x()));
    axialReadout_->setText(millimetres(point.y()));
}

void MainWindow::onDrawingPressed(Qt::MouseButton button, QPointF point) {
    if (drawingLockedByRun()) {
        return;
    }
    if (editorMode_) {
        if (button == Qt::LeftButton) {
            beginStroke();
        }
        editor_->MouseDown(EditorButtons(button), static_cast<float>(point.x()),
                           static_cast<float>(point.y()));
    } else {
        pressProbe();
        chooseBody(point);
    }
    drawingArea_->update();
}

void MainWindow::onDrawingMoved(Qt::MouseButtons buttons, QPointF point) {
    showPointerStatus(point);
    if (drawingLockedByRun()) {
        showCoordinates(point);
        return;
    }
    if (editorMode_) {
        showCoordinates(point);
        editor_->MouseMove(EditorButtons(buttons), static_cast<float>(point.x()),
                           static_cast<float>(point.y()));
    } else {
        moveProbe(point);
    }
    drawingArea_->update();
}

void MainWindow::onDrawingReleased(Qt::MouseButton button, QPointF point) {
    if (drawingLockedByRun()) {
        return;
    }
    if (editorMode_) {
        // A left release while the pointer is held paints the figure, even when its mouse-down
        // began no stroke here (a right-button down, or a down in the result view before the
        // switch to editing): such a release is a stroke of its own, kept and undoable.
        const bool paints = button == Qt::LeftButton && pointer_.Held;
        if (paints && !history_.StepOpen()) {
            beginStroke();
        }
        editor_->MouseUp(EditorButtons(button), static_cast<float>(point.x()),
                         static_cast<float>(point.y()));
        if (button == Qt::LeftButton) {
            endStroke();
        }
        drawingArea_->update();
    }
}

}  // namespace tesvid
