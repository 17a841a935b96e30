#pragma once

#include <QDialog>
#include <QString>

#include "model/typed_rectangle.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tesvid {

// Draw > Rectangle: a rectangle of one material typed in millimetres, r (from the axis) and z
// (from the top edge) each from..to. The material is one of the palette's names, chosen or
// typed. The dialog keeps its texts from one use to the next; the main window places and
// paints the rectangle.
class RectangleDialog : public QDialog {
    Q_OBJECT
  public:
    explicit RectangleDialog(QWidget* parent = nullptr);

    // Chooses a material by its palette name.
    void setMaterial(const QString& name);
    // Shows the dialog modally with the area's side in its hint; true when OK was pressed.
    bool ask(const QString& areaText);
    // The rectangle as typed; a bound that is not a number is NaN.
    TypedRectangle rectangle() const;

  private:
    QComboBox* material_;
    QLineEdit* rFrom_;
    QLineEdit* rTo_;
    QLineEdit* zFrom_;
    QLineEdit* zTo_;
    QLabel* hint_;
};

}  // namespace tesvid
