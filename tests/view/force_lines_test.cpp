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

// Joins the drawn pieces end to end: every end inside the scanned area must continue in
// exactly one other piece. Returns the number of closed chains enclosing (cx, cy).
int ClosedLoopsAround(const std::vector<RecordingSurface::LineCall>& lines, int n, double cx,
                      double cy) {
    const auto same = [](double x1, double y1, double x2, double y2) {
        return std::fabs(x1 - x2) < 1e-4 && std::fabs(y1 - y2) < 1e-4;
    };
    std::vector<RecordingSurface::LineCall> s;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(s),
                 [&](const auto& l) { return !same(l.x1, l.y1, l.x2, l.y2); });
    const std::size_t count = s.size();
    EXPECT_GT(count, 50u);
    const auto joined = [&](std::size_t a, std::size_t b, int end) {
        const double x = end == 0 ? s[a].x1 : s[a].x2, y = end == 0 ? s[a].y1 : s[a].y2;
        return int{same(x, y, s[b].x1, s[b].y1)} + int{same(x, y, s[b].x2, s[b].y2)};
    };
    std::vector<int> chain(count, -1);
    std::vector<bool> open;
    for (std::size_t start = 0; start < count; ++start) {
        if (chain[start] >= 0) {
            continue;
        }
        const int c = static_cast<int>(open.size());
        open.push_back(false);
        std::vector<std::size_t> stack{start};
        chain[start] = c;
        while (!stack.empty()) {
            const std::size_t a = stack.back();
            stack.pop_back();
            for (int end = 0; end < 2; ++end) {
                int joins = 0;
                for (std::size_t b = 0; b < count; ++b) {
                    if (b != a && joined(a, b, end) > 0) {
                        joins += joined(a, b, end);
                        if (chain[b] < 0) {
                            chain[b] = c;
                            stack.push_back(b);
                        }
                    }
                }
                const double x = end == 0 ? s[a].x1 : s[a].x2, y = end == 0 ? s[a].y1 : s[a].y2;
                if (x < 0.5 + 1e-6 || y < 0.5 + 1e-6 || x > n - 1.5 - 1e-6 || y > n - 1.5 - 1e-6) {
                    open[static_cast<std::size_t>(c)] = true;  // ends on the scanned area's edge
                } else {
                    EXPECT_EQ(joins, 1) << "dangling end at " << x << ", " << y;
                }
            }
        }
    }
    int loops = 0;
    for (std::size_t c = 0; c < open.size(); ++c) {
        int crossings = 0;  // of the ray from (cx, cy) to the right
        for (std::size_t k = 0; k < count; ++k) {
            if (chain[k] == static_cast<int>(c) && (s[k].y1 > cy) != (s[k].y2 > cy) &&
                s[k].x1 + (cy - s[k].y1) * (s[k].x2 - s[k].x1) / (s[k].y2 - s[k].y1) > cx) {
                ++crossings;
            }
        }
        if (!open[c]) {
            EXPECT_EQ(crossings % 2, 1) << "a closed line that does not go round the winding";
            ++loops;
        }
    }
    return loops;
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
    EXPECT_GE(ClosedLoopsAround(picture.lines, 50, 11.0, 25.013), 3);
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
