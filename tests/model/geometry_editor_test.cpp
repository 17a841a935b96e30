#include "model/geometry_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "model/raster_surface.h"

namespace tesvid {
namespace {

constexpr Rgb kYellow = MaterialColor(MaterialCode::Coil1);
constexpr Rgb kBlack = MaterialColor(MaterialCode::Iron);

using Node = std::pair<int, int>;

// The editing view of a 50 grid: a grey 400 x 400 area with a yellow pen.
struct EditingView {
    Model model;
    RasterSurface surface{400, 400};
    PointerState pointer;
    GeometryEditor editor{model, surface, pointer};

    explicit EditingView(int gridSize = 50) {
        model.project.GridSize = static_cast<std::int16_t>(gridSize);
        model.EditorMode = true;
        surface.SetScale(gridSize, gridSize);
        surface.SetPenWidth(PenWidthFor(gridSize));
        surface.SetBackColor(kVacuumColor);
        surface.SetForeColor(kYellow);
        surface.Clear();
    }

    // A left-button drag through the given node positions, released at the last one.
    void Drag(DrawTool tool, const std::vector<Node>& path) {
        editor.SetTool(tool);
        editor.MouseDown(kLeftButton, path.front().first, path.front().second);
        for (std::size_t k = 1; k < path.size(); ++k) {
            editor.MouseMove(kLeftButton, path[k].first, path[k].second);
        }
        editor.MouseUp(kLeftButton, path.back().first, path.back().second);
    }

    std::set<Node> Painted(Rgb c) const {
        std::set<Node> nodes;
        for (int i = 0; i <= model.project.GridSize; ++i) {
            for (int j = 0; j <= model.project.GridSize; ++j) {
                if (surface.ReadPoint(i, j) == c) {
                    nodes.insert({i, j});
                }
            }
        }
        return nodes;
    }

    std::vector<std::uint32_t> Pixels() const {
        return {surface.Pixels(), surface.Pixels() + 400 * 400};
    }
};

// The nodes a..c by b..d that lie on the area (the last row and column of nodes, at pixel 400,
// are off it), less node (0, 0), which every stroke resets to Vacuum.
std::set<Node> Block(int a, int b, int c, int d, int gridSize = 50) {
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

TEST(GeometryEditor, RoundsThePointerToTheNearestNodeWithTiesToEven) {
    EXPECT_EQ(RoundToNode(2.5f), 2.0f);
    EXPECT_EQ(RoundToNode(3.5f), 4.0f);
    EXPECT_EQ(RoundToNode(3.49f), 3.0f);
    EXPECT_EQ(RoundToNode(-0.5f), 0.0f);
    EXPECT_EQ(RoundToNode(-1.5f), -2.0f);

    EditingView v;
    v.editor.SetTool(DrawTool::DotTool);
    v.editor.MouseDown(kLeftButton, 2.5f, 3.5f);
    v.editor.MouseUp(kLeftButton, 2.5f, 3.5f);
    EXPECT_EQ(v.Painted(kYellow), (std::set<Node>{{2, 4}}));
}

TEST(GeometryEditor, DotToolPaintsEachPositionOfTheDragWithoutJoiningThem) {
    EditingView v;
    v.Drag(DrawTool::DotTool, {{10, 10}, {12, 10}, {20, 14}});
    EXPECT_EQ(v.Painted(kYellow), (std::set<Node>{{10, 10}, {12, 10}, {20, 14}}));
    EXPECT_FALSE(v.model.PointerHold);
    EXPECT_EQ(v.pointer.LastX, 0);
    EXPECT_EQ(v.pointer.LastY, 0);
}

TEST(GeometryEditor, RectangleDragPaintsExactlyTheNodesBetweenItsCorners) {
    struct Case {
        Node from, to;
        std::vector<Node> via;
    };
    const std::vector<Case> cases = {
        {{10, 20}, {12, 30}, {{15, 25}, {11, 22}}},
        {{30, 40}, {22, 5}, {{40, 45}, {2, 2}, {22, 6}}},  // dragged up and left
        {{7, 7}, {7, 7}, {}},                              // a click
        {{0, 0}, {5, 3}, {{3, 3}}},                        // covers node (0, 0)
        {{49, 0}, {50, 50}, {{45, 45}}},                   // to the far corner
    };
    for (const Case& c : cases) {
        EditingView v;
        std::vector<Node> path = {c.from};
        path.insert(path.end(), c.via.begin(), c.via.end());
        path.push_back(c.to);
        v.Drag(DrawTool::RectangleTool, path);
        EXPECT_EQ(v.Painted(kYellow), Block(c.from.first, c.from.second, c.to.first, c.to.second))
            << c.from.first << "," << c.from.second << " to " << c.to.first << "," << c.to.second;
        EXPECT_EQ(v.surface.ReadPoint(0, 0), kVacuumColor);
    }
}

// The nodes a line between two nodes of a 50 grid covers: one per column when it runs more
// across than down (one per row otherwise), the node nearest the line as placed on the nearest
// pixel (8 pixels a node), a tie going to the smaller index.
std::set<Node> NodesAlong(Node a, Node b) {
    std::set<Node> nodes;
    const int di = b.first - a.first, dj = b.second - a.second;
    const bool across = std::abs(di) >= std::abs(dj);
    const int n = std::max(std::abs(di), std::abs(dj));
    for (int k = 0; k <= n; ++k) {
        const double t = n == 0 ? 0 : static_cast<double>(k) / n;
        const double minor = across ? a.second + t * dj : a.first + t * di;
        const double pixel = std::floor(8 * minor + 0.5);
        const int m = static_cast<int>(std::ceil(pixel / 8 - 0.5));
        const int major = across ? a.first + (di < 0 ? -k : k) : a.second + (dj < 0 ? -k : k);
        nodes.insert(across ? Node{major, m} : Node{m, major});
    }
    return nodes;
}

TEST(GeometryEditor, LinePaintsTheNodesAlongIt) {
    // Straight and diagonal lines: exactly the nodes on them.
    {
        EditingView v;
        v.Drag(DrawTool::LineTool, {{5, 9}, {30, 30}, {20, 9}});
        EXPECT_EQ(v.Painted(kYellow), Block(5, 9, 20, 9));
    }
    {
        EditingView v;
        v.Drag(DrawTool::LineTool, {{33, 40}, {33, 12}});
        EXPECT_EQ(v.Painted(kYellow), Block(33, 12, 33, 40));
    }
    {
        EditingView v;
        v.Drag(DrawTool::LineTool, {{3, 30}, {10, 10}, {23, 10}});
        std::set<Node> diagonal;
        for (int k = 0; k <= 20; ++k) {
            diagonal.insert({3 + k, 30 - k});
        }
        EXPECT_EQ(v.Painted(kYellow), diagonal);
    }
    // Any slope, either direction, also ties (the 2:1 slopes pass half-way between nodes).
    const std::vector<std::pair<Node, Node>> slopes = {
        {{2, 3}, {40, 17}}, {{45, 2}, {31, 44}}, {{10, 10}, {13, 40}}, {{48, 30}, {1, 27}},
        {{4, 4}, {24, 14}}, {{24, 14}, {4, 4}},  {{30, 5}, {25, 15}},  {{7, 40}, {43, 1}}};
    for (auto [a, b] : slopes) {
        EditingView v;
        v.Drag(DrawTool::LineTool, {a, {25, 25}, {3, 48}, b});
        EXPECT_EQ(v.Painted(kYellow), NodesAlong(a, b))
            << a.first << "," << a.second << " to " << b.first << "," << b.second;
    }
}

TEST(GeometryEditor, RubberBandNeverDamagesThePicture) {
    for (DrawTool tool : {DrawTool::LineTool, DrawTool::RectangleTool}) {
        // A picture of iron under the stroke.
        EditingView v;
        v.surface.FilledBox(5, 5, 40, 12, kBlack);
        v.surface.FilledBox(18, 0, 22, 50, kBlack);
        EditingView expected;
        expected.surface.FilledBox(5, 5, 40, 12, kBlack);
        expected.surface.FilledBox(18, 0, 22, 50, kBlack);

        // While the band moves, everything off the band stays as it was.
        v.editor.SetTool(tool);
        v.editor.MouseDown(kLeftButton, 8, 30);
        const std::vector<Node> moves = {{30, 2}, {45, 45}, {8, 31}, {-10, 60}, {25, 8}};
        for (Node m : moves) {
            v.editor.MouseMove(kLeftButton, m.first, m.second);
        }
        // Released where the last move was: the picture plus the figure, nothing else.
        v.editor.MouseUp(kLeftButton, 25, 8);
        if (tool == DrawTool::LineTool) {
            expected.surface.Line(8, 30, 25, 8, kYellow);
        } else {
            expected.surface.FilledBox(8, 30, 25, 8, kYellow);
        }
        expected.surface.SetPoint(0, 0, kVacuumColor);
        EXPECT_EQ(v.Pixels(), expected.Pixels());
    }
}

TEST(GeometryEditor, ReleaseAwayFromTheLastBandLeavesNoTraceOfIt) {
    for (DrawTool tool : {DrawTool::LineTool, DrawTool::RectangleTool}) {
        EditingView v;
        v.surface.FilledBox(0, 20, 50, 30, kBlack);
        v.editor.SetTool(tool);
        v.editor.MouseDown(kLeftButton, 10, 10);
        v.editor.MouseMove(kLeftButton, 40, 40);
        v.editor.MouseUp(kLeftButton, 15, 12);

        EditingView expected;
        expected.surface.FilledBox(0, 20, 50, 30, kBlack);
        if (tool == DrawTool::LineTool) {
            expected.surface.Line(10, 10, 15, 12, kYellow);
        } else {
            expected.surface.FilledBox(10, 10, 15, 12, kYellow);
        }
        expected.surface.SetPoint(0, 0, kVacuumColor);
        EXPECT_EQ(v.Pixels(), expected.Pixels());
    }
}

TEST(GeometryEditor, ClickWithAFigureToolPaintsTheClickedNode) {
    for (DrawTool tool : {DrawTool::DotTool, DrawTool::LineTool, DrawTool::RectangleTool}) {
        EditingView v;
        v.Drag(tool, {{17, 23}});
        EXPECT_EQ(v.Painted(kYellow), (std::set<Node>{{17, 23}}));
    }
}

TEST(GeometryEditor, OtherButtonsPaintNothingButHoldThePointer) {
    EditingView v;
    const auto before = v.Pixels();
    v.editor.SetTool(DrawTool::RectangleTool);
    v.editor.MouseDown(kRightButton, 10, 10);
    v.editor.MouseMove(kRightButton, 30, 30);
    v.editor.MouseMove(kLeftButton | kRightButton, 35, 35);  // not a left-button move
    v.editor.MouseUp(kRightButton, 30, 30);
    EXPECT_EQ(v.Pixels(), before);
    EXPECT_TRUE(v.model.PointerHold);  // not ended by its own mouse-up
    EXPECT_EQ(v.pointer.AnchorX, 10);
    EXPECT_EQ(v.pointer.LastX, 10);

    // The next left stroke starts afresh from its own anchor.
    v.Drag(DrawTool::RectangleTool, {{20, 20}, {22, 21}});
    EXPECT_EQ(v.Painted(kYellow), Block(20, 20, 22, 21));
    EXPECT_FALSE(v.model.PointerHold);

    // The middle button likewise.
    EditingView m;
    m.editor.MouseDown(kMiddleButton, 5, 5);
    m.editor.MouseUp(kMiddleButton, 5, 5);
    EXPECT_TRUE(m.Painted(kYellow).empty());
}

TEST(GeometryEditor, MovesOutsideTheEditingViewOrWithoutAStrokeDrawNothing) {
    EditingView v;
    const auto before = v.Pixels();
    v.editor.SetTool(DrawTool::DotTool);
    v.editor.MouseMove(kLeftButton, 10, 10);  // no stroke in progress
    EXPECT_EQ(v.Pixels(), before);

    v.model.PointerHold = true;
    v.model.EditorMode = false;  // result view
    v.editor.MouseMove(kLeftButton, 10, 10);
    v.editor.MouseUp(kLeftButton, 10, 10);
    EXPECT_EQ(v.Pixels(), before);
    EXPECT_TRUE(v.model.PointerHold);
}

TEST(GeometryEditor, StrokesOutsideTheAreaAreClipped) {
    EditingView v;
    v.Drag(DrawTool::RectangleTool, {{45, 40}, {70, 90}, {200, 300}});
    EXPECT_EQ(v.Painted(kYellow), Block(45, 40, 50, 50));
    EditingView w;
    w.Drag(DrawTool::LineTool, {{-20, 10}, {60, 10}});
    EXPECT_EQ(w.Painted(kYellow), Block(0, 10, 50, 10));
}

TEST(GeometryEditor, PenWidthFollowsTheGrid) {
    for (int n : {100, 200, 400}) {
        EditingView v(n);
        v.Drag(DrawTool::RectangleTool, {{n / 4, n / 5}, {n / 4 + 3, n / 5 + 2}});
        EXPECT_EQ(v.Painted(kYellow), Block(n / 4, n / 5, n / 4 + 3, n / 5 + 2, n)) << n;
        v.Drag(DrawTool::DotTool, {{1, 1}});
        EXPECT_EQ(v.surface.ReadPoint(1, 1), kYellow);
        EXPECT_EQ(v.surface.ReadPoint(1, 2), kVacuumColor);
    }
}

}  // namespace
}  // namespace tesvid
