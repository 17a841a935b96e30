#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "model/model.h"
#include "solver/engineering_figures.h"

class QLabel;

namespace tesvid {

class Clipboard;

// The "Figures" window: a small tool window, not modal, that lists the engineering figures of
// the field last shown (each coil's inductance, flux linkage, axial force, turns, current,
// resistance and power, and the stored energy) and the axial force on the body last chosen
// in the result view, or says why there are none. Its Copy button puts the figures on the
// clipboard as text, one line each.
class FiguresWindow : public QWidget {
    Q_OBJECT
  public:
    FiguresWindow(Clipboard& clipboard, QWidget* parent);

    // The figures of the field in the model, computed now, with its currents and constants as
    // they are. fieldIsResult: the potential is a calculation's (even all zeros, as with no
    // current); otherwise a potential of zeros is taken for a project saved before any
    // calculation and gives no figures. Forgets the chosen body.
    void ShowField(const Model& m, bool fieldIsResult);

    // Chooses the body of node (i, j) and shows the force on it; true if there was one. A
    // Vacuum node (or one off the grid) leaves a note saying so and no body.
    bool ChooseBody(const Model& m, int i, int j);
    // The body line back to its hint (the result was replaced).
    void ForgetBody();

    // The figures as text, as Copy puts them on the clipboard and the report prints them: one
    // line each (with the chosen body's), or the reason there are none.
    std::vector<std::string> Lines() const;
    QString Text() const;
    void CopyToClipboard();

    // The place of the window's frame the first time it is shown: under the main window's
    // frame, kept on the screen; after that it stays where the user left it.
    void ShowBeside(const QWidget& mainWindow);

  private:
    void refresh();

    Clipboard& clipboard_;
    // Figures of the field last shown, or why there are none.
    std::optional<EngineeringFigures> figures_;
    std::string refusal_;
    // The body line: a body's force (in figures_->bodies) or a note.
    QString bodyNote_;
    bool placed_ = false;

    QLabel* table_ = nullptr;
    QLabel* body_ = nullptr;
};

}  // namespace tesvid
