#include "model/project_drawing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "model/raster_surface.h"

namespace tesvid {
namespace {

// The drawing area cleared to Vacuum at the current grid, as the Editor command leaves it
// before DrawProject.
RasterSurface ClearedArea(int gridSize) {
    RasterSurface s(400, 400);
    s.SetScale(gridSize, gridSize);
    s.SetBackColor(kVacuumColor);
    s.Clear();
    return s;
}

Model MapOf(int mapSize, int gridSize) {
    Model m;
    m.arrays.MapGridSize = static_cast<std::int16_t>(mapSize);
    m.project.GridSize = static_cast<std::int16_t>(gridSize);
    m.arrays.Material.Create(mapSize);
    return m;
}

MaterialCode Read(const RasterSurface& s, int i, int j) {
    return MaterialFromColor(s.ReadPoint(i, j));
}

TEST(ProjectDrawing, VacuumMapPaintsNothingAndLeavesThePenForTheEditor) {
    for (int n : {50, 100, 200, 400}) {
        Model m = MapOf(n, n);
        RasterSurface s = ClearedArea(n);
        s.SetDrawMode(DrawMode::Invert);
        s.SetPenWidth(1);
        const std::vector<std::uint32_t> before(s.Pixels(), s.Pixels() + 400 * 400);
        DrawProject(m, s);
        EXPECT_EQ(std::vector<std::uint32_t>(s.Pixels(), s.Pixels() + 400 * 400), before);
        EXPECT_EQ(s.PenWidth(), 400 / n);
        EXPECT_EQ(s.GetDrawMode(), DrawMode::Copy);
    }
}

TEST(ProjectDrawing, SameGridReadsBackTheSameMap) {
    for (int n : {50, 100, 400}) {
        Model m = MapOf(n, n);
        // Every material, single nodes and blocks, neighbours of different kinds.
        const MaterialCode codes[] = {MaterialCode::Iron,    MaterialCode::MagnetS,
                                      MaterialCode::MagnetN, MaterialCode::Coil1,
                                      MaterialCode::Coil2,   MaterialCode::Nonmag};
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                if ((i * 7 + j * 3) % 5 != 0) {
                    m.arrays.Material(i, j) = codes[(i / 3 + j) % 6];
                }
            }
        }
        RasterSurface s = ClearedArea(n);
        DrawProject(m, s);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                ASSERT_EQ(Read(s, i, j), m.arrays.Material(i, j)) << n << ": " << i << "," << j;
            }
        }
    }
}

TEST(ProjectDrawing, CoarseMapOnAFinerGridKeepsItsSizeAndPlace) {
    Model m = MapOf(50, 100);
    for (int i = 10; i <= 12; ++i) {
        for (int j = 20; j <= 30; ++j) {
            m.arrays.Material(i, j) = MaterialCode::Coil1;
        }
    }
    m.arrays.Material(13, 25) = MaterialCode::Iron;  // painted after the coil column 12
    RasterSurface s = ClearedArea(100);
    DrawProject(m, s);
    // Each map node is a square of 2 grid units centred on node (2i, 2j); the odd nodes on the
    // edges where two boxes meet take the box painted later.
    EXPECT_EQ(Read(s, 20, 40), MaterialCode::Coil1);
    EXPECT_EQ(Read(s, 24, 60), MaterialCode::Coil1);
    EXPECT_EQ(Read(s, 19, 39), MaterialCode::Coil1);
    EXPECT_EQ(Read(s, 25, 61), MaterialCode::Coil1);
    EXPECT_EQ(Read(s, 18, 40), MaterialCode::Vacuum);
    EXPECT_EQ(Read(s, 24, 62), MaterialCode::Vacuum);
    EXPECT_EQ(Read(s, 26, 50), MaterialCode::Iron);
    EXPECT_EQ(Read(s, 25, 50), MaterialCode::Iron);
    EXPECT_EQ(Read(s, 27, 50), MaterialCode::Iron);
    EXPECT_EQ(Read(s, 25, 48), MaterialCode::Coil1);
    EXPECT_EQ(s.PenWidth(), 4);
}

TEST(ProjectDrawing, FineMapOnACoarserGridKeepsTheEvenNodes) {
    Model m = MapOf(100, 50);
    for (int j = 0; j <= 100; ++j) {
        m.arrays.Material(40, j) = MaterialCode::MagnetS;  // even column
        m.arrays.Material(41, j) = MaterialCode::Coil2;    // odd column, between nodes 20 and 21
    }
    m.arrays.Material(60, 60) = MaterialCode::Nonmag;
    m.arrays.Material(61, 61) = MaterialCode::Iron;
    RasterSurface s = ClearedArea(50);
    DrawProject(m, s);
    for (int j = 0; j < 50; ++j) {
        EXPECT_EQ(Read(s, 20, j), MaterialCode::MagnetS) << j;
        EXPECT_EQ(Read(s, 21, j), MaterialCode::Vacuum) << j;
    }
    EXPECT_EQ(Read(s, 30, 30), MaterialCode::Nonmag);
    EXPECT_EQ(Read(s, 31, 31), MaterialCode::Vacuum);
    EXPECT_EQ(s.PenWidth(), 8);
}

TEST(ProjectDrawing, BorderNodesAreClippedBoxes) {
    Model m = MapOf(50, 50);
    m.arrays.Material(0, 0) = MaterialCode::Iron;
    m.arrays.Material(50, 50) = MaterialCode::Iron;
    m.arrays.Material(50, 10) = MaterialCode::Coil1;
    RasterSurface s = ClearedArea(50);
    DrawProject(m, s);
    EXPECT_EQ(Read(s, 0, 0), MaterialCode::Iron);
    // The far border's own pixels lie off the area; the inner half of its box shows.
    EXPECT_EQ(s.PixelAt(399, 399), MaterialColor(MaterialCode::Iron));
    EXPECT_EQ(s.PixelAt(399, 80), MaterialColor(MaterialCode::Coil1));
    EXPECT_EQ(s.PixelAt(395, 80), kVacuumColor);
}

TEST(ProjectDrawing, MapThatDisagreesWithItsRecordedSizePaintsNothing) {
    Model m = MapOf(50, 50);
    m.arrays.Material(5, 5) = MaterialCode::Iron;
    m.arrays.MapGridSize = 100;  // the array is a 50 map
    RasterSurface s = ClearedArea(50);
    DrawProject(m, s);
    EXPECT_EQ(Read(s, 5, 5), MaterialCode::Vacuum);
    Model none;
    none.GridSize = 50;
    DrawProject(none, s);  // never built: nothing to paint, no fault
    EXPECT_EQ(s.PenWidth(), 8);
}

}  // namespace
}  // namespace tesvid
