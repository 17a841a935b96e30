// The raster surface, the editor's tools and the material map painted back.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "model/geometry_editor.h"
#include "model/project_drawing.h"
#include "model/raster_surface.h"

namespace tesvid {
namespace {

constexpr Rgb kGrey = kVacuumColor;
constexpr Rgb kYellow = MaterialColor(MaterialCode::Coil1);
constexpr Rgb kBlack = MaterialColor(MaterialCode::Iron);
using Node = std::pair<int, int>;

struct EditingView {
    RasterSurface surface{400, 400};
    PointerState pointer;
    GeometryEditor editor{surface, pointer};
    int n;

    explicit EditingView(int gridSize = 50) : n(gridSize) {
        surface.SetScale(n, n);
        surface.SetPenWidth(PenWidthFor(n));
        surface.SetBackColor(kGrey);
        surface.SetForeColor(kYellow);
        surface.Clear();
    }
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
    long Count(Rgb c) const {
        return std::count(surface.Pixels(), surface.Pixels() + 400 * 400, c.Packed());
    }
};

// The nodes between two corners on the area, less (0, 0), which every stroke resets.
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

TEST(RasterSurface, DotsCoverTheirNodeOnlyAndInvertedFiguresRestoreWhenDrawnTwice) {
    EditingView v;
    RasterSurface& s = v.surface;
    s.SetPoint(10, 20, kBlack);
    EXPECT_EQ(v.Count(kBlack), 64);  // the 8 x 8 square p - 4 .. p + 3 around the node's pixel
    EXPECT_TRUE(s.PixelAt(76, 156) == kBlack && s.PixelAt(83, 163) == kBlack);
    s.SetCurrentPoint(3, 4);
    s.PrintLine("text");  // the next text line starts below, where this one began
    EXPECT_EQ(std::make_pair(s.CurrentX(), s.CurrentY()), std::make_pair(3.0, 4 + 12 / 8.0));
    EXPECT_FALSE(s.ReadPoint(-1, 0));
    EXPECT_FALSE(s.ReadPoint(0, 50));  // pixel 400 lies past the last one
    s.SetPenWidth(0);                  // a pen narrower than a pixel is one pixel wide
    EXPECT_EQ(s.PenWidth(), 1);
    s.SetPoint(30, 30, kBlack);
    EXPECT_EQ(v.Count(kBlack), 65);
    s.SetPenWidth(8);
    const auto before = v.Pixels();
    s.SetDrawMode(DrawMode::Invert);
    // clang-format off
    for (const auto& [x1, y1, x2, y2] : {std::tuple{2.0, 3.0, 40.0, 17.0}, {10.0, 10.0, 10.0, 10.0},
                                         {-20.0, 25.0, 70.0, 26.0}}) {
        // clang-format on
        s.Line(x1, y1, x2, y2, kYellow);
        const auto once = v.Pixels();
        for (std::size_t k = 0; k < once.size(); ++k) {  // each pixel flipped at most once
            const Rgb was = Rgb::FromPacked(before[k]), now = Rgb::FromPacked(once[k]);
            ASSERT_TRUE(now == was || now == was.Inverted()) << k;
        }
        EXPECT_NE(once, before);
        s.Line(x1, y1, x2, y2, kYellow);
        s.BoxOutline(x1, y1, x2, y2, kYellow);
        s.BoxOutline(x1, y1, x2, y2, kYellow);
        EXPECT_EQ(v.Pixels(), before) << x1 << "," << y1 << "-" << x2 << "," << y2;
    }
    EditingView b;  // the edge bands of a box meet at the corners once
    b.surface.SetDrawMode(DrawMode::Invert);
    b.surface.BoxOutline(10, 10, 20, 15, kYellow);
    EXPECT_EQ(b.Count(kGrey.Inverted()), 2 * 88 * 8 + 2 * (48 - 16) * 8);
}

TEST(RasterSurface, FiguresFarOffTheAreaAreClippedNotDistorted) {
    EditingView s, t, u, edges;
    s.surface.Line(-100000, -50000, 40, 20, kYellow);  // the visible part follows y = x / 2
    t.surface.Line(0, 0, 40, 20, kYellow);
    EXPECT_EQ(s.Pixels(), t.Pixels());
    u.surface.Line(-5000, 3, -4000, 9, kYellow);
    u.surface.Line(1e300, 0, 2e300, 5, kYellow);
    u.surface.FilledBox(60, 60, 1e12, 1e12, kYellow);
    u.surface.SetPoint(NAN, 2, kYellow);
    EXPECT_EQ(u.Count(kGrey), 400 * 400);
    edges.surface.Line(-9, 50, 60, 50, kYellow);  // along the far edges: their last 4 pixels
    edges.surface.Line(50, -9, 50, 60, kYellow);
    EXPECT_EQ(edges.Count(kYellow), 2 * 4 * 400 - 4 * 4);
}

TEST(GeometryEditor, ToolsPaintExactlyTheNodesOfTheirFigure) {
    EXPECT_EQ(RoundToNode(2.5f), 2.0f);  // ties to the even node
    EXPECT_EQ(RoundToNode(3.5f), 4.0f);
    EditingView dots;
    dots.Drag(DrawTool::DotTool, {{10, 10}, {12, 10}, {20, 14}});  // each position, not joined
    EXPECT_EQ(dots.Painted(), (std::set<Node>{{10, 10}, {12, 10}, {20, 14}}));
    EXPECT_FALSE(dots.pointer.Held);
    // Rectangles dragged any way (corners inclusive, clipped), through wandering bands.
    // clang-format off
    for (const auto& [from, via, to] : {std::tuple{Node{30, 40}, Node{2, 2}, Node{22, 5}},
             {Node{7, 7}, Node{7, 7}, Node{7, 7}}, {Node{45, 40}, Node{70, 90}, Node{200, 300}}}) {
        // clang-format on
        EditingView v;
        v.Drag(DrawTool::RectangleTool, {from, via, to});
        EXPECT_EQ(v.Painted(), Block(from, to)) << from.first << "," << from.second;
    }
    std::set<Node> diagonal;
    for (int k = 0; k <= 20; ++k) {
        diagonal.insert({3 + k, 30 - k});
    }
    // clang-format off
    for (const auto& [a, b, nodes] : {std::tuple{Node{5, 9}, Node{20, 9}, Block({5, 9}, {20, 9})},
             {Node{33, 40}, Node{33, 12}, Block({33, 12}, {33, 40})},
             {Node{23, 10}, Node{3, 30}, diagonal},
             {Node{-20, 10}, Node{60, 10}, Block({0, 10}, {50, 10})}}) {
        // clang-format on
        EditingView v;
        v.Drag(DrawTool::LineTool, {a, {25, 25}, {3, 48}, b});
        EXPECT_EQ(v.Painted(), nodes) << a.first << "," << a.second;
    }
    EditingView fine(400);  // the pen follows the grid
    fine.Drag(DrawTool::RectangleTool, {{100, 80}, {103, 82}});
    EXPECT_EQ(fine.Painted(), Block({100, 80}, {103, 82}, 400));
}

TEST(GeometryEditor, RubberBandNeverDamagesThePicture) {
    // Bands over iron, released on or off the last band: the picture plus the figure only.
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
            EXPECT_EQ(v.Pixels(), expected.Pixels()) << int(tool) << " " << release.first;
        }
    }
}

TEST(ProjectDrawing, MapReadsBackOnItsGridAndKeepsSizeAndPlaceOnAnother) {
    const auto drawn = [](int mapSize, int gridSize, auto paint) {
        Model m;
        m.arrays.MapGridSize = static_cast<std::int16_t>(mapSize);
        m.project.GridSize = static_cast<std::int16_t>(gridSize);
        m.arrays.Material.Create(mapSize);
        paint(m.arrays.Material);
        EditingView v(gridSize);
        v.surface.SetDrawMode(DrawMode::Invert);
        DrawProject(m, v.surface);
        EXPECT_EQ(v.surface.PenWidth(), 400 / gridSize);  // left for the editor
        EXPECT_EQ(v.surface.GetDrawMode(), DrawMode::Copy);
        return v;
    };
    const auto at = [](const EditingView& v, int i, int j) {
        return MaterialFromColor(v.surface.ReadPoint(i, j));
    };
    for (int n : {50, 400}) {
        const auto pattern = [n](int i, int j) {
            return i < n && j < n && (i * 7 + j * 3) % 5 != 0
                       ? kSampledMaterials[static_cast<std::size_t>((i / 3 + j) % 6)]
                       : MaterialCode::Vacuum;
        };
        const EditingView same = drawn(n, n, [&](Grid2D<MaterialCode>& g) {
            for (int i = 0; i <= n; ++i) {
                for (int j = 0; j <= n; ++j) {
                    g(i, j) = pattern(i, j);
                }
            }
        });
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                ASSERT_EQ(at(same, i, j), pattern(i, j)) << n << ": " << i << "," << j;
            }
        }
    }
    // A 50 map on a 100 grid: 2-unit squares around (2i, 2j), the later one takes the edge.
    const EditingView coarse = drawn(50, 100, [](Grid2D<MaterialCode>& g) {
        g(10, 20) = MaterialCode::Coil1;
        g(11, 20) = MaterialCode::Iron;
    });
    // clang-format off
    using enum MaterialCode;
    for (const auto& [i, j, code] : {std::tuple{19, 39, Coil1}, {20, 41, Coil1}, {21, 40, Iron},
                                     {23, 41, Iron}, {18, 40, Vacuum}, {20, 42, Vacuum}}) {
        // clang-format on
        EXPECT_EQ(at(coarse, i, j), code) << i << "," << j;
    }
}

}  // namespace
}  // namespace tesvid
