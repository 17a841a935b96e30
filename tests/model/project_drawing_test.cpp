#include "model/project_drawing.h"

#include <gtest/gtest.h>

#include "model/raster_surface.h"

namespace tesvid {
namespace {

// A material map of mapSize cells painted onto the drawing area of a gridSize grid, cleared
// to vacuum first as the editing view does.
struct Drawn {
    Model m;
    RasterSurface s{400, 400};
    Drawn(int mapSize, int gridSize) {
        m.arrays.MapGridSize = static_cast<std::int16_t>(mapSize);
        m.project.GridSize = static_cast<std::int16_t>(gridSize);
        m.arrays.Material.Create(mapSize);
        s.SetScale(gridSize, gridSize);
        s.SetBackColor(kVacuumColor);
        s.Clear();
    }
    void Draw() {
        s.SetDrawMode(DrawMode::Invert);
        DrawProject(m, s);
    }
    MaterialCode At(int i, int j) const { return MaterialFromColor(s.ReadPoint(i, j)); }
};

TEST(ProjectDrawing, SameGridReadsBackTheSameMap) {
    for (int n : {50, 100, 400}) {
        Drawn d(n, n);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                if ((i * 7 + j * 3) % 5 != 0) {
                    d.m.arrays.Material(i, j) =
                        kSampledMaterials[static_cast<std::size_t>((i / 3 + j) % 6)];
                }
            }
        }
        d.Draw();
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                ASSERT_EQ(d.At(i, j), d.m.arrays.Material(i, j)) << n << ": " << i << "," << j;
            }
        }
        EXPECT_EQ(d.s.PenWidth(), 400 / n);  // left for the editor
        EXPECT_EQ(d.s.GetDrawMode(), DrawMode::Copy);
    }
}

TEST(ProjectDrawing, MapOfAnotherGridKeepsItsSizeAndPlace) {
    Drawn coarse(50, 100);  // each map node a square of 2 units centred on node (2i, 2j)
    coarse.m.arrays.Material(10, 20) = MaterialCode::Coil1;
    coarse.m.arrays.Material(11, 20) = MaterialCode::Iron;  // painted later: takes the shared edge
    coarse.Draw();
    for (const auto& [i, j, code] : {std::tuple{19, 39, MaterialCode::Coil1},
                                     {20, 41, MaterialCode::Coil1},
                                     {21, 40, MaterialCode::Iron},
                                     {23, 41, MaterialCode::Iron},
                                     {18, 40, MaterialCode::Vacuum},
                                     {20, 42, MaterialCode::Vacuum}}) {
        EXPECT_EQ(coarse.At(i, j), code) << i << "," << j;
    }
    Drawn fine(100, 50);  // the even nodes fall on the grid's nodes, the odd ones between
    fine.m.arrays.Material(40, 40) = MaterialCode::MagnetS;
    fine.m.arrays.Material(43, 43) = MaterialCode::Iron;
    fine.Draw();
    EXPECT_EQ(fine.At(20, 20), MaterialCode::MagnetS);
    EXPECT_EQ(fine.At(21, 21), MaterialCode::Vacuum);
    EXPECT_EQ(fine.At(22, 22), MaterialCode::Vacuum);

    Drawn wrong(50, 50);  // a map whose array disagrees with its recorded size paints nothing
    wrong.m.arrays.Material(5, 5) = MaterialCode::Iron;
    wrong.m.arrays.MapGridSize = 100;
    wrong.Draw();
    EXPECT_EQ(wrong.At(5, 5), MaterialCode::Vacuum);
}

}  // namespace
}  // namespace tesvid
