#include "app/main_window.h"

#include "app/busy_scope.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "model/project_drawing.h"
#include "model/raster_surface.h"
#include "options/options_dialog.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/float_progress_bar.h"
#include "platform/help_viewer.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "solver/calculation.h"
#include "solver/calculation_observer.h"
#include "solver/material_map.h"
#include "solver/material_sampling.h"

namespace tesvid {
namespace {

constexpr const char* kProgramName = "Tesvid";

}  // namespace

// How a calculation reaches this window: busy cursors, the two bars, the event-loop yield
// (during which Stop, the pointer read-out and repaints work), the intermediate potential view
// and the result view at the end.
class MainWindow::RunObserver : public CalculationObserver {
  public:
    explicit RunObserver(MainWindow& window) : w_(window) {}

    void BeginCalculation() override {
        w_.setCursor(Qt::WaitCursor);
        w_.Picture1->setCursor(Qt::WaitCursor);
        w_.Frame8->setCursor(Qt::ArrowCursor);
    }
    void EndCalculation() override {
        w_.unsetCursor();
        w_.Picture1->setCursor(Qt::CrossCursor);
    }
    void SetProgressMaximum(double maximum) override { w_.ProgressProgress->SetMaximum(maximum); }
    void SetProgressValue(double value) override { w_.ProgressProgress->SetValue(value); }
    void SetErrorValue(double value) override { w_.ProgressError->SetValue(value); }
    void Yield() override { QCoreApplication::processEvents(); }
    bool StopRequested() const override { return w_.stopRequested_; }
    void PassFinished(const SolverArrays& /*arrays*/) override {
        if (w_.viewOptions_.showIntermediate) {
            w_.DrawIntermediate();
            w_.Picture1->update();
        }
    }
    void ShowResult() override {
        w_.ShowResultView();
        w_.Picture1->update();
        w_.Picture3->update();
    }

  private:
    MainWindow& w_;
};

MainWindow::MainWindow(PlatformServices services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setObjectName("Form1");
    setWindowTitle(kProgramName);
    BuildLayout();
    editor_ = std::make_unique<GeometryEditor>(Picture1->Surface(), pointer_);
    Form_Load();
    ConnectControls();
    adjustSize();
    setFixedSize(size());
}

MainWindow::~MainWindow() = default;

void MainWindow::Form_Load() {
    // Options from the settings store into the dialog, and from there into the model (with
    // the area caption and the drawing area's scale and pen width).
    options_ = new OptionsDialog(model_, viewOptions_, services_.dialogs, services_.help, this);
    options_->AttachDrawing(Label4, &Picture1->Surface());
    options_->RegistryRead(services_.settings);
    options_->Text_to_Var();

    // Palette: Coil 1 chosen, the pen yellow on a Vacuum-grey area; the rectangle tool.
    QImageSurface& area = Picture1->Surface();
    area.SetBackColor(kVacuumColor);
    area.SetForeColor(MaterialColor(MaterialCode::Coil1));
    OptionColor[3]->setChecked(true);
    Option1[static_cast<int>(DrawTool::RectangleTool)]->setChecked(true);
    editor_->SetTool(DrawTool::RectangleTool);

    area.SetScale(model_.project.GridSize, model_.project.GridSize);
    area.SetPenWidth(PenWidthFor(model_.project.GridSize));
    area.Clear();

    QImageSurface& scale = Picture3->Surface();
    const QColor face = palette().color(QPalette::Window);
    scale.SetBackColor(Rgb{static_cast<std::uint8_t>(face.red()),
                           static_cast<std::uint8_t>(face.green()),
                           static_cast<std::uint8_t>(face.blue())});
    scale.Clear();

    BuildMaterialMap(model_, SampleMaterial(area, model_.project.GridSize));
    model_.arrays.MapGridSize = model_.project.GridSize;
    editorMode_ = true;
    pointer_.Held = false;
    model_.arrays.Material.Create(model_.project.GridSize);
}

void MainWindow::Form_Unload() {
    options_->RegistryWrite(services_.settings);
    CloseResultWindows();
    options_->close();
    services_.help.Close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A calculation runs inside RUN, below this event in the stack: stop it, and close once
    // RUN has returned.
    if (calculating_) {
        stopRequested_ = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    event->accept();
    emit closed();
}

DrawTool MainWindow::ChosenTool() const {
    return editor_->Tool();
}

int MainWindow::ChosenColor() const {
    return colorGroup_->checkedId();
}

void MainWindow::OptionColor_Click(int index) {
    if (index < 0 || index >= static_cast<int>(kPaletteButtons.size())) {
        return;
    }
    Picture1->Surface().SetForeColor(
        MaterialColor(kPaletteButtons[static_cast<std::size_t>(index)]));
    OptionColor[static_cast<std::size_t>(index)]->setChecked(true);
}

void MainWindow::Option1_Click(int index) {
    if (index < 0 || index > 2) {
        return;
    }
    editor_->SetTool(static_cast<DrawTool>(index));
    Option1[static_cast<std::size_t>(index)]->setChecked(true);
}

void MainWindow::RestoreDrawing() {
    QImageSurface& area = Picture1->Surface();
    area.SetBackColor(kVacuumColor);
    area.Clear();
    DrawProject(model_, area);
    Picture1->update();
}

void MainWindow::Command1_Click() {
    if (calculating_) {
        return;
    }
    editorMode_ = true;
    QImageSurface& area = Picture1->Surface();
    area.SetPenWidth(PenWidthFor(model_.project.GridSize));
    // The pen is the chosen material, whatever a result view left.
    OptionColor_Click(ChosenColor());
    Picture3->Surface().Clear();
    Picture3->update();
    RestoreDrawing();
}

void MainWindow::CommandResult_Click() {
    if (calculating_) {
        return;
    }
    // The potential belongs to the grid of the last build; after the grid was changed in the
    // options it cannot be evaluated on the new one.
    if (!model_.arrays.VecPot.Exists() || model_.arrays.VecPot.N() != model_.project.GridSize) {
        services_.dialogs.Message(this, kProgramName,
                                  "The grid has been changed since the last calculation. "
                                  "Press RUN to calculate on the new grid.",
                                  MessageIcon::Information);
        return;
    }
    ShowResultView();
    Picture1->update();
    Picture3->update();
}

void MainWindow::Finish_Click() {
    if (calculating_) {
        return;
    }
    // The materials to read: the drawing itself in the editing view, or, with a result on
    // show, the material map painted back (on a scratch area, so that a refused run leaves
    // the result on screen).
    Grid2D<MaterialCode> sampled;
    if (editorMode_) {
        sampled = SampleMaterial(Picture1->Surface(), model_.project.GridSize);
    } else {
        RasterSurface scratch(400, 400);
        scratch.SetScale(model_.project.GridSize, model_.project.GridSize);
        scratch.SetBackColor(kVacuumColor);
        scratch.Clear();
        DrawProject(model_, scratch);
        sampled = SampleMaterial(scratch, model_.project.GridSize);
    }
    CoilFigures coil1, coil2;
    ComputeCoilPanel(sampled, coil1, coil2);

    // A model the solver cannot take is refused with nothing changed.
    const double old[4] = {model_.project.Current1, model_.project.Current2, model_.project.CurrentDensity1, model_.project.CurrentDensity2};
    model_.project.Current1 = coil1.current;
    model_.project.Current2 = coil2.current;
    model_.project.CurrentDensity1 = coil1.curDens;
    model_.project.CurrentDensity2 = coil2.curDens;
    if (auto why = CalculationRefusal(model_, sampled)) {
        model_.project.Current1 = old[0];
        model_.project.Current2 = old[1];
        model_.project.CurrentDensity1 = old[2];
        model_.project.CurrentDensity2 = old[3];
        services_.dialogs.Message(this, kProgramName, QString::fromStdString(*why),
                                  MessageIcon::Exclamation);
        return;
    }

    if (!editorMode_) {
        RestoreDrawing();
    }
    ShowCoilPanel(coil1, coil2);
    BuildMaterialMap(model_, sampled);
    {
        BusyScope scope(calculating_);
        RunObserver observer(*this);
        stopRequested_ = false;
        RunCalculation(model_.arrays, model_.project, observer);
    }
    editorMode_ = false;
    pointer_.LastX = -1;
    pointer_.LastY = -1;
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

void MainWindow::CommandStop_Click() {
    stopRequested_ = true;
}

void MainWindow::mnuFileNew_Click() {
    if (calculating_) {
        return;
    }
    QImageSurface& area = Picture1->Surface();
    area.SetBackColor(kVacuumColor);
    area.Clear();
    Picture1->update();
}

void MainWindow::mnuFileExit_Click() {
    close();
}

void MainWindow::mnuCopyPicture_Click() {
    // Takes the probe's cross-hair off the area first.
    Picture1_MouseMove(0, 0, -1, -1);
    services_.clipboard.Clear();
    services_.clipboard.SetImage(Picture1->Surface().Snapshot());
}

void MainWindow::mnuCopyScale_Click() {
    services_.clipboard.Clear();
    services_.clipboard.SetImage(Picture3->Surface().Snapshot());
}

void MainWindow::mnuCopyZ_Click() {
    services_.clipboard.Clear();
    services_.clipboard.SetImage(DistributionImage(false));
}

void MainWindow::mnuCopyR_Click() {
    services_.clipboard.Clear();
    services_.clipboard.SetImage(DistributionImage(true));
}

void MainWindow::mnuOptions_Click() {
    if (calculating_) {
        return;
    }
    options_->Start();
}

void MainWindow::mnuHelp_Click() {
    if (services_.help.HelpFile().isEmpty()) {
        services_.dialogs.Message(this, windowTitle(),
                                  "Unable to display Help Contents. There is no Help associated "
                                  "with this project.",
                                  MessageIcon::Information);
        return;
    }
    if (auto error = services_.help.Show(this, 0)) {
        services_.dialogs.Message(this, kProgramName, *error, MessageIcon::None);
    }
}

void MainWindow::UpdateCoordinates(float x, float y) {
    if (model_.project.GridSize <= 0) {
        return;
    }
    const float xr = RoundToNode(x);
    const float yr = RoundToNode(y);
    CoR->setText(GeneralQTextSingle(xr * model_.project.AreaSize / model_.project.GridSize));
    CoZ->setText(GeneralQTextSingle(yr * model_.project.AreaSize / model_.project.GridSize));
}

void MainWindow::Picture1_MouseDown(int button, int shift, float x, float y) {
    if (editorMode_) {
        editor_->MouseDown(button, x, y);
    } else {
        ResultMouseDown(button, shift, x, y);
    }
    Picture1->update();
}

void MainWindow::Picture1_MouseMove(int button, int shift, float x, float y) {
    UpdateCoordinates(x, y);
    if (editorMode_) {
        editor_->MouseMove(button, x, y);
    } else {
        ResultMouseMove(button, shift, x, y);
    }
    Picture1->update();
}

void MainWindow::Picture1_MouseUp(int button, int /*shift*/, float x, float y) {
    if (editorMode_) {
        editor_->MouseUp(button, x, y);
        Picture1->update();
    }
}

}  // namespace tesvid
