#include "model/typed_rectangle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/geometry_editor.h"
#include "model/project.h"
#include "model/raster_surface.h"
#include "solver/material_sampling.h"

namespace tesvid {
namespace {

TEST(TypedRectangleTest, NodesInsideTheRectangleBoundsIncluded) {
    struct Case {
        TypedRectangle rect;
        int n;
        double area;
        NodeBox nodes;
    };
    const double typedArea = AreaAsTyped(33.3f);
    const std::vector<Case> cases = {
        {{"Iron", 0, 10, 30, 70}, 400, 100, {0, 40, 120, 280}},  // step 0.25 mm
        {{"Coil 1", 12.5, 22.5, 33.9, 66.1}, 100, 100, {13, 22, 34, 66}},
        {{"Iron", 0, 100, 100, 100}, 50, 100, {0, 50, 50, 50}},  // the far edges, one row
        {{"Iron", 2 + 1e-12, 2 - 1e-12 + 1, 30, 30}, 100, 100, {2, 3, 30, 30}},  // on nodes
        {{"Iron", 2 + 1e-6, 5 - 1e-6, 30, 30}, 100, 100, {3, 4, 30, 30}},        // beside them
        {{"Iron", 0.3, 0.7, 1.1, 2.3}, 400, 40, {3, 7, 11, 23}},  // bound / step inexact
        // A typed area held as a single (33.3f is 33.29999924): 3.33 mm is node 10 exactly.
        {{"Iron", 3.33, 6.66, 0, 33.3}, 100, typedArea, {10, 20, 0, 100}},
    };
    for (const Case& c : cases) {
        const RectanglePlacement p = PlaceRectangle(c.rect, c.n, c.area);
        ASSERT_TRUE(p.placed) << c.rect.rFrom << " " << p.error;
        EXPECT_EQ(p.placed->nodes, c.nodes) << c.rect.rFrom << ".." << c.rect.rTo;
    }
}

TEST(TypedRectangleTest, RefusalsNameTheFaultAndPaintNothing) {
    const double nan = std::nan("");
    const std::vector<std::pair<TypedRectangle, const char*>> cases = {
        {{"Copper", 0, 1, 0, 1}, "unknown material \"Copper\""},
        {{"Iron", 5, 4, 0, 1}, "r bounds are reversed"},
        {{"Iron", 0, 1, 9, 8}, "z bounds are reversed"},
        {{"Iron", -0.5, 1, 0, 1}, "does not lie within the area 0..100 mm"},
        {{"Iron", 0, 1, 0, 100.01}, "does not lie within"},
        {{"Iron", nan, 1, 0, 1}, "must be numbers"},
        {{"Iron", 0, 1, 0.3, 0.7}, "z 0.3..0.7 mm holds no grid node"},
    };
    for (const auto& [rect, message] : cases) {
        Grid2D<MaterialCode> g(100);
        const auto error = PaintRectangle(g, rect, 100);
        ASSERT_TRUE(error) << message;
        EXPECT_NE(error->find(message), std::string::npos) << *error;
        EXPECT_EQ(g, Grid2D<MaterialCode>(100)) << message;
    }
}

TEST(TypedRectangleTest, PaletteNamesInAnyCaseWithoutSpacesOrDot) {
    // clang-format off
    const std::pair<const char*, std::optional<MaterialCode>> cases[] = {
        {"coil1", MaterialCode::Coil1}, {"Coil 2", MaterialCode::Coil2},
        {"magnetS", MaterialCode::MagnetS}, {"MAGNET N", MaterialCode::MagnetN},
        {"nonmag", MaterialCode::Nonmag}, {"Nonmag.", MaterialCode::Nonmag},
        {"iron", MaterialCode::Iron}, {"Vacuum", MaterialCode::Vacuum},
        {"magnet", std::nullopt}, {"coil", std::nullopt}, {"", std::nullopt}, {"Iron2", std::nullopt}};
    // clang-format on
    for (const auto& [name, code] : cases) {
        EXPECT_EQ(MaterialFromName(name), code) << name;
    }
}

// The rectangle tool's pixels between the same corners, sampled back to the grid painting.
TEST(TypedRectangleTest, RasterPaintingIsTheRectangleToolsAndSamplesToTheGridPainting) {
    for (int n : {50, 100, 400}) {
        const TypedRectangle rect{"Magnet N", 0.9 * 100 / n, 30, 12.5, 70};
        const RectanglePlacement p = PlaceRectangle(rect, n, 100);
        ASSERT_TRUE(p.placed);
        auto area = [n] {
            RasterSurface s(400, 400);
            s.SetBackColor(kVacuumColor);
            s.SetScale(n, n);
            s.SetPenWidth(PenWidthFor(n));
            s.Clear();
            s.FilledBox(n / 5, n / 5, n / 2, n / 2, MaterialColor(MaterialCode::Coil2));
            return s;
        };
        RasterSurface typed = area();
        PaintNodes(typed, *p.placed, n);

        RasterSurface drawn = area();
        drawn.SetForeColor(MaterialColor(MaterialCode::MagnetN));
        PointerState pointer;
        GeometryEditor editor(drawn, pointer);
        const NodeBox& b = p.placed->nodes;
        editor.MouseDown(kLeftButton, b.i0, b.j0);
        editor.MouseMove(kLeftButton, b.i1, b.j0 + 1);
        editor.MouseMove(kLeftButton, b.i1, b.j1);
        editor.MouseUp(kLeftButton, b.i1, b.j1);
        ASSERT_TRUE(std::equal(typed.Pixels(), typed.Pixels() + 400 * 400, drawn.Pixels())) << n;

        Grid2D<MaterialCode> grid = SampleMaterial(area(), n);
        PaintNodes(grid, *p.placed);
        EXPECT_EQ(SampleMaterial(typed, n), grid) << n;
        EXPECT_EQ(grid(b.i0, b.j0), MaterialCode::MagnetN);
        EXPECT_EQ(grid(b.i0 - 1, b.j0), MaterialCode::Vacuum);
    }
}

}  // namespace
}  // namespace tesvid
