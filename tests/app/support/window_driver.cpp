#include "app/support/window_driver.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "platform/picture_box.h"

namespace tesvid::testing {

QPoint NodePosition(MainWindow& window, int i, int j) {
    return window.Picture1->ToWidget(i, j);
}

void DragOnPicture(MainWindow& window, Qt::MouseButton button, const std::vector<Node>& path) {
    QWidget* area = window.Picture1;
    QTest::mousePress(area, button, {},
                      NodePosition(window, path.front().first, path.front().second));
    for (std::size_t k = 1; k < path.size(); ++k) {
        QTest::mouseMove(area, NodePosition(window, path[k].first, path[k].second));
    }
    QTest::mouseRelease(area, button, {},
                        NodePosition(window, path.back().first, path.back().second));
}

void HoverOverPicture(MainWindow& window, int i, int j) {
    const QPointF pos = NodePosition(window, i, j);
    QMouseEvent move(QEvent::MouseMove, pos, window.Picture1->mapToGlobal(pos), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.Picture1, &move);
}

void ClickButton(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

void ChooseMaterial(MainWindow& window, int paletteIndex) {
    ClickButton(window.OptionColor[static_cast<std::size_t>(paletteIndex)]);
}

void ChooseTool(MainWindow& window, DrawTool tool) {
    ClickButton(window.Option1[static_cast<std::size_t>(tool)]);
}

MaterialCode NodeMaterial(MainWindow& window, int i, int j) {
    return MaterialFromColor(window.Picture1->Surface().ReadPoint(i, j));
}

std::set<Node> NodesOf(MainWindow& window, MaterialCode material) {
    std::set<Node> nodes;
    const int n = window.model().project.GridSize;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            if (NodeMaterial(window, i, j) == material) {
                nodes.insert({i, j});
            }
        }
    }
    return nodes;
}

std::set<Node> NodeBlock(int a, int b, int c, int d, int gridSize) {
    std::set<Node> nodes;
    for (int i = std::max(0, std::min(a, c)); i <= std::min(gridSize - 1, std::max(a, c)); ++i) {
        for (int j = std::max(0, std::min(b, d)); j <= std::min(gridSize - 1, std::max(b, d));
             ++j) {
            nodes.insert({i, j});
        }
    }
    nodes.erase({0, 0});
    return nodes;
}

}  // namespace tesvid::testing
