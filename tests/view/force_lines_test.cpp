// Force lines: lines of constant r A traced cell by cell.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "solver/calculation.h"
#include "solver/drawn_model.h"
#include "view/field_color_map.h"
#include "view/force_lines.h"
#include "view/iso_line_tracer.h"
#include "view_test_support.h"

namespace tesvid {
namespace {

using testing::MakeViewModel;
using testing::RecordingSurface;

struct Collect : IsoSegmentSink {
    void Segment(const IsoSegment& s) override { segments.push_back(s); }
    std::vector<IsoSegment> segments;
};

struct Progress : ForceLineObserver {
    void SetProgressFraction(double f) override { fractions.push_back(f); }
    void Yield() override { ++yields; }
    bool StopRequested() const override {
        return stopAfterColumns > 0 && fractions.size() >= stopAfterColumns;
    }
    std::vector<double> fractions;
    int yields = 0;
    std::size_t stopAfterColumns = 0;
};

// The 50-grid coil (Coil1 at i 10..12, j 20..30, 1 A through 1 mm wire, 100 mm), calculated.
Model SolvedCoil() {
    Model m;
    m.project = FirstStartProject();
    m.project.Current1 = 1;
    Grid2D<MaterialCode> material(50);
    for (int i = 10; i <= 12; ++i) {
        for (int j = 20; j <= 30; ++j) {
            material(i, j) = MaterialCode::Coil1;
        }
    }
    struct : CalculationObserver {
    } quiet;
    EXPECT_FALSE(CalculateDrawnModel(m, material, quiet));
    EvaluateField(m);
    return m;
}

// Force lines do not end inside the scanned area (1/2 .. N - 3/2): every end of a drawn piece
// there continues in exactly one other piece. Returns how many pieces cross the ray from
// (cx, cy) in the direction (dx, dy), one of the four axis directions.
int CrossingsOfClosedLines(const std::vector<RecordingSurface::LineCall>& drawn, int n, double cx,
                           double cy, int dx, int dy) {
    const auto same = [](double x1, double y1, double x2, double y2) {
        return std::fabs(x1 - x2) < 1e-4 && std::fabs(y1 - y2) < 1e-4;
    };
    std::vector<RecordingSurface::LineCall> lines;  // without the dots of lines through nodes
    std::copy_if(drawn.begin(), drawn.end(), std::back_inserter(lines),
                 [&](const auto& l) { return !same(l.x1, l.y1, l.x2, l.y2); });
    int crossings = 0;
    for (std::size_t a = 0; a < lines.size(); ++a) {
        const auto& s = lines[a];
        for (const auto& [x, y] : {std::pair{s.x1, s.y1}, {s.x2, s.y2}}) {
            int joins = 0;
            for (std::size_t b = 0; b < lines.size(); ++b) {
                joins += b != a && (same(x, y, lines[b].x1, lines[b].y1) ||
                                    same(x, y, lines[b].x2, lines[b].y2));
            }
            const bool inside =
                x > 0.5 + 1e-6 && y > 0.5 + 1e-6 && x < n - 1.5 - 1e-6 && y < n - 1.5 - 1e-6;
            EXPECT_TRUE(!inside || joins == 1) << "dangling end at " << x << ", " << y;
        }
        // Along the ray, u runs from the start point outwards, v across it.
        const double u1 = (s.x1 - cx) * dx + (s.y1 - cy) * dy,
                     v1 = (s.x1 - cx) * dy - (s.y1 - cy) * dx;
        const double u2 = (s.x2 - cx) * dx + (s.y2 - cy) * dy,
                     v2 = (s.x2 - cx) * dy - (s.y2 - cy) * dx;
        crossings += (v1 > 0) != (v2 > 0) && u1 + (u2 - u1) * v1 / (v1 - v2) > 0;
    }
    return crossings;
}

TEST(ForceLines, LinesOfACoilAreClosedLoopsAroundTheWinding) {
    Model m = SolvedCoil();
    RecordingSurface picture(400, 400), strip(57, 400);
    picture.SetScale(50, 50);
    ForceLineGrids grids;
    DrawFieldColorMap(m, grids, picture, strip);
    picture.lines.clear();
    Progress progress;
    DrawForceLines(m, grids, picture, true, progress);
    // The lines close or leave the area, and lines pass the winding on every side: between
    // it and the axis, outside it, above and below.
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        EXPECT_GE(CrossingsOfClosedLines(picture.lines, 50, 11.0, 25.013, dx, dy), 6) << dx << dy;
    }
    // Over the colour map each piece takes the colour recorded for its cell.
    std::set<std::uint32_t> colours;
    for (const auto& l : picture.lines) {
        colours.insert(l.color.Packed());
    }
    EXPECT_EQ(colours,
              (std::set<std::uint32_t>{Rgb{0, 0, 0}.Packed(), Rgb{255, 255, 255}.Packed()}));
    // One progress step per seed column 2 .. N - 2, a yield per seed node.
    EXPECT_EQ(progress.fractions.size(), 47u);
    EXPECT_DOUBLE_EQ(progress.fractions.back(), 48.0 / 50);
    EXPECT_EQ(progress.yields, 47 * 47);
    // Stop ends the drawing before the next column.
    Progress stopping;
    stopping.stopAfterColumns = 3;
    DrawForceLines(m, grids, picture, false, stopping);
    EXPECT_EQ(stopping.fractions.size(), 3u);
    // Nothing for a potential of another grid.
    m.project.GridSize = 100;
    picture.lines.clear();
    DrawForceLines(m, grids, picture, false, progress);
    EXPECT_TRUE(picture.lines.empty());
}

// A flux function of the given shape on a 50 grid with every trace mark set.
struct FluxGrid {
    explicit FluxGrid(const std::function<double(int, int)>& f, int n = 50) : flux(n), marks(n) {
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                flux(i, j) = f(i, j);
                marks(i, j) = 1;
            }
        }
    }
    std::vector<IsoSegment> Trace(double level, double offset = -0.5, float lineStep = 10) {
        Collect sink;
        TraceIsoLevel(IsoLineGrid{flux, marks, flux.N(), lineStep, offset}, level, sink);
        return sink.segments;
    }
    int Cleared() const {
        return static_cast<int>(std::count(marks.Vector().begin(), marks.Vector().end(), 0));
    }
    Grid2D<double> flux;
    Grid2D<std::uint8_t> marks;
};

TEST(IsoLineTracer, DegenerateLevelsAndSaddles) {
    FluxGrid flat([](int, int) { return 0.0; });
    EXPECT_TRUE(flat.Trace(1e-9).empty());
    EXPECT_EQ(flat.Cleared(), 0);
    EXPECT_TRUE(flat.Trace(0).empty());  // the level of a flat field: near every scanned cell
    EXPECT_EQ(flat.Cleared(), 48 * 48);
    // A level equal to one node's value: a zero-length piece at the node in each of its cells.
    FluxGrid peak([](int i, int j) { return i == 5 && j == 7 ? 1.0 : 0.0; });
    const auto pieces = peak.Trace(1.0);
    ASSERT_EQ(pieces.size(), 4u);
    for (const auto& s : pieces) {
        EXPECT_EQ(std::make_tuple(s.x1, s.y1, s.x2, s.y2), std::make_tuple(4.5f, 6.5f, 4.5f, 6.5f));
    }
    // A saddle cell crossed on all four edges: six pieces in the pair order.
    FluxGrid saddle([](int i, int j) {
        return (i == 5 || i == 6) && (j == 5 || j == 6) ? ((i + j) % 2 ? -1 : 1) : 9;
    });
    std::vector<IsoSegment> cell;
    for (const auto& s : saddle.Trace(0)) {
        if (s.i == 5 && s.j == 5) {
            cell.push_back(s);
        }
    }
    ASSERT_EQ(cell.size(), 6u);
    const float p[4][2] = {{4.5f, 5.0f}, {5.0f, 5.5f}, {5.5f, 5.0f}, {5.0f, 4.5f}};  // edge middles
    const int pairs[6][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(cell[k].x1, p[pairs[k][0]][0]) << k;
        EXPECT_EQ(cell[k].y1, p[pairs[k][0]][1]) << k;
        EXPECT_EQ(cell[k].x2, p[pairs[k][1]][0]) << k;
        EXPECT_EQ(cell[k].y2, p[pairs[k][1]][1]) << k;
    }
}

TEST(IsoLineTracer, MarksClearWithinTheToleranceAndDoNotChangeTheLine) {
    // F = i: the level 10.25 crosses the cells of column 10 only; a cell is marked off when an
    // edge parameter lies within tol = N LineStep / 100 cells.
    for (const auto& [lineStep, first, last] : {std::tuple{1.0f, 9, 10}, {20.0f, 1, 20}}) {
        FluxGrid columns([](int i, int) { return double(i); });
        columns.Trace(10.25, -0.5, lineStep);
        for (int i = 0; i <= 50; ++i) {
            const int cleared =
                static_cast<int>(std::count(&columns.marks(i, 0), &columns.marks(i, 0) + 51, 0));
            EXPECT_EQ(cleared, i >= first && i <= last ? 48 : 0) << lineStep << ": column " << i;
        }
    }
    // The screen's cells lie half a cell up and left of the page's; cells already cleared
    // are skipped only where the level cannot cross them: the pieces stay the same.
    const auto wavy = [](int i, int j) { return i * 0.7 + 3 * std::sin(j * 0.3) + 0.01 * i * j; };
    for (double level : {0.5, 7.25, 20.0, 33.3}) {
        FluxGrid screen(wavy), page(wavy), again(wavy);
        const auto s = screen.Trace(level, -0.5), p = page.Trace(level, 0.0);
        std::fill(again.marks.Vector().begin(), again.marks.Vector().end(), 0);
        const auto fast = again.Trace(level, -0.5);
        ASSERT_FALSE(s.empty());
        ASSERT_EQ(s.size(), p.size());
        ASSERT_EQ(s.size(), fast.size());
        for (std::size_t k = 0; k < s.size(); ++k) {
            ASSERT_EQ(std::make_pair(s[k].i, s[k].j), std::make_pair(p[k].i, p[k].j));
            EXPECT_NEAR(s[k].x1 + 0.5f, p[k].x1, 1e-5);
            EXPECT_NEAR(s[k].y2 + 0.5f, p[k].y2, 1e-5);
            EXPECT_EQ(std::make_tuple(s[k].x1, s[k].y1, s[k].x2, s[k].y2),
                      std::make_tuple(fast[k].x1, fast[k].y1, fast[k].x2, fast[k].y2));
            ASSERT_GE(std::min({p[k].x1, p[k].y1, p[k].x2, p[k].y2}), 1.0f);  // off the outer ring
            ASSERT_LE(std::max({p[k].x1, p[k].y1, p[k].x2, p[k].y2}), 49.0f);
        }
        EXPECT_TRUE(screen.marks == page.marks);
    }
}

}  // namespace
}  // namespace tesvid
