#pragma once

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "model/model.h"
#include "view/distribution_graph.h"

namespace tesvid {

class PictureBox;

// A distribution-graph window: "R distribution" (Form2) or "Z distribution" (Form3). It holds
// one picture area, Picture1, and nothing else; its size is fixed.
class DistributionWindow : public QWidget {
    Q_OBJECT
  public:
    // Wide enough for the labels, low enough that the two windows, placed one above the other
    // beside the main window, do not cover each other.
    static constexpr int kPictureWidth = 300;
    static constexpr int kPictureHeight = 190;

    explicit DistributionWindow(GraphAxis axis, QWidget* parent = nullptr);

    GraphAxis Axis() const { return axis_; }
    PictureBox& Picture1() { return *picture1_; }

    // Redraws the graph through the probe point (x, y) in grid units. A point off the grid, or
    // a field that does not fit the grid, leaves the previous graph as it is.
    void DrawDistributionGraph(const Model& m, double x, double y);

    // A copy of the graph picture, for the clipboard.
    QImage GraphImage() const;

  private:
    GraphAxis axis_;
    PictureBox* picture1_;
};

// Offset of a distribution window's top-left corner from the main window's, in pixels
// (the twips of the original layout at 15 twips per pixel).
QPoint CrossSectionOffset(GraphAxis axis);

// The two distribution windows of a main window, created when first needed as top-level
// windows owned by the main window.
class DistributionWindows {
  public:
    explicit DistributionWindows(QWidget* mainWindow) : main_(mainWindow) {}

    DistributionWindow& Form2();  // "R distribution"
    DistributionWindow& Form3();  // "Z distribution"
    bool Created() const { return form2_ != nullptr || form3_ != nullptr; }

    // DrawDistributionGraph on Form2, then on Form3; creates them if needed but does not show them.
    void DrawDistributionGraph(const Model& m, double x, double y);

    // Shows both, not modal, where they stand, Form2 first.
    void Show();

    // After a result: only when the cross-sections are shown, places both beside the main window
    // and shows them.
    void ShowCrossSectionWindows(bool showCrossSections);

    // Closes both (when the main window closes).
    void Close();

  private:
    QWidget* main_;
    QPointer<DistributionWindow> form2_;
    QPointer<DistributionWindow> form3_;
};

}  // namespace tesvid
