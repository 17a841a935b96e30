#pragma once

#include <QMainWindow>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/distribution_window.h"
#include "app/platform_services.h"
#include "model/drawing_history.h"
#include "model/geometry_editor.h"
#include "model/model.h"
#include "model/typed_rectangle.h"
#include "solver/coil_quantities.h"
#include "view/distribution_graph.h"
#include "view/force_lines.h"
#include "view/view_options.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QSlider;

namespace tesvid {

class FiguresWindow;
class CalculationRunner;
struct CalculationOutcome;
class FloatProgressBar;
class OptionsDialog;
class PictureBox;
class RectangleDialog;
class QImageSurface;

// The main window: the drawing area in its editing or result view, the palette and tools, the
// view and run commands, the coil panel, the progress bars and the menus. Owns the one Model of
// the program, the options dialog and the distribution windows.
//
// The code is spread over several files by subject:
//   main_window.cpp          start-up, shutdown, view commands, RUN and Stop, options, copy,
//                            help, the drawing area's mouse
//   main_window_layout.cpp   the controls at their places, the menus
//   main_window_coils.cpp    the coil panel
//   main_window_result.cpp   the result view: drawing it, the probe, the distribution windows
//   main_window_files.cpp    New, Open, Save, Export, Print
//   main_window_figures.cpp  the engineering figures: the Figures window, the chosen body,
//                            the flux at the probe
//   main_window_zoom.cpp     View > Zoom, the status line
//   main_window_typed.cpp    Draw > Rectangle (geometry by numbers)
//   main_window_undo.cpp     Edit > Undo and Redo of the drawing
//   main_window_desktop.cpp  Save Picture, Open Recent, the shortcuts, the title and the
//                            question before unsaved changes are lost
//   main_window_run.cpp      the calculation on its worker thread, the intermediate view and
//                            the outcome in words
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(PlatformServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens a project file without asking for it (the project named on the command line).
    void openProject(const QString& path);

    // What the window holds and shows.
    const Model& model() const { return model_; }
    bool resultOnShow() const { return !editorMode_; }
    // True while a calculation runs, or while a force-line drawing or a report yields to the
    // event loop.
    bool isBusy() const { return busy_; }

    // Undo and the unsaved-changes mark (main_window_undo.cpp, main_window_desktop.cpp).
    // Paints on the editing view's drawing as one step of Edit > Undo (a figure typed in, say);
    // a result on show gives way to the editing view first. False, with nothing painted, while
    // the window is busy.
    bool paintAsOneStep(const std::function<void(QImageSurface&)>& paint);
    // The drawing or the project's values have changed since the project was opened or saved.
    bool hasUnsavedChanges() const { return unsaved_; }

  signals:
    // The window has closed and written the settings.
    void closed();
    // A calculation started by RUN has ended and its result (if any) is on show.
    void calculationFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    class ProbeWindows;

    // A grid and area chosen in the options while a result is on show: the result keeps the
    // grid and area it was calculated with until the next RUN or Editor.
    struct GridChoice {
        std::int16_t gridSize;
        float areaSize;
        double gridStep;
    };

    // One column of the coil panel.
    struct CoilColumn {
        QSlider* slider = nullptr;
        QLineEdit* current = nullptr;
        QLineEdit* turns = nullptr;
        QLineEdit* density = nullptr;
        QLineEdit* power = nullptr;
    };

    void buildLayout();
    void buildMenus();
    void startUp();

    // Commands.
    void onEditor();
    void onResult();
    void onRun();
    void onStop();
    void onNewProject();
    void onOpenSample();
    void onOpenProject();
    void onSaveProject();
    void onExportText();
    void onPrint();
    void onCopyPicture();
    void onCopyScale();
    void onCopyDistribution(GraphAxis axis);
    void onOptions();
    void onHelp();
    void onMaterialChosen(int paletteIndex);
    void onToolChosen(int tool);
    void applyOptions(const Project& project, const ViewOptions& view);

    // The drawing area's mouse: the geometry editor in the editing view, the probe in the
    // result view; the coordinate read-out in both.
    void onDrawingPressed(Qt::MouseButton button, QPointF point);
    void onDrawingMoved(Qt::MouseButtons buttons, QPointF point);
    void onDrawingReleased(Qt::MouseButton button, QPointF point);
    void showCoordinates(QPointF point);
    // The probe: a move shows the coordinates, the field and the graphs of the node under the
    // pointer (unless the probe is held there); a press holds or releases it.
    void moveProbe(QPointF point);
    void pressProbe();

    // The views.
    void enterEditingView();
    void showResultView();
    // The drawing area cleared to Vacuum with the material map painted back.
    void restoreDrawing();
    // The picture was replaced: no cross-hair is on it and the probe is free.
    void forgetCrossHair();
    // The drawing area's scale and pen, and the area caption, for the project's grid and area.
    void fitDrawingAreaToGrid();
    // The project with the grid and area chosen in the options.
    Project projectInForce() const;
    // Takes the grid and area chosen in the options into the project.
    void applyPendingGrid();
    // Closes the window if it was asked to close while busy; true if it did.
    bool closeIfAsked();

    // The coil panel.
    void onSliderMoved(int coil);
    void onCurrentEdited(int coil);
    // The slider of a coil at the current its box shows (as near as its range allows).
    void moveSliderToCurrent(int coil);
    // The coil panel's inputs: the project's grid step and wire diameters, the currents typed.
    CoilInputs coilInputs(const Project& project) const;
    // The coils' currents and current densities into the project.
    void takeCoilCurrents(const CoilFigures& coil1, const CoilFigures& coil2);
    // The turns, densities and powers; the current of a coil not on the map is 0.
    void showCoilPanel(const CoilFigures& coil1, const CoilFigures& coil2);

    // The file commands' steps.
    void openProjectFile(const QString& path);
    std::optional<QString> askSaveName(const QString& title, const QString& filter);
    void reportWriteFailure(const QString& what, const QString& path, const std::string& reason);

    // Undo and Redo, Save Picture, Open Recent, the shortcuts, the title and the unsaved-changes
    // question (main_window_undo.cpp, main_window_desktop.cpp).
    void buildDesktopCommands(QMenuBar* bar, QMenu* file);
    void onUndo();
    void onRedo();
    void moveInHistory(bool (DrawingHistory::*move)(RasterSurface&));
    // A stroke of the editor: the mouse-down that starts it, the mouse-up that commits it.
    void beginStroke();
    void endStroke();
    // The picture was replaced other than by a step (New, Open): the history is forgotten.
    void clearHistory();
    // Forgets the history if the picture is no longer the one its last change left (redrawn
    // from the material map, or painted over by a calculation's view).
    void checkHistoryPicture();
    // The editing view for an edit made with a result on show: the drawing the history left
    // when it holds the materials the result was calculated from, else the redrawn map.
    void showDrawingToEdit();
    // After a step, an undo or a redo: the picture on screen, the commands, the mark.
    void drawingEdited();
    void updateUndoCommands();
    void onSavePicture();
    void onOpenRecent(const QString& path);
    void rememberRecentFile(const QString& path);
    void showRecentFiles();
    void markUnsaved();
    // The project's file after an open or a save: the title, the mark cleared, Open Recent.
    void setProjectFile(const QString& path);
    void updateTitle();
    // Asks whether to save unsaved changes before they are lost; true when the command may go on
    // (saved, discarded, or nothing to save).
    bool maySaveChanges();

    PlatformServices services_;
    Model model_;
    std::optional<GridChoice> pendingGrid_;
    ViewOptions viewOptions_;
    PointerState pointer_;
    ForceLineGrids forceLineGrids_;
    std::unique_ptr<GeometryEditor> editor_;
    // The editing view is on (else the result view).
    bool editorMode_ = true;
    // Stop was pressed; cleared when a calculation or a force-line drawing starts.
    std::atomic<bool> stopRequested_ = false;
    bool busy_ = false;
    bool closeWhenDone_ = false;
    bool settingsWritten_ = false;
    // The name the file dialogs start from, and the project's file (last opened or saved).
    QString fileDialogName_;
    QString projectFile_;

    // Geometry by numbers, the zoomable view, the status line (main_window_typed.cpp,
    // main_window_zoom.cpp).
    void buildViewMenus(QMenuBar* bar);
    void onTypedRectangle();
    // The typed rectangle on the grid the editing view will have, or nothing after telling the
    // user why it cannot be painted.
    std::optional<PlacedRectangle> placeTypedRectangle(const TypedRectangle& typed);
    // Paints the placed rectangle on the editing view's drawing (one drawing step).
    void paintTypedRectangle(const PlacedRectangle& placed);
    // Shows the drawing area's pixels as k x k blocks (1..3) and fits the window to it.
    void setZoom(int k);
    void chooseZoom(int k);  // the user's choice, kept in the settings
    int storedZoom();
    void showPointerStatus(QPointF point);
    RectangleDialog* rectangleDialog_ = nullptr;
    int zoom_ = 1;
    std::vector<std::pair<QWidget*, QRect>> layoutAtOneX_;
    std::array<QAction*, 3> zoomActions_{};

    PictureBox* drawingArea_ = nullptr;
    PictureBox* colorScale_ = nullptr;
    QLabel* areaSizeLabel_ = nullptr;
    QLabel* fieldB_ = nullptr;
    QLabel* fieldBr_ = nullptr;
    QLabel* fieldBz_ = nullptr;
    QLabel* radiusReadout_ = nullptr;
    QLabel* axialReadout_ = nullptr;
    QButtonGroup* materialButtons_ = nullptr;
    QButtonGroup* toolButtons_ = nullptr;
    QGroupBox* viewGroup_ = nullptr;
    QCheckBox* drawFieldCheck_ = nullptr;
    QCheckBox* drawForceLinesCheck_ = nullptr;
    std::array<CoilColumn, 2> coils_{};
    FloatProgressBar* errorBar_ = nullptr;
    FloatProgressBar* progressBar_ = nullptr;
    OptionsDialog* options_ = nullptr;
    DistributionWindows distributionWindows_{this};

    // Engineering figures (main_window_figures.cpp): the Figures window, computed from the
    // field whenever one is shown or a project is opened; a click in the result view chooses
    // the body under the pointer and outlines it (inverted pixels, offsets into the drawing
    // area's pixel block, inverted again to remove them); the flux at the probe.
    void setUpFigures();
    void onShowFigures();
    void onCopyFigures();
    // fieldIsResult: the potential is a calculation's, not one read from a file.
    void refreshFigures(bool fieldIsResult);
    void forgetChosenBody();
    void chooseBody(QPointF point);
    void showProbeFlux();
    FiguresWindow* figuresWindow_ = nullptr;
    std::vector<int> bodyOutline_;
    QLabel* fieldFlux_ = nullptr;
    // Undo, the unsaved-changes mark, Open Recent.
    DrawingHistory history_;
    std::vector<std::uint32_t> historyPixels_;  // the picture the history's last change left
    bool unsaved_ = false;
    QStringList recentFiles_;  // newest first
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    // The calculation on a worker thread (main_window_run.cpp): RUN hands a model of its own
    // to the runner; the window's model changes only when the calculation has ended.
    void buildCalculationRunner();
    void startCalculation(Model job);
    void onPassShown();
    void onCalculationEnded();
    // The commands that would change what a calculation works on, off while it runs.
    void setRunCommandsEnabled(bool enabled);
    // While a calculation runs the drawing is not edited, nor probed under the intermediate
    // view: the pointer shows its coordinates only.
    bool drawingLockedByRun() const;
    void showOutcome(const CalculationOutcome& outcome);
    // Declared after stopRequested_, which it reads: it is destroyed (and joined) first.
    std::unique_ptr<CalculationRunner> runner_;
    // The drawing area's pixels when the calculation started, put back if it diverges.
    std::vector<std::uint32_t> pictureBeforeRun_;
    // The controls switched off for the calculation, with the state they go back to.
    std::vector<std::pair<QPointer<QObject>, bool>> lockedByRun_;
    QLabel* outcomeLine_ = nullptr;
};

}  // namespace tesvid
