#include "model/geometry_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "model/material_code.h"
#include "model/project.h"
#include "model/raster_surface.h"

namespace tesvid {
namespace {

constexpr Rgb kYellow = MaterialColor(MaterialCode::Coil1);
constexpr Rgb kBlack = MaterialColor(MaterialCode::Iron);
using Node = std::pair<int, int>;

// The editing view of an n grid: a vacuum-grey 400 x 400 area, a yellow pen one cell wide.
struct EditingView {
    RasterSurface surface{400, 400};
    PointerState pointer;
    GeometryEditor editor{surface, pointer};
    int n;

    explicit EditingView(int gridSize = 50) : n(gridSize) {
        surface.SetScale(n, n);
        surface.SetPenWidth(PenWidthFor(n));
        surface.SetBackColor(kVacuumColor);
        surface.SetForeColor(kYellow);
        surface.Clear();
    }
    // A left-button drag through the given positions, released at the last one.
    void Drag(DrawTool tool, const std::vector<Node>& path) {
        editor.SetTool(tool);
        editor.MouseDown(kLeftButton, path.front().first, path.front().second);
        for (std::size_t k = 1; k < path.size(); ++k) {
            editor.MouseMove(kLeftButton, path[k].first, path[k].second);
        }
        editor.MouseUp(kLeftButton, path.back().first, path.back().second);
    }
    std::set<Node> Painted() const {
        std::set<Node> nodes;
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                if (surface.ReadPoint(i, j) == kYellow) {
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

// The nodes between two corners that lie on the area (nodes n, at pixel 400, are off it),
// less node (0, 0), which every stroke resets to Vacuum.
std::set<Node> Block(Node a, Node b, int n = 50) {
    std::set<Node> nodes;
    for (int i = std::max(0, std::min(a.first, b.first));
         i <= std::min(n - 1, std::max(a.first, b.first)); ++i) {
        for (int j = std::max(0, std::min(a.second, b.second));
             j <= std::min(n - 1, std::max(a.second, b.second)); ++j) {
            nodes.insert({i, j});
        }
    }
    nodes.erase({0, 0});
    return nodes;
}

TEST(GeometryEditor, ToolsPaintExactlyTheNodesOfTheirFigure) {
    EXPECT_EQ(RoundToNode(2.5f), 2.0f);  // ties to the even node
    EXPECT_EQ(RoundToNode(3.5f), 4.0f);
    EXPECT_EQ(RoundToNode(-1.5f), -2.0f);
    EditingView dots;
    dots.Drag(DrawTool::DotTool, {{10, 10}, {12, 10}, {20, 14}});  // each position, not joined
    EXPECT_EQ(dots.Painted(), (std::set<Node>{{10, 10}, {12, 10}, {20, 14}}));
    EXPECT_FALSE(dots.pointer.Held);

    const struct {
        Node from, to;
        std::vector<Node> via;
    } rectangles[] = {{{10, 20}, {12, 30}, {{15, 25}}},
                      {{30, 40}, {22, 5}, {{40, 45}, {2, 2}}},
                      {{7, 7}, {7, 7}, {}},
                      {{0, 0}, {5, 3}, {{3, 3}}},
                      {{49, 0}, {50, 50}, {}},
                      {{45, 40}, {200, 300}, {{70, 90}}}};
    for (const auto& r : rectangles) {
        EditingView v;
        std::vector<Node> path{r.from};
        path.insert(path.end(), r.via.begin(), r.via.end());
        path.push_back(r.to);
        v.Drag(DrawTool::RectangleTool, path);
        EXPECT_EQ(v.Painted(), Block(r.from, r.to)) << ::testing::PrintToString(path);
    }
    // Lines across, down and diagonal, either direction, through wandering rubber bands.
    std::set<Node> diagonal;
    for (int k = 0; k <= 20; ++k) {
        diagonal.insert({3 + k, 30 - k});
    }
    for (const auto& [a, b, nodes] : {std::tuple{Node{5, 9}, Node{20, 9}, Block({5, 9}, {20, 9})},
                                      {Node{33, 40}, Node{33, 12}, Block({33, 12}, {33, 40})},
                                      {Node{23, 10}, Node{3, 30}, diagonal}}) {
        EditingView v;
        v.Drag(DrawTool::LineTool, {a, {25, 25}, {3, 48}, b});
        EXPECT_EQ(v.Painted(), nodes) << ::testing::PrintToString(std::make_pair(a, b));
    }
    EditingView clipped;
    clipped.Drag(DrawTool::LineTool, {{-20, 10}, {60, 10}});
    EXPECT_EQ(clipped.Painted(), Block({0, 10}, {50, 10}));
    for (int n : {100, 400}) {  // the pen follows the grid
        EditingView v(n);
        v.Drag(DrawTool::RectangleTool, {{n / 4, n / 5}, {n / 4 + 3, n / 5 + 2}});
        EXPECT_EQ(v.Painted(), Block({n / 4, n / 5}, {n / 4 + 3, n / 5 + 2}, n)) << n;
    }
}

TEST(GeometryEditor, RubberBandNeverDamagesThePicture) {
    // Bands moved over iron, released at the last band's place or away from it: the picture
    // plus the committed figure, nothing else.
    for (DrawTool tool : {DrawTool::LineTool, DrawTool::RectangleTool}) {
        for (const Node& release : {Node{25, 8}, Node{15, 12}}) {
            EditingView v, expected;
            for (EditingView* view : {&v, &expected}) {
                view->surface.FilledBox(5, 5, 40, 12, kBlack);
                view->surface.FilledBox(18, 0, 22, 50, kBlack);
            }
            v.editor.SetTool(tool);
            v.editor.MouseDown(kLeftButton, 8, 30);
            for (Node m : {Node{30, 2}, {45, 45}, {8, 31}, {-10, 60}, {25, 8}}) {
                v.editor.MouseMove(kLeftButton, m.first, m.second);
            }
            v.editor.MouseUp(kLeftButton, release.first, release.second);
            if (tool == DrawTool::LineTool) {
                expected.surface.Line(8, 30, release.first, release.second, kYellow);
            } else {
                expected.surface.FilledBox(8, 30, release.first, release.second, kYellow);
            }
            expected.surface.SetPoint(0, 0, kVacuumColor);
            EXPECT_EQ(v.Pixels(), expected.Pixels())
                << static_cast<int>(tool) << " " << release.first;
        }
    }
}

TEST(GeometryEditor, OtherButtonsPaintNothingButHoldThePointer) {
    EditingView v;
    const auto before = v.Pixels();
    v.editor.MouseMove(kLeftButton, 10, 10);  // no stroke under way
    v.editor.MouseDown(kRightButton, 10, 10);
    v.editor.MouseMove(kRightButton, 30, 30);
    v.editor.MouseMove(kLeftButton | kRightButton, 35, 35);
    v.editor.MouseUp(kRightButton, 30, 30);
    v.editor.MouseUp(kMiddleButton, 30, 30);
    EXPECT_EQ(v.Pixels(), before);
    EXPECT_TRUE(v.pointer.Held);  // not ended by its own mouse-up
    EXPECT_EQ(v.pointer.AnchorX, 10);
    // The next left stroke starts afresh from its own anchor.
    v.Drag(DrawTool::RectangleTool, {{20, 20}, {22, 21}});
    EXPECT_EQ(v.Painted(), Block({20, 20}, {22, 21}));
    EXPECT_FALSE(v.pointer.Held);
}

}  // namespace
}  // namespace tesvid
