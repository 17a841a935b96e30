#pragma once

#include <QLineEdit>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "model/material_code.h"
#include "options/options_dialog.h"
#include "platform/picture_box.h"

namespace tesvid::testing {

using Node = std::pair<int, int>;

// A main window over faked services, created over the settings text given and shown.
struct Session {
    explicit Session(const QByteArray& settings = {});
    TestServices services;
    MainWindow w;
};

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
inline PictureBox& DrawingArea(MainWindow& w) {
    return Child<PictureBox>(w, "drawingArea");
}

// What the user does: a click on a button, a menu command, text typed over a box's text, a
// drag with one mouse button through grid nodes (pressed at the first, released at the last),
// the pointer over a node or a place of the drawing area, a click there. A click on the main
// window's RUN waits until the calculation it started (if any) has ended and its result is on
// show: StartRun clicks RUN without waiting.
void Click(const QObject& root, const char* button);
void StartRun(const MainWindow& w);
void Trigger(MainWindow& w, const char* action);
void TypeInto(const QObject& root, const char* box, const QString& text);
void DragOnPicture(MainWindow& w, Qt::MouseButton button, const std::vector<Node>& path);
void HoverAt(MainWindow& w, QPointF widgetPosition);
inline void HoverOverPicture(MainWindow& w, int i, int j) {
    HoverAt(w, DrawingArea(w).ToWidget(i, j));
}
void ClickOnPicture(MainWindow& w, int i, int j);
void ChooseMaterial(MainWindow& w, int paletteIndex);
// The test coil on the first-start 50 grid over 100 mm: Coil 1 at i 10..12, j 20..30, 1 A
// through 1 mm wire (1e6 A/m2).
void PaintTestCoil(MainWindow& w);
// Opens the options dialog and runs the action while it is shown modally; the dialog is
// cancelled afterwards if the action left it open.
void WithOptions(MainWindow& w, const std::function<void(OptionsDialog&)>& action);

// The material of a node as the drawing area shows it, and every node of one material.
MaterialCode NodeMaterial(MainWindow& w, int i, int j);
std::set<Node> NodesOf(MainWindow& w, MaterialCode material);
// The nodes a..c by b..d of a grid of n, less node (0, 0) and the last row and column.
std::set<Node> NodeBlock(int a, int b, int c, int d, int n);

}  // namespace tesvid::testing
