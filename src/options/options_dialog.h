#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "model/project.h"
#include "options/option_checks.h"
#include "view/view_options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tesvid {

class Dialogs;
class HelpViewer;
class SettingsStore;

// The options dialog: area and grid, iron and magnet constants, solver schedule, coil limits
// and wire diameters, print and force-line scales, two display switches, the choice of the
// colour report and the project comment. It edits texts; OK checks them and tells the main
// window the options chosen (optionsApplied). The settings store keeps the texts between
// sessions. Created hidden and kept for the program's life.
class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    // The settings store's application name.
    static constexpr const char* kApplication = "Vezozo";

    struct Options {
        Project project;
        ViewOptions view;
    };

    OptionsDialog(Dialogs& dialogs, HelpViewer& help, QWidget* parent = nullptr);

    // Shows the options of the project and the view modally; returns once the dialog is hidden
    // again. OK emits optionsApplied with the project changed as the texts say.
    void edit(const Project& project, const ViewOptions& view);

    // The options kept in the settings store over the first-start project
    // (FirstStartProject()); a stored text the calculation cannot use gives way to the
    // first-start one.
    Options readSettings(SettingsStore& store);
    void writeSettings(SettingsStore& store, const Project& project, const ViewOptions& view);

  signals:
    void optionsApplied(const tesvid::Project& project, const tesvid::ViewOptions& view);

  private:
    // A text field with its place in the settings store, its rule and the message that refuses
    // a text breaking the rule.
    struct TextField {
        const char* section;
        const char* key;
        QLineEdit* edit;
        TextRule rule;
        QString refusal;
        QString firstStart;
    };

    void buildLayout();
    QLineEdit* addEdit(QWidget* group, const char* name, int x, int y, int w);
    void fill(const Project& project, const ViewOptions& view);
    Options fromTexts(const Project& base) const;
    void refreshGridStep();
    // The display and report switches with their stored keys.
    std::array<std::pair<QCheckBox*, const char*>, 3> switches() const;
    void onOk();

    Dialogs& dialogs_;
    HelpViewer& help_;
    // The project being edited: what the dialog does not show passes through unchanged.
    Project edited_;
    std::vector<TextField> fields_;  // in the order they stand on the dialog
    QComboBox* gridCombo_ = nullptr;
    QLineEdit* areaSize_ = nullptr;
    QLabel* gridStep_ = nullptr;
    QLineEdit* initialRadius_ = nullptr;
    QLineEdit* mainRadius_ = nullptr;
    QLineEdit* finalRadius_ = nullptr;
    QLineEdit* passes_ = nullptr;
    QLineEdit* reluctivityRelaxation_ = nullptr;
    QLineEdit* printScale_ = nullptr;
    QLineEdit* lineStep_ = nullptr;
    QLineEdit* ironMu_ = nullptr;
    QLineEdit* ironSaturation_ = nullptr;
    QLineEdit* wireDiameter1_ = nullptr;
    QLineEdit* wireDiameter2_ = nullptr;
    QLineEdit* maxCurrent1_ = nullptr;
    QLineEdit* maxCurrent2_ = nullptr;
    QLineEdit* magnetBr_ = nullptr;
    QLineEdit* magnetBHmax_ = nullptr;
    QLineEdit* magnetHc_ = nullptr;
    QPlainTextEdit* comments_ = nullptr;
    QCheckBox* showIntermediate_ = nullptr;
    QCheckBox* showCrossSections_ = nullptr;
    QCheckBox* colorReport_ = nullptr;
};

}  // namespace tesvid
