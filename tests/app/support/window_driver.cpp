#include "app/support/window_driver.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "options/options_dialog.h"
#include "platform/picture_box.h"

namespace tesvid::testing {

QString TextOf(const QObject& root, const char* name) {
    if (auto* box = root.findChild<QLineEdit*>(name)) {
        return box->text();
    }
    return Child<QLabel>(root, name).text();
}

PictureBox& DrawingArea(MainWindow& window) {
    return Child<PictureBox>(window, "drawingArea");
}

void Click(const QObject& root, const char* button) {
    QTest::mouseClick(&Child(root, button), Qt::LeftButton);
}

void Trigger(MainWindow& window, const char* action) {
    Child<QAction>(window, action).trigger();
}

void DragOnPicture(MainWindow& window, Qt::MouseButton button, const std::vector<Node>& path) {
    PictureBox& area = DrawingArea(window);
    auto at = [&](const Node& n) { return area.ToWidget(n.first, n.second); };
    QTest::mousePress(&area, button, {}, at(path.front()));
    for (std::size_t k = 1; k < path.size(); ++k) {
        QTest::mouseMove(&area, at(path[k]));
    }
    QTest::mouseRelease(&area, button, {}, at(path.back()));
}

void HoverAt(MainWindow& window, QPointF pos) {
    PictureBox& area = DrawingArea(window);
    QMouseEvent move(QEvent::MouseMove, pos, area.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&area, &move);
}

void HoverOverPicture(MainWindow& window, int i, int j) {
    HoverAt(window, DrawingArea(window).ToWidget(i, j));
}

void TypeInto(QLineEdit& box, const QString& text) {
    box.setFocus();
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, text);
}

void ChooseMaterial(MainWindow& window, int paletteIndex) {
    Click(window, qPrintable(QStringLiteral("materialButton%1").arg(paletteIndex)));
}

void PaintTestCoil(MainWindow& window) {
    DragOnPicture(window, Qt::LeftButton, {{10, 20}, {30, 45}, {12, 30}});
    TypeInto(Child<QLineEdit>(window, "currentEdit1"), "1");
}

void WithOptions(MainWindow& window, const std::function<void(OptionsDialog&)>& action) {
    bool ran = false;
    QTimer::singleShot(0, &window, [&] {
        auto& dialog = Child<OptionsDialog>(window, "optionsDialog");
        ran = dialog.isVisible();
        action(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    Trigger(window, "optionsAction");
    if (!ran) {
        qFatal("the options dialog was not shown");
    }
}

QLineEdit& OptionsEdit(OptionsDialog& dialog, const char* name) {
    return Child<QLineEdit>(dialog, name);
}

MaterialCode NodeMaterial(MainWindow& window, int i, int j) {
    return MaterialFromColor(DrawingArea(window).Surface().ReadPoint(i, j));
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
