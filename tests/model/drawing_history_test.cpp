#include "model/drawing_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "model/material_code.h"
#include "model/project.h"

namespace tesvid {
namespace {

using Picture = std::vector<std::uint32_t>;

Picture Pixels(const RasterSurface& s) {
    return Picture(s.Pixels(), s.Pixels() + s.WidthPixels() * s.HeightPixels());
}

// The editing view of a 100 grid: Vacuum, with an iron box and a 1-pixel checkerboard corner
// (the worst case for the run-length coding).
RasterSurface EditingView() {
    RasterSurface s(400, 400);
    s.SetBackColor(kVacuumColor);
    s.SetScale(100, 100);
    s.SetPenWidth(PenWidthFor(100));
    s.Clear();
    s.FilledBox(10, 10, 30, 60, MaterialColor(MaterialCode::Iron));
    for (int y = 0; y < 100; ++y) {
        for (int x = (y % 2); x < 100; x += 2) {
            s.SetPixel(x, y, MaterialColor(MaterialCode::Coil1));
        }
    }
    return s;
}

bool Stroke(DrawingHistory& h, RasterSurface& s, const std::function<void()>& paint) {
    h.BeginStep(s);
    paint();
    return h.EndStep(s);
}

TEST(DrawingHistoryTest, UndoAndRedoRestoreThePicturePixelForPixel) {
    RasterSurface s = EditingView();
    DrawingHistory h;
    const Rgb coil2 = MaterialColor(MaterialCode::Coil2);
    std::vector<Picture> after = {Pixels(s)};
    Stroke(h, s, [&] { s.FilledBox(5, 5, 50, 20, coil2); });  // over the checkerboard
    after.push_back(Pixels(s));
    Stroke(h, s, [&] { s.Line(0, 99, 99, 0, MaterialColor(MaterialCode::MagnetS)); });
    after.push_back(Pixels(s));
    Stroke(h, s, [&] {
        s.SetDrawMode(DrawMode::Invert);  // a rubber band drawn and taken off: no trace
        s.BoxOutline(40, 40, 90, 90, coil2);
        s.BoxOutline(40, 40, 90, 90, coil2);
        s.SetDrawMode(DrawMode::Copy);
        s.SetPoint(70, 70, MaterialColor(MaterialCode::Nonmag));
    });
    after.push_back(Pixels(s));
    EXPECT_EQ(h.UndoCount(), 3u);

    EXPECT_TRUE(h.Undo(s) && h.Undo(s));
    EXPECT_EQ(Pixels(s), after[1]);
    EXPECT_TRUE(h.Redo(s));
    EXPECT_EQ(Pixels(s), after[2]);
    EXPECT_TRUE(h.Undo(s) && h.Undo(s) && !h.Undo(s));
    EXPECT_EQ(Pixels(s), after[0]);

    // A new step after an undo clears the redo list; a stroke that changes nothing is no step.
    EXPECT_TRUE(h.Redo(s));
    EXPECT_TRUE(Stroke(h, s, [&] { s.SetPoint(99, 99, coil2); }));
    EXPECT_FALSE(h.CanRedo());
    EXPECT_FALSE(h.Redo(s));
    EXPECT_FALSE(Stroke(h, s, [&] { s.SetPoint(99, 99, coil2); }));
    EXPECT_EQ(h.UndoCount(), 2u);

    // No undo during a stroke; a stroke whose end was lost joins the next one.
    const Picture beforeLost = Pixels(s);
    h.BeginStep(s);
    EXPECT_FALSE(h.Undo(s));
    s.SetPoint(1, 98, coil2);
    Stroke(h, s, [&] { s.SetPoint(2, 98, coil2); });
    EXPECT_EQ(h.UndoCount(), 3u);
    EXPECT_TRUE(h.Undo(s));
    EXPECT_EQ(Pixels(s), beforeLost);
    h.Clear();  // New, Open
    EXPECT_FALSE(h.CanUndo() || h.CanRedo());
}

TEST(DrawingHistoryTest, MemoryIsBoundedByStepsAndBytesDroppingTheOldest) {
    struct Case {
        std::size_t maxSteps, budget;
        int strokes;
        bool checkerboard;  // invert the checkerboard corner: 2 x 80 kB a step
        std::size_t kept;
    };
    for (const Case& c : {Case{DrawingHistory::kDefaultMaxSteps, DrawingHistory::kDefaultByteBudget,
                               250, false, 200},
                          Case{1000, 500000, 10, true, 3}}) {
        RasterSurface s = EditingView();
        DrawingHistory h(c.maxSteps, c.budget);
        std::vector<Picture> after = {Pixels(s)};
        for (int k = 0; k < c.strokes; ++k) {
            Stroke(h, s, [&] {
                if (c.checkerboard) {
                    s.SetDrawMode(DrawMode::Invert);
                    s.FillPixelRect(0, 0, 99, 99, kVacuumColor);
                    s.SetDrawMode(DrawMode::Copy);
                } else {
                    s.SetPoint(k % 100, 70 + k / 100, MaterialColor(MaterialCode::Coil2));
                }
            });
            after.push_back(Pixels(s));
            EXPECT_LE(h.BytesUsed(), c.budget);
        }
        ASSERT_EQ(h.UndoCount(), c.kept);
        for (std::size_t k = 0; k < c.kept; ++k) {
            ASSERT_TRUE(h.Undo(s));
        }
        EXPECT_FALSE(h.Undo(s));
        EXPECT_EQ(Pixels(s), after[after.size() - 1 - c.kept]);
    }
}

}  // namespace
}  // namespace tesvid
