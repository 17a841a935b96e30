#pragma once

#include <QPoint>
#include <set>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "model/material_code.h"

namespace tesvid::testing {

using Node = std::pair<int, int>;

// Widget position of a grid node on the main window's drawing area.
QPoint NodePosition(MainWindow& window, int i, int j);

// A drag with one mouse button through the nodes, pressed at the first and released at the
// last, as real mouse events on the drawing area.
void DragOnPicture(MainWindow& window, Qt::MouseButton button, const std::vector<Node>& path);
// The pointer moved over a node with no button held.
void HoverOverPicture(MainWindow& window, int i, int j);
// A click of a button or a menu command, as the user makes it.
void ClickButton(QWidget* button);
void ChooseMaterial(MainWindow& window, int paletteIndex);
void ChooseTool(MainWindow& window, DrawTool tool);

// The material of a node as the drawing area shows it, and every node of one material.
MaterialCode NodeMaterial(MainWindow& window, int i, int j);
std::set<Node> NodesOf(MainWindow& window, MaterialCode material);
// The nodes a..c by b..d on the area, less node (0, 0).
std::set<Node> NodeBlock(int a, int b, int c, int d, int gridSize);

}  // namespace tesvid::testing
