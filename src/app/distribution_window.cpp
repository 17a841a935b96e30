#include "app/distribution_window.h"

#include <QFont>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/picture_box.h"

namespace tesvid {

namespace {

// Room left between the main window and the column of graph windows, and between the two.
constexpr int kGap = 4;
// Height allowed for a title bar whose size the window manager does not tell.
constexpr int kUntoldTitleBar = 30;

}  // namespace

DistributionWindow::DistributionWindow(GraphAxis axis, QWidget* parent)
    : QWidget(parent, Qt::Window), axis_(axis) {
    const bool r = axis == GraphAxis::R;
    setObjectName(r ? "rDistributionWindow" : "zDistributionWindow");
    setWindowTitle(r ? tr("R distribution") : tr("Z distribution"));
    graph_ = new PictureBox(kGraphWidth, kGraphHeight, false, this);
    graph_->setObjectName("graphArea");
    QFont font = graph_->Surface().Font();
    font.setPointSize(8);
    graph_->Surface().SetFont(font);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(graph_->sizeHint());
}

void DistributionWindow::DrawGraph(const Model& m, double x, double y, char decimalSeparator) {
    model_ = &m;
    if (GraphPointValid(m, x, y)) {
        x_ = x;
        y_ = y;
    }
    decimalSeparator_ = decimalSeparator;
    DrawDistributionGraph(m, graph_->Surface(), axis_, x, y, decimalSeparator);
    graph_->update();
}

void DistributionWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (size() == graph_->size()) {
        return;
    }
    graph_->ResizeSurface(width(), height());
    graph_->move(0, 0);
    if (model_ != nullptr) {
        DrawDistributionGraph(*model_, graph_->Surface(), axis_, x_, y_, decimalSeparator_);
    }
}

QImage DistributionWindow::GraphImage() const {
    return graph_->Surface().Snapshot();
}

DistributionPlaces PlaceBeside(const QRect& mainFrame, QSize zFrame, QSize rFrame,
                               const QRect& screen) {
    const int width = std::max(zFrame.width(), rFrame.width());
    const int height = zFrame.height() + kGap + rFrame.height();
    int left = mainFrame.right() + 1 + kGap;
    if (left + width > screen.right() + 1) {
        left = mainFrame.left() - kGap - width;
        if (left < screen.left()) {
            left = std::max(screen.left(), screen.right() + 1 - width);
        }
    }
    const int top = std::max(screen.top(), std::min(mainFrame.top(), screen.bottom() + 1 - height));
    return {QPoint(left, top), QPoint(left, top + zFrame.height() + kGap)};
}

DistributionWindow& DistributionWindows::Window(GraphAxis axis) {
    QPointer<DistributionWindow>& window = axis == GraphAxis::R ? r_ : z_;
    if (window == nullptr) {
        window = new DistributionWindow(axis, main_);
    }
    return *window;
}

void DistributionWindows::DrawGraphs(const Model& m, double x, double y, char decimalSeparator) {
    if (GraphPointValid(m, x, y)) {
        x_ = x;
        y_ = y;
        gridSize_ = m.project.GridSize;
    }
    Window(GraphAxis::R).DrawGraph(m, x, y, decimalSeparator);
    Window(GraphAxis::Z).DrawGraph(m, x, y, decimalSeparator);
}

void DistributionWindows::RedrawGraphs(const Model& m, char decimalSeparator) {
    const int n = m.project.GridSize;
    double x = n / 2, y = n / 2;
    if (gridSize_ > 0) {
        x = std::round(x_ * n / gridSize_);
        y = std::round(y_ * n / gridSize_);
    }
    DrawGraphs(m, x, y, decimalSeparator);
}

void DistributionWindows::Show() {
    DistributionWindow& r = Window(GraphAxis::R);
    DistributionWindow& z = Window(GraphAxis::Z);
    if (!placed_ && main_ != nullptr && main_->isVisible() && main_->screen() != nullptr) {
        // The graph windows get the decorations the main window has. A window manager that
        // does not tell its frames still draws a title bar: room is left for one.
        const QRect frame = main_->frameGeometry();
        const QSize told = frame.size() - main_->geometry().size();
        const QSize decoration = told.height() > 0 ? told : QSize(told.width(), kUntoldTitleBar);
        const DistributionPlaces places =
            PlaceBeside(frame, z.size() + decoration, r.size() + decoration,
                        main_->screen()->availableGeometry());
        z.move(places.z);
        r.move(places.r);
        placed_ = true;
    }
    r.show();
    z.show();
}

void DistributionWindows::Close() {
    for (DistributionWindow* window : {r_.data(), z_.data()}) {
        if (window != nullptr) {
            window->close();
        }
    }
}

}  // namespace tesvid
