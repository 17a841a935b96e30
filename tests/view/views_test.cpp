// The result views: the field colour map, the force lines, the probe and its graphs.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <set>

#include "model/raster_surface.h"
#include "solver/calculation.h"
#include "solver/drawn_model.h"
#include "view/color_ramp.h"
#include "view/distribution_graph.h"
#include "view/field_color_map.h"
#include "view/field_probe.h"
#include "view/force_lines.h"
#include "view/iso_line_tracer.h"

namespace tesvid {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// A model with the arrays and the field created (zero) for n cells over 100 mm.
Model ViewModel(int n) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n), m.project.AreaSize = 100;
    m.project.GridStep = 0.1 / n, m.project.LineStep = 10;
    m.arrays.Material.Create(n), m.arrays.VecPot.Create(n);
    for (auto* g : {&m.field.Br, &m.field.Bz, &m.field.B}) {
        g->Create(n);
    }
    return m;
}

// A raster surface that also keeps the texts and lines drawn on it.
struct RecordingSurface : RasterSurface {
    struct LineCall {
        double x1, y1, x2, y2;
        Rgb color;
    };
    using RasterSurface::RasterSurface;
    void PrintLine(std::string_view text) override {
        texts.emplace_back(text);
        RasterSurface::PrintLine(text);
    }
    void Line(double x1, double y1, double x2, double y2, Rgb c) override {
        lines.push_back({x1, y1, x2, y2, c});
        RasterSurface::Line(x1, y1, x2, y2, c);
    }
    std::vector<std::uint32_t> Copy() const { return {Pixels(), Pixels() + 400 * 400}; }
    std::vector<std::string> texts;
    std::vector<LineCall> lines;
};

struct ResultView {
    explicit ResultView(const Model& m) {
        picture1.SetScale(m.project.GridSize, m.project.GridSize);
        DrawFieldColorMap(m, grids, picture1, picture3);
    }
    RecordingSurface picture1{400, 400}, picture3{57, 400};
    ForceLineGrids grids;
};

TEST(FieldColorMap, LevelsColoursLineColoursAndTheScale) {
    EXPECT_EQ(RampColor(3), (Rgb{4, 3, 14}));  // 4.5 and 13.5 rounded to even
    Model m = ViewModel(50);
    m.field.B(10, 10) = 1.0f;
    m.field.B(20, 20) = 0.5f;  // half the maximum: level 60 ln 51
    // The two neighbouring singles around level 200: force lines over a node turn black above.
    float below = static_cast<float>((std::exp(200.0 / 60) - 1) / 100);
    while (RampLevel(below, 1.0) > 200) {
        below = std::nextafter(below, 0.0f);
    }
    while (RampLevel(std::nextafter(below, 1.0f), 1.0) <= 200) {
        below = std::nextafter(below, 1.0f);
    }
    m.field.B(5, 5) = below;
    m.field.B(6, 5) = std::nextafter(below, 1.0f);
    const ResultView v(m);
    EXPECT_EQ(v.picture1.ReadPoint(10, 10), kWhite);
    EXPECT_EQ(v.picture1.ReadPoint(20.4, 19.6), RampColor(60 * std::log(51.0)));
    EXPECT_EQ(v.picture1.ReadPoint(0, 0), kBlack);
    EXPECT_EQ(std::make_tuple(v.grids.NodeColor(20, 20), v.grids.NodeColor(6, 5),
                              v.grids.NodeColor(5, 5)),
              std::make_tuple(0, 0, 15));
    // The strip: the ramp from black up to white, labels (e^(0.92 n) - 1) % of the maximum.
    EXPECT_EQ(v.picture3.ReadPoint(5, 0), kWhite);
    const std::vector<std::string> values{"0.0", "150.9", "529.7", "1480.0", "3864.6", "9848.4"};
    ASSERT_GE(v.picture3.texts.size(), values.size());
    for (std::size_t k = 0; k < values.size(); ++k) {
        EXPECT_EQ(v.picture3.texts[k].rfind(values[k], 0), 0u) << v.picture3.texts[k];
    }
    m.project.GridSize = 100;  // arrays of another grid (changed in the options) are not drawn
    const ResultView stale(m);
    EXPECT_TRUE(stale.picture3.texts.empty());
    EXPECT_EQ(stale.picture1.Copy(), RecordingSurface(400, 400).Copy());
}

TEST(FieldColorMap, OutlinesInvertTheBorderOfNonVacuumCellsOnce) {
    Grid2D<MaterialCode> material(50);
    material(10, 10) = MaterialCode::Iron;   // a lone cell: a ring of 9 x 9 pixels
    material(0, 10) = MaterialCode::Nonmag;  // on the axis: its left side lies off the area
    material(20, 0) = MaterialCode::Coil1;   // on the top edge: its top side likewise
    material(30, 50) = MaterialCode::Iron;   // on the bottom edge: four rows on the picture
    RecordingSurface s(400, 400);
    s.SetScale(50, 50);
    const auto fresh = s.Copy();
    DrawRegionOutlines(material, s);
    const auto outlined = s.Copy();
    EXPECT_EQ(std::inner_product(fresh.begin(), fresh.end(), outlined.begin(), 0, std::plus<>(),
                                 std::not_equal_to<>()),
              32 + 17 + 17 + 9 + 2 * 3);
    DrawRegionOutlines(material, s);  // drawn twice, the outline is gone
    EXPECT_EQ(s.Copy(), fresh);
}

struct Progress : ForceLineObserver {
    void SetProgressFraction(double f) override { fractions.push_back(f); }
    void Yield() override { ++yields; }
    bool StopRequested() const override { return stopAfter > 0 && fractions.size() >= stopAfter; }
    std::vector<double> fractions;
    int yields = 0;
    std::size_t stopAfter = 0;
};

// Pieces crossing the ray from (cx, cy) along (dx, dy); no piece ends inside 1/2 .. N - 3/2.
int CrossingsOfClosedLines(const std::vector<RecordingSurface::LineCall>& drawn, double cx,
                           double cy, int dx, int dy) {
    const auto same = [](double x1, double y1, double x2, double y2) {
        return std::fabs(x1 - x2) < 1e-4 && std::fabs(y1 - y2) < 1e-4;
    };
    std::vector<RecordingSurface::LineCall> lines;  // without the dots of lines through nodes
    std::copy_if(drawn.begin(), drawn.end(), std::back_inserter(lines),
                 [&](const auto& l) { return !same(l.x1, l.y1, l.x2, l.y2); });
    int crossings = 0;
    for (const auto& s : lines) {
        for (const auto& [x, y] : {std::pair{s.x1, s.y1}, {s.x2, s.y2}}) {
            const auto joins = std::count_if(lines.begin(), lines.end(), [&](const auto& t) {
                return same(x, y, t.x1, t.y1) || same(x, y, t.x2, t.y2);
            });
            if (x > 0.5 + 1e-6 && y > 0.5 + 1e-6 && x < 48.5 - 1e-6 && y < 48.5 - 1e-6) {
                EXPECT_EQ(joins, 2) << "dangling end at " << x << ", " << y;  // itself and one
            }
        }
        const double u1 = (s.x1 - cx) * dx + (s.y1 - cy) * dy,
                     v1 = (s.x1 - cx) * dy - (s.y1 - cy) * dx;
        const double u2 = (s.x2 - cx) * dx + (s.y2 - cy) * dy,
                     v2 = (s.x2 - cx) * dy - (s.y2 - cy) * dx;
        crossings += (v1 > 0) != (v2 > 0) && u1 + (u2 - u1) * v1 / (v1 - v2) > 0;
    }
    return crossings;
}

TEST(ForceLines, LinesOfACoilCloseAroundTheWinding) {
    Model m;  // Coil 1 at i 10..12, j 20..30 of a 50 grid, 1 A through 1 mm wire
    m.project = FirstStartProject();
    m.project.Current1 = 1;
    Grid2D<MaterialCode> material(50);
    for (int j = 20; j <= 30; ++j) {
        material(10, j) = material(11, j) = material(12, j) = MaterialCode::Coil1;
    }
    CalculationObserver quiet;
    ASSERT_FALSE(CalculateDrawnModel(m, material, FixedSchedule(), quiet).refusal);
    EvaluateField(m);
    ResultView v(m);
    v.picture1.lines.clear();
    Progress progress;
    DrawForceLines(m, v.grids, v.picture1, true, progress);
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        EXPECT_GE(CrossingsOfClosedLines(v.picture1.lines, 11.0, 25.013, dx, dy), 6) << dx << dy;
    }
    std::set<std::uint32_t> colours;
    for (const auto& l : v.picture1.lines) {
        colours.insert(l.color.Packed());
    }
    EXPECT_EQ(colours, (std::set<std::uint32_t>{kBlack.Packed(), kWhite.Packed()}));
    // A progress step per seed column, a yield per seed node; Stop; another grid draws nothing.
    EXPECT_EQ(progress.fractions.size(), 47u);
    EXPECT_DOUBLE_EQ(progress.fractions.back(), 48.0 / 50);
    EXPECT_EQ(progress.yields, 47 * 47);
    Progress stopping;
    stopping.stopAfter = 3;
    DrawForceLines(m, v.grids, v.picture1, false, stopping);
    EXPECT_EQ(stopping.fractions.size(), 3u);
    m.project.GridSize = 100;
    v.picture1.lines.clear();
    DrawForceLines(m, v.grids, v.picture1, false, progress);
    EXPECT_TRUE(v.picture1.lines.empty());
}

TEST(IsoLineTracer, DegenerateLevelsSaddlesAndTheMarkTolerance) {
    struct Sink : IsoSegmentSink {
        void Segment(const IsoSegment& s) override { pieces.push_back(s); }
        std::vector<IsoSegment> pieces;
    };
    Grid2D<double> flux(50);
    Grid2D<std::uint8_t> marks(50);
    const auto trace = [&](double level, float lineStep = 10) {
        std::fill(marks.Vector().begin(), marks.Vector().end(), 1);
        Sink sink;
        TraceIsoLevel(IsoLineGrid{flux, marks, 50, lineStep, -0.5}, level, sink);
        return sink.pieces;
    };
    const auto cleared = [&] {
        return std::count(marks.Vector().begin(), marks.Vector().end(), 0);
    };
    EXPECT_TRUE(trace(1e-9).empty() && cleared() == 0);  // a flat field: no line, no mark
    trace(0, 0);
    EXPECT_EQ(cleared(), 0);  // nor without a tolerance, but at its level every scanned cell
    EXPECT_TRUE(trace(0).empty() && cleared() == 48 * 48);
    flux(5, 7) = 1;  // a level equal to a node: a zero-length piece in each of its cells
    for (const auto& s : trace(1.0)) {
        EXPECT_EQ(std::make_tuple(s.x1, s.y1, s.x2, s.y2), std::make_tuple(4.5f, 6.5f, 4.5f, 6.5f));
    }
    EXPECT_EQ(trace(1.0).size(), 4u);
    // A saddle cell crossed at its four edge middles: six pieces in pair order.
    flux(5, 5) = flux(6, 6) = 1, flux(5, 6) = flux(6, 5) = -1, flux(5, 7) = 0;
    std::vector<std::array<float, 4>> cell;
    for (const auto& s : trace(0)) {
        if (s.i == 5 && s.j == 5) {
            cell.push_back({s.x1, s.y1, s.x2, s.y2});
        }
    }
    const float l = 4.5f, r = 5.5f, c = 5.0f;  // edges e1 left, e2 bottom, e3 right, e4 top
    EXPECT_EQ(
        cell,
        (std::vector<std::array<float, 4>>{
            {l, c, c, r}, {c, r, r, c}, {r, c, c, l}, {c, l, l, c}, {l, c, r, c}, {c, r, c, l}}));
    // F = i: the level 10.25 crosses column 10; marks clear within N LineStep / 100 cells.
    for (int i = 0; i <= 50; ++i) {
        for (int j = 0; j <= 50; ++j) {
            flux(i, j) = i;
        }
    }
    for (const auto& [lineStep, first, last] : {std::tuple{1.0f, 9, 10}, {20.0f, 1, 20}}) {
        trace(10.25, lineStep);
        for (int i = 0; i <= 50; ++i) {
            EXPECT_EQ(std::count(&marks(i, 0), &marks(i, 0) + 51, 0),
                      i >= first && i <= last ? 48 : 0)
                << lineStep << ": column " << i;
        }
    }
}

struct RecordingTarget : ProbeTarget {
    void SetFieldTexts(const ProbeFieldTexts& t) override { texts.push_back(t.b + t.br + t.bz); }
    void DrawGraphs(double x, double y) override { graphs.emplace_back(x, y); }
    void ShowGraphWindows() override { ++shown; }
    std::vector<std::string> texts;
    std::vector<std::pair<double, double>> graphs;
    int shown = 0;
};

TEST(FieldProbe, ReadsTheNodeUnderThePointerAndFreezesOnAClick) {
    for (const auto& [user, node] : {std::pair{2.5f, 2}, {3.5f, 4}, {-0.6f, -1}}) {
        EXPECT_EQ(ProbeNode(user), node) << user;
    }
    EXPECT_TRUE(ProbeNode(NAN) < 0 && ProbeNode(3e9f) > 400);
    Model m = ViewModel(400);
    EXPECT_EQ(ProbeCoordinates(m, 37, 12).r + "|" + ProbeCoordinates(m, 37, 12).z, "9.25|3");
    m = ViewModel(100);
    for (int i = 0; i <= 100; ++i) {
        for (int j = 0; j <= 100; ++j) {
            m.field.B(i, j) = static_cast<float>(std::sin(i * 0.1) * std::cos(j * 0.07) + 1);
        }
    }
    m.field.B(10, 20) = 0.0123f;
    m.field.Br(10, 20) = -0.00004f;
    ResultView v(m);
    const auto before = v.picture1.Copy();
    PointerState pointer{0, 0, -1, -1, false};  // as the Result command leaves it
    RecordingTarget target;
    const auto move = [&](float x, float y) {
        ProbeMouseMove(m, true, v.picture1, pointer, x, y, target);
    };
    move(10.2f, 20.4f);  // the cross-hair inverts the node's row and column once each
    EXPECT_EQ(v.picture1.PixelAt(41, 80), Rgb::FromPacked(before[80 * 400 + 41]).Inverted());
    EXPECT_EQ(v.picture1.PixelAt(40, 80), Rgb::FromPacked(before[80 * 400 + 40]));
    EXPECT_EQ(target.texts, std::vector<std::string>{"123.0-0.40.0"});  // gauss
    move(130.0f, 7.0f);  // off the field: no reading, but the cross-hair follows
    EXPECT_EQ(target.texts.size(), 1u);
    ProbeMouseDown(pointer, target);
    EXPECT_TRUE(pointer.Held);
    EXPECT_EQ(target.shown, 1);
    EXPECT_EQ(target.graphs, (std::vector<std::pair<double, double>>{{10, 20}, {130, 7}}));
    const auto frozen = v.picture1.Copy();
    move(60, 10);
    EXPECT_EQ(v.picture1.Copy(), frozen);  // held: the cross-hair stays
    ProbeMouseDown(pointer, target);
    move(60, 10);
    move(-1, -1);  // as Copy Picture does: no trace left
    EXPECT_EQ(v.picture1.Copy(), before);
    m.project.GridSize = 400;  // the arrays keep the size of the last evaluation
    EXPECT_FALSE(ProbeField(m, 101, 10));
    EXPECT_TRUE(ProbeField(m, 100, 100));
}

}  // namespace
}  // namespace tesvid
