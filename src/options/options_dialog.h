#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

#include "model/drawing_surface.h"
#include "model/model.h"
#include "view/view_options.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tesvid {

class Dialogs;
class HelpViewer;
class SettingsStore;

// The options dialog frmOptions: area and grid, iron and magnet constants, solver schedule,
// coil limits and wire diameters, print and force-line scales, two display switches and the
// project comment. It edits texts only; Text_to_Var carries them into the model (on OK, and at
// start-up after RegistryRead), Var_to_Text the other way (before it is shown, and before
// RegistryWrite). Created hidden with the first-start texts and kept for the program's life.
class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kApplication = "Vezozo";

    OptionsDialog(Model& model, ViewOptions& viewOptions, Dialogs& dialogs, HelpViewer& help, QWidget* parent = nullptr);

    // The main window's area caption and drawing area, which Text_to_Var keeps in step.
    void AttachDrawing(QLabel* areaLabel, DrawingSurface* picture);

    // Fills the controls from the model and shows the dialog modally; returns once it is
    // hidden again (OK or Cancel).
    void Start();
    void Var_to_Text();
    void Text_to_Var();
    // The settings store: every text box, check box and the grid list, by frame and control
    // name. Unusable stored values fall back to the first-start texts.
    void RegistryRead(SettingsStore& store);
    void RegistryWrite(SettingsStore& store);

    // Handlers.
    void cmdOK_Click();
    void cmdCancel_Click();
    void CommandHelp_Click();
    void RefreshGridStep();  // ComboGrid_Click and TextAreaSize_Change

    // The message of the first field that cannot be used, with that field, or nothing.
    struct Refusal {
        QString message;
        QWidget* field = nullptr;
    };
    std::optional<Refusal> CheckTexts() const;

    // Controls, by their names.
    QComboBox* ComboGrid = nullptr;
    QLineEdit* TextAreaSize = nullptr;
    QLabel* LabelGridStep = nullptr;
    QLineEdit* TextRjac0 = nullptr;
    QLineEdit* TextRjac1 = nullptr;
    QLineEdit* TextRjacFin = nullptr;
    QLineEdit* TextMainSteps = nullptr;
    QLineEdit* TextKMu = nullptr;
    QLineEdit* TextPrintScale = nullptr;
    QLineEdit* TextLineStep = nullptr;
    QLineEdit* TextSteelMu = nullptr;
    QLineEdit* TextSteelMaxB = nullptr;
    QLineEdit* TextDProv1 = nullptr;
    QLineEdit* TextDProv2 = nullptr;
    QLineEdit* TextMaxTok1 = nullptr;
    QLineEdit* TextMaxTok2 = nullptr;
    QLineEdit* TextMagBr = nullptr;
    QLineEdit* TextMagBHmax = nullptr;
    QLineEdit* TextMagHc = nullptr;
    QPlainTextEdit* TextComments = nullptr;
    QCheckBox* CheckShowIntermediate = nullptr;
    QCheckBox* CheckShowCrossSections = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* CommandHelp = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct TextField {
        const char* section;
        QLineEdit* edit;
        const char* firstStart;
    };

    void BuildLayout();
    QLineEdit* AddEdit(QWidget* frame, const char* name, int x, int y, int w);
    QLabel* AddLabel(QWidget* frame, const QString& text, int x, int y, int w, int h = 16);

    Model& model_;
    ViewOptions& viewOptions_;
    Dialogs& dialogs_;
    HelpViewer& help_;
    QLabel* areaLabel_ = nullptr;
    DrawingSurface* picture_ = nullptr;
    std::vector<TextField> textFields_;
};

}  // namespace tesvid
