#pragma once

#include <QLineEdit>
#include <QPoint>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "model/material_code.h"

namespace tesvid {
class OptionsDialog;
}

namespace tesvid::testing {

using Node = std::pair<int, int>;

// A control of a window by its name; a missing one ends the test program.
template <typename T = QWidget>
T& Child(const QObject& root, const char* name) {
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control named %s", name);
    }
    return *found;
}
QString TextOf(const QObject& root, const char* name);  // of a label or a text box
PictureBox& DrawingArea(MainWindow& window);

// What the user does: a click on a button, a menu command, a drag with one mouse button
// through grid nodes (pressed at the first, released at the last), the pointer over a node,
// text typed into a box that replaces what it held.
void Click(const QObject& root, const char* button);
void Trigger(MainWindow& window, const char* action);
void DragOnPicture(MainWindow& window, Qt::MouseButton button, const std::vector<Node>& path);
void HoverOverPicture(MainWindow& window, int i, int j);
void HoverAt(MainWindow& window, QPointF widgetPosition);
void TypeInto(QLineEdit& box, const QString& text);
void ChooseMaterial(MainWindow& window, int paletteIndex);
// The test coil on the first-start 50 grid over 100 mm: Coil 1 at i 10..12, j 20..30, 1 A
// through 1 mm wire (1e6 A/m2).
void PaintTestCoil(MainWindow& window);

// Opens the options dialog and runs the action while it is shown modally; the dialog is
// cancelled afterwards if the action left it open.
void WithOptions(MainWindow& window, const std::function<void(OptionsDialog&)>& action);
QLineEdit& OptionsEdit(OptionsDialog& dialog, const char* name);

// The material of a node as the drawing area shows it, and every node of one material.
MaterialCode NodeMaterial(MainWindow& window, int i, int j);
std::set<Node> NodesOf(MainWindow& window, MaterialCode material);
// The nodes a..c by b..d on the area, less node (0, 0).
std::set<Node> NodeBlock(int a, int b, int c, int d, int gridSize);

}  // namespace tesvid::testing
