#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "model/model.h"
#include "view/distribution_graph.h"

namespace tesvid {

class PictureBox;

// A distribution-graph window, "R distribution" or "Z distribution": one graph area and
// nothing else. The window can be resized; the graph is drawn again at the new pixel size.
class DistributionWindow : public QWidget {
    Q_OBJECT
  public:
    // The first size: wide enough for the labels, low enough that the two windows stand one
    // above the other beside the main window.
    static constexpr int kGraphWidth = 300;
    static constexpr int kGraphHeight = 190;
    // The smallest size the window can be given.
    static constexpr int kMinimumWidth = 160;
    static constexpr int kMinimumHeight = 100;

    explicit DistributionWindow(GraphAxis axis, QWidget* parent = nullptr);

    GraphAxis Axis() const { return axis_; }

    // Redraws the graph through the probe point (x, y) in grid units. A point off the grid, or
    // a field that does not fit the grid, leaves the previous graph as it is. The model is
    // remembered (it must outlive the window) to draw the graph again after a resize.
    void DrawGraph(const Model& m, double x, double y, char decimalSeparator);

    // A copy of the graph, for the clipboard.
    QImage GraphImage() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    GraphAxis axis_;
    PictureBox* graph_;
    const Model* model_ = nullptr;
    double x_ = 0, y_ = 0;
    char decimalSeparator_ = '.';
};

// Where the two windows go, as the top-left corners of their frames: the Z window above the
// R window in a column beside the main window's frame, on its right where the screen has room,
// else on its left, else inside the screen at its right edge; the column starts level with the
// main window and is moved up as far as needed to end on the screen.
struct DistributionPlaces {
    QPoint z;
    QPoint r;
};
DistributionPlaces PlaceBeside(const QRect& mainFrame, QSize zFrame, QSize rFrame,
                               const QRect& screen);

// The two distribution windows of a main window, created when first needed as top-level
// windows owned by it.
class DistributionWindows {
  public:
    explicit DistributionWindows(QWidget* mainWindow) : main_(mainWindow) {}

    DistributionWindow& Window(GraphAxis axis);

    // Redraws both graphs; creates the windows if needed but does not show them. A point of
    // the grid is kept as the graphs' point.
    void DrawGraphs(const Model& m, double x, double y, char decimalSeparator);

    // Redraws both graphs of a new result through the point kept (moved to the same place of
    // a grid of another size), or through the middle of the area when there is none yet.
    void RedrawGraphs(const Model& m, char decimalSeparator);

    // Shows both, not modal, where they stand, the R window first. The first time, they are
    // placed beside the main window (PlaceBeside); after that they stay where the user left them.
    void Show();

    // Closes both (when the main window closes).
    void Close();

  private:
    QWidget* main_;
    QPointer<DistributionWindow> r_;
    QPointer<DistributionWindow> z_;
    bool placed_ = false;
    // The graphs' point in grid units and the grid it belongs to (0: none).
    double x_ = 0, y_ = 0;
    int gridSize_ = 0;
};

}  // namespace tesvid
