#include "app/support/window_driver.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace tesvid::testing {

Session::Session(const QByteArray& settings)
    : w([&] {
          services.WriteSettingsFile(settings);
          return services.Services();
      }()) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

QString TextOf(const QObject& root, const char* name) {
    if (auto* box = root.findChild<QLineEdit*>(name)) {
        return box->text();
    }
    return Child<QLabel>(root, name).text();
}

void Click(const QObject& root, const char* button) {
    const auto* window = qobject_cast<const MainWindow*>(&root);
    if (window == nullptr || qstrcmp(button, "runButton") != 0) {
        QTest::mouseClick(&Child(root, button), Qt::LeftButton);
        return;
    }
    QSignalSpy finished(window, &MainWindow::calculationFinished);
    StartRun(*window);
    if (window->isBusy() && finished.isEmpty()) {
        QVERIFY(finished.wait(60000));
    }
}

void StartRun(const MainWindow& w) {
    QTest::mouseClick(&Child(w, "runButton"), Qt::LeftButton);
}

void Trigger(MainWindow& w, const char* action) {
    Child<QAction>(w, action).trigger();
}

void TypeInto(const QObject& root, const char* name, const QString& text) {
    auto& box = Child<QLineEdit>(root, name);
    box.setFocus();
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, text);
}

void DragOnPicture(MainWindow& w, Qt::MouseButton button, const std::vector<Node>& path) {
    PictureBox& area = DrawingArea(w);
    auto at = [&](const Node& n) { return area.ToWidget(n.first, n.second); };
    QTest::mousePress(&area, button, {}, at(path.front()));
    for (std::size_t k = 1; k < path.size(); ++k) {
        QTest::mouseMove(&area, at(path[k]));
    }
    QTest::mouseRelease(&area, button, {}, at(path.back()));
}

void HoverAt(MainWindow& w, QPointF pos) {
    PictureBox& area = DrawingArea(w);
    QMouseEvent move(QEvent::MouseMove, pos, area.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&area, &move);
}

void ClickOnPicture(MainWindow& w, int i, int j) {
    QTest::mouseClick(&DrawingArea(w), Qt::LeftButton, {}, DrawingArea(w).ToWidget(i, j));
}

void ChooseMaterial(MainWindow& w, int paletteIndex) {
    Click(w, qPrintable(QStringLiteral("materialButton%1").arg(paletteIndex)));
}

void PaintTestCoil(MainWindow& w) {
    DragOnPicture(w, Qt::LeftButton, {{10, 20}, {30, 45}, {12, 30}});
    TypeInto(w, "currentEdit1", "1");
}

void WithOptions(MainWindow& w, const std::function<void(OptionsDialog&)>& action) {
    bool ran = false;
    QTimer::singleShot(0, &w, [&] {
        auto& dialog = Child<OptionsDialog>(w, "optionsDialog");
        ran = dialog.isVisible();
        action(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    Trigger(w, "optionsAction");
    if (!ran) {
        qFatal("the options dialog was not shown");
    }
}

MaterialCode NodeMaterial(MainWindow& w, int i, int j) {
    return MaterialFromColor(DrawingArea(w).Surface().ReadPoint(i, j));
}

std::set<Node> NodesOf(MainWindow& w, MaterialCode material) {
    std::set<Node> nodes;
    const int n = w.model().project.GridSize;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            if (NodeMaterial(w, i, j) == material) {
                nodes.insert({i, j});
            }
        }
    }
    return nodes;
}

std::set<Node> NodeBlock(int a, int b, int c, int d, int n) {
    std::set<Node> nodes;
    for (int i = std::max(0, std::min(a, c)); i <= std::min(n - 1, std::max(a, c)); ++i) {
        for (int j = std::max(0, std::min(b, d)); j <= std::min(n - 1, std::max(b, d)); ++j) {
            nodes.insert({i, j});
        }
    }
    nodes.erase({0, 0});
    return nodes;
}

}  // namespace tesvid::testing
