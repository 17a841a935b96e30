#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <array>
#include <atomic>
#include <memory>

#include "app/platform_services.h"
#include "model/geometry_editor.h"
#include "model/model.h"
#include "view/force_lines.h"
#include "view/view_options.h"
#include "solver/coil_quantities.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QToolButton;

namespace tesvid {

class FloatProgressBar;
class OptionsDialog;
class PictureBox;

// State of the result views (distribution windows and the like), defined by the result-view
// code in main_window_result.cpp.
struct ResultViews;
struct ResultViewsDeleter {
    void operator()(ResultViews* views) const;
};
// State of the file commands, defined in main_window_files.cpp.
struct FileCommands;
struct FileCommandsDeleter {
    void operator()(FileCommands* files) const;
};

// The main window Form1: the drawing area in its editing or result view, the palette and
// tools, the view and run commands, the coil panel, the progress bars and the menus. Owns the
// one Model of the program and the options dialog.
//
// The code is spread over several files by subject:
//   main_window.cpp          start-up, shutdown, view commands, RUN and Stop, copy, options, help
//   main_window_layout.cpp   the controls at their places
//   main_window_coils.cpp    the coil panel (sliders, Misc)
//   main_window_result.cpp   the result view: drawing it, the probe's mouse handling, the
//                            distribution windows, the intermediate potential view
//   main_window_files.cpp    New/Open/Save/Export/Print and FileOpen
// Controls are public members named as on the form, so every part (and the tests) reach them.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(PlatformServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    Model& model() { return model_; }
    const Model& model() const { return model_; }
    OptionsDialog& frmOptions() { return *options_; }
    PointerState& Pointer() { return pointer_; }
    GeometryEditor& Editor() { return *editor_; }
    PlatformServices& Services() { return services_; }
    // True while a calculation runs inside RUN.
    bool Calculating() const { return calculating_; }
    bool EditorMode() const { return editorMode_; }
    bool StopRequested() const { return stopRequested_; }
    ViewOptions& ViewSettings() { return viewOptions_; }

    // Commands (the handlers of the buttons and menu items).
    void Command1_Click();       // Editor
    void CommandResult_Click();  // Result
    void Finish_Click();         // RUN
    void CommandStop_Click();    // Stop
    void mnuFileNew_Click();
    void mnuFileExit_Click();
    void mnuCopyPicture_Click();
    void mnuCopyScale_Click();
    void mnuCopyZ_Click();
    void mnuCopyR_Click();
    void mnuOptions_Click();
    void mnuHelp_Click();
    void OptionColor_Click(int index);
    void Option1_Click(int index);
    void Slider_Change(int coil);

    // The file commands (main_window_files.cpp). While a calculation runs the menu does not
    // start them (see ConnectControls).
    void mnuFileSample_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileExportText_Click();
    void mnuFilePrint_Click();
    // Reads a project file; with noDialog the file name is used as given.
    void FileOpen(bool noDialog, const QString& filename);

    // The coil panel's derived quantities from the coil nodes on the drawing area.
    void Misc();

    // The drawing area's mouse events (user units, VB button masks).
    void Picture1_MouseDown(int button, int shift, float x, float y);
    void Picture1_MouseMove(int button, int shift, float x, float y);
    void Picture1_MouseUp(int button, int shift, float x, float y);

    // The result view (main_window_result.cpp).
    // The Result command's work: EditorMode off, EvaluateField, no cross-hair, the views the
    // check boxes choose, one pass of the event loop, the distribution windows.
    void ShowResultView();
    // The probe's part of the mouse events in the result view; the coordinate read-out has
    // been updated before ResultMouseMove is called.
    void ResultMouseMove(int button, int shift, float x, float y);
    void ResultMouseDown(int button, int shift, float x, float y);
    // After a solver pass with ShowIntermediate set: the potential view.
    void DrawIntermediate();
    // The graph area of the R (true) or Z (false) distribution window as an image.
    QImage DistributionImage(bool r);
    // Closes the distribution windows at shutdown.
    void CloseResultWindows();

    // The chosen tool and the palette's chosen material.
    DrawTool ChosenTool() const;
    int ChosenColor() const;

    // --- Controls, named as on the form ---
    PictureBox* Picture1 = nullptr;  // drawing area, 400 x 400 inside a sunken border
    PictureBox* Picture3 = nullptr;  // colour-scale strip
    QLabel* Label2 = nullptr;        // "0"
    QLabel* Label3 = nullptr;        // "Radius"
    QLabel* Label4 = nullptr;        // area size, mm
    QGroupBox* Frame9 = nullptr;     // "Field, Gauss"
    QLabel* LabelB = nullptr;
    QLabel* LabelBr = nullptr;
    QLabel* LabelBz = nullptr;
    QGroupBox* Frame3 = nullptr;  // "Coordinates"
    QLabel* CoR = nullptr;
    QLabel* CoZ = nullptr;
    QGroupBox* Frame2 = nullptr;  // "Material"
    std::array<QToolButton*, 7> OptionColor{};
    std::array<QLabel*, 7> Label1{};
    QGroupBox* Frame1 = nullptr;  // "Drawing"
    std::array<QToolButton*, 3> Option1{};
    QGroupBox* Frame8 = nullptr;  // "Picture"
    QPushButton* Command1 = nullptr;
    QPushButton* CommandResult = nullptr;
    QCheckBox* CheckDrawField = nullptr;
    QCheckBox* CheckDrawForceLines = nullptr;
    QPushButton* Finish = nullptr;
    QPushButton* CommandStop = nullptr;
    QGroupBox* Frame7 = nullptr;  // "Coils"
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QSlider* Slider1 = nullptr;
    QSlider* Slider2 = nullptr;
    QLineEdit* TextCurrent1 = nullptr;
    QLineEdit* TextCurrent2 = nullptr;
    QLineEdit* TextVit1 = nullptr;
    QLineEdit* TextVit2 = nullptr;
    QLineEdit* TextCurDens1 = nullptr;
    QLineEdit* TextCurDens2 = nullptr;
    QLineEdit* TextPower1 = nullptr;
    QLineEdit* TextPower2 = nullptr;
    QGroupBox* Frame6 = nullptr;
    QGroupBox* Frame5 = nullptr;  // "Error"
    QGroupBox* Frame4 = nullptr;  // "Progress"
    FloatProgressBar* ProgressError = nullptr;
    FloatProgressBar* ProgressProgress = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuCopy = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileSample = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileExportText = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuCopyPicture = nullptr;
    QAction* mnuCopyScale = nullptr;
    QAction* mnuCopyZ = nullptr;
    QAction* mnuCopyR = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuHelp = nullptr;

  signals:
    // The window has closed and written the settings.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    class RunObserver;

    void BuildLayout();
    void BuildMenus();
    void ConnectControls();
    void Form_Load();
    void Form_Unload();
    void UpdateCoordinates(float x, float y);
    // Misc in two steps: the figures from a sampled map, then the texts and the model.
    void ComputeCoilPanel(const Grid2D<MaterialCode>& sampled, CoilFigures& coil1,
                          CoilFigures& coil2) const;
    void ShowCoilPanel(const CoilFigures& coil1, const CoilFigures& coil2);
    // The drawing area cleared to Vacuum with the material map painted back.
    void RestoreDrawing();

    PlatformServices services_;
    Model model_;
    PointerState pointer_;
    std::unique_ptr<GeometryEditor> editor_;
    OptionsDialog* options_ = nullptr;
    QButtonGroup* colorGroup_ = nullptr;
    QButtonGroup* toolGroup_ = nullptr;
    ViewOptions viewOptions_;
    ForceLineGrids forceLineGrids_;
    // The editing view is on (else the result view).
    bool editorMode_ = true;
    // Stop was pressed; cleared when a calculation or a force-line drawing starts.
    std::atomic<bool> stopRequested_ = false;
    bool calculating_ = false;
    bool closeAfterRun_ = false;
    bool unloaded_ = false;
    std::unique_ptr<ResultViews, ResultViewsDeleter> resultViews_;
    std::unique_ptr<FileCommands, FileCommandsDeleter> fileCommands_;
};

}  // namespace tesvid
