#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "recording_surface.h"
#include "view/iso_line_tracer.h"
#include "view_test_model.h"

namespace tesvid {
namespace {

using testing::MakeViewModel;
using testing::RecordingSurface;

class Collect : public IsoSegmentSink {
  public:
    void Segment(const IsoSegment& s) override { segments.push_back(s); }
    std::vector<IsoSegment> InCell(int i, int j) const {
        std::vector<IsoSegment> r;
        for (const auto& s : segments) {
            if (s.i == i && s.j == j) {
                r.push_back(s);
            }
        }
        return r;
    }
    std::vector<IsoSegment> segments;
};

void SetAllMarks(Model& m, std::uint8_t v) {
    for (auto& x : m.TraceMark.Vector()) {
        x = v;
    }
}

int ClearedMarks(const Model& m) {
    int count = 0;
    for (auto x : m.TraceMark.Vector()) {
        count += x == 0 ? 1 : 0;
    }
    return count;
}

void Trace(Model& m, double level, double offset, Collect& sink) {
    TraceIsoLevel(IsoLineGrid{m.FluxFunction, m.TraceMark, m.project.GridSize, m.project.LineStep, offset}, level, sink);
}

TEST(IsoLineTracer, FieldFreeModelAtLevelZeroDrawsNothingAndClearsEveryScannedMark) {
    Model m = MakeViewModel(50);
    SetAllMarks(m, 1);
    Collect sink;
    Trace(m, 0.0, -0.5, sink);
    EXPECT_TRUE(sink.segments.empty());
    for (int i = 0; i <= 50; ++i) {
        for (int j = 0; j <= 50; ++j) {
            const bool scanned = i >= 1 && i <= 48 && j >= 1 && j <= 48;
            ASSERT_EQ(m.TraceMark(i, j), scanned ? 0 : 1) << i << "," << j;
        }
    }
}

TEST(IsoLineTracer, FieldFreeModelAtAnotherLevelDrawsNothingAndClearsNoMark) {
    Model m = MakeViewModel(50);
    SetAllMarks(m, 1);
    Collect sink;
    Trace(m, 1e-9, -0.5, sink);
    Trace(m, -3.0, -0.5, sink);
    EXPECT_TRUE(sink.segments.empty());
    EXPECT_EQ(ClearedMarks(m), 0);
}

TEST(IsoLineTracer, LevelAtANodeValueGivesZeroLengthPiecesAtThatNode) {
    Model m = MakeViewModel(50);
    m.FluxFunction(5, 7) = 1.0;
    Collect sink;
    Trace(m, 1.0, -0.5, sink);
    // The four cells around the node each get one piece of zero length at the node.
    ASSERT_EQ(sink.segments.size(), 4u);
    for (const auto& s : sink.segments) {
        EXPECT_FLOAT_EQ(s.x1, 4.5f);
        EXPECT_FLOAT_EQ(s.y1, 6.5f);
        EXPECT_FLOAT_EQ(s.x2, 4.5f);
        EXPECT_FLOAT_EQ(s.y2, 6.5f);
    }

    // Drawn on a surface, the zero-length piece is a dot.
    RecordingSurface picture(400, 400);
    picture.SetScale(50, 50);
    picture.Clear();
    m.NodeColor(5, 7) = 0;
    TraceIsoLine(m, picture, 1.0, false);
    EXPECT_EQ(picture.ReadPoint(4.5, 6.5), (Rgb{255, 255, 255}));
    picture.SetBackColor(Rgb{192, 192, 192});
    picture.Clear();
    TraceIsoLine(m, picture, 1.0, true);  // NodeColor 0 is black
    EXPECT_EQ(picture.ReadPoint(4.5, 6.5), (Rgb{0, 0, 0}));
}

TEST(IsoLineTracer, AlternatingCellGetsSixPiecesInPairOrder) {
    Model m = MakeViewModel(50);
    m.FluxFunction(5, 5) = 1;
    m.FluxFunction(5, 6) = -1;
    m.FluxFunction(6, 6) = 1;
    m.FluxFunction(6, 5) = -1;
    Collect sink;
    Trace(m, 0.0, -0.5, sink);
    const auto cell = sink.InCell(5, 5);
    ASSERT_EQ(cell.size(), 6u);
    // Crossing points at the middle of e1 (left), e2 (bottom), e3 (right), e4 (top).
    const float p[4][2] = {{4.5f, 5.0f}, {5.0f, 5.5f}, {5.5f, 5.0f}, {5.0f, 4.5f}};
    const int pairs[6][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}};
    for (int k = 0; k < 6; ++k) {
        const auto& s = cell[static_cast<std::size_t>(k)];
        EXPECT_FLOAT_EQ(s.x1, p[pairs[k][0]][0]) << k;
        EXPECT_FLOAT_EQ(s.y1, p[pairs[k][0]][1]) << k;
        EXPECT_FLOAT_EQ(s.x2, p[pairs[k][1]][0]) << k;
        EXPECT_FLOAT_EQ(s.y2, p[pairs[k][1]][1]) << k;
    }
}

// A smooth field with iso-lines at every level between its extremes, crossing the outer ring.
void FillWavyField(Model& m) {
    const int n = m.project.GridSize;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            m.FluxFunction(i, j) = i * 0.7 + 3 * std::sin(j * 0.3) + 0.01 * i * j;
        }
    }
}

TEST(IsoLineTracer, LinesStayOutOfTheOuterRingAndScreenLiesHalfACellUpLeft) {
    const int n = 50;
    Model m = MakeViewModel(n);
    FillWavyField(m);
    for (double level : {0.5, 7.25, 20.0, 33.3}) {
        SetAllMarks(m, 1);
        Collect screen;
        Trace(m, level, -0.5, screen);
        const auto screenMarks = m.TraceMark;
        SetAllMarks(m, 1);
        Collect printer;
        Trace(m, level, 0.0, printer);
        EXPECT_EQ(m.TraceMark, screenMarks);

        ASSERT_FALSE(screen.segments.empty()) << level;
        ASSERT_EQ(screen.segments.size(), printer.segments.size());
        for (std::size_t k = 0; k < screen.segments.size(); ++k) {
            const auto& s = screen.segments[k];
            const auto& p = printer.segments[k];
            ASSERT_EQ(s.i, p.i);
            ASSERT_EQ(s.j, p.j);
            EXPECT_NEAR(s.x1, p.x1 - 0.5f, 1e-5);
            EXPECT_NEAR(s.y1, p.y1 - 0.5f, 1e-5);
            EXPECT_NEAR(s.x2, p.x2 - 0.5f, 1e-5);
            EXPECT_NEAR(s.y2, p.y2 - 0.5f, 1e-5);
            for (float c : {p.x1, p.y1, p.x2, p.y2}) {
                ASSERT_GE(c, 1.0f);
                ASSERT_LE(c, n - 1.0f);
            }
        }
    }
}

TEST(IsoLineTracer, MarksFollowTheLineWithinTheToleranceAlongTheEdges) {
    // F grows by 1 per column and is flat down each column: the level 10.25 crosses column
    // cells i = 10 only.
    const int n = 50;
    Model m = MakeViewModel(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            m.FluxFunction(i, j) = i;
        }
    }
    auto clearedColumns = [&](float lineStep) {
        m.project.LineStep = lineStep;
        SetAllMarks(m, 1);
        Collect sink;
        Trace(m, 10.25, -0.5, sink);
        std::vector<int> columns;
        for (int i = 0; i <= n; ++i) {
            int cleared = 0;
            for (int j = 0; j <= n; ++j) {
                cleared += m.TraceMark(i, j) == 0 ? 1 : 0;
            }
            if (cleared > 0) {
                EXPECT_EQ(cleared, n - 2) << i;
                columns.push_back(i);
            }
        }
        return columns;
    };
    // tol 0.5 cell: the crossed column and the one whose edge nearly reaches the level.
    EXPECT_EQ(clearedColumns(1), (std::vector<int>{9, 10}));
    // tol 10 cells: a band of about ten cells on each side.
    std::vector<int> band;
    for (int i = 1; i <= 20; ++i) {
        band.push_back(i);
    }
    EXPECT_EQ(clearedColumns(20), band);
}

TEST(IsoLineTracer, SkippingCellsFarFromTheLevelKeepsEveryPieceAndMark) {
    // Marks already cleared take the fast path; a model with every mark set takes the full one.
    const int n = 100;
    Model m = MakeViewModel(n);
    FillWavyField(m);
    m.project.LineStep = 0.5;
    for (double level : {3.0, 17.77, 41.0}) {
        SetAllMarks(m, 1);
        Collect full;
        Trace(m, level, -0.5, full);
        SetAllMarks(m, 0);
        Collect fast;
        Trace(m, level, -0.5, fast);
        ASSERT_EQ(full.segments.size(), fast.segments.size());
        for (std::size_t k = 0; k < full.segments.size(); ++k) {
            EXPECT_EQ(full.segments[k].i, fast.segments[k].i);
            EXPECT_EQ(full.segments[k].j, fast.segments[k].j);
            EXPECT_EQ(full.segments[k].x1, fast.segments[k].x1);
            EXPECT_EQ(full.segments[k].y2, fast.segments[k].y2);
        }
    }
}

TEST(IsoLineTracer, PrinterMemberDrawsInTheForegroundColourAtTheNodes) {
    Model m = MakeViewModel(50);
    m.FluxFunction(5, 5) = 1;
    m.FluxFunction(5, 6) = -1;
    m.FluxFunction(6, 6) = 1;
    m.FluxFunction(6, 5) = -1;
    RecordingSurface page(500, 500);
    page.SetScale(50, 50);
    page.SetForeColor(Rgb{1, 2, 3});
    TraceIsoLineOnPage(m, page, 0.0);
    ASSERT_FALSE(page.lines.empty());
    bool sawCell = false;
    for (const auto& l : page.lines) {
        EXPECT_EQ(l.color, (Rgb{1, 2, 3}));
        sawCell = sawCell || (l.x1 == 5.0 && l.y1 == 5.5 && l.x2 == 5.5 && l.y2 == 6.0);
    }
    EXPECT_TRUE(sawCell);
}

TEST(IsoLineTracer, ArraysOfAnotherSizeAreLeftAlone) {
    Model m = MakeViewModel(50);
    SetAllMarks(m, 1);
    m.project.GridSize = 100;
    RecordingSurface picture(400, 400);
    TraceIsoLine(m, picture, 0.0, true);
    TraceIsoLineOnPage(m, picture, 0.0);
    EXPECT_TRUE(picture.lines.empty());
    EXPECT_EQ(ClearedMarks(m), 0);
}

}  // namespace
}  // namespace tesvid
