#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "model/raster_surface.h"

namespace tesvid {

// Undo and Redo of the editing view's drawing. Each step records only what it changed: the
// bounding box of the pixels that differ between a snapshot taken when the step began and the
// picture when it ended, with the box's pixels before and after (run-length coded, so a
// painted rectangle costs a few bytes whatever its size).
//
// What the window calls, on its drawing area's RasterSurface:
//   - BeginStep(area) on the mouse-down that starts a stroke in the editing view (before the
//     editor paints) and before a typed rectangle is painted;
//   - EndStep(area) after the mouse-up has committed the stroke (after GeometryEditor::MouseUp)
//     and after the typed rectangle is painted. One stroke, or one typed rectangle, is one
//     step; a step that changed no pixel is not recorded;
//   - Undo(area) / Redo(area) for Edit > Undo (Ctrl+Z) and Edit > Redo (Ctrl+Y,
//     Ctrl+Shift+Z), enabled by CanUndo() / CanRedo() (re-read them after every call above);
//     both return false and leave the picture alone when there is nothing to undo or redo;
//   - Clear() whenever the picture is replaced other than by a recorded step: New, Open,
//     Open Sample, a change of grid that redraws the picture. Steps recorded on the old
//     picture would otherwise paste their boxes into the new one.
// A new step clears the redo list. The oldest steps are dropped beyond maxSteps or when the
// steps together exceed byteBudget bytes (the newest step is always kept).
class DrawingHistory {
  public:
    static constexpr std::size_t kDefaultMaxSteps = 200;
    static constexpr std::size_t kDefaultByteBudget = 32u << 20;

    explicit DrawingHistory(std::size_t maxSteps = kDefaultMaxSteps,
                            std::size_t byteBudget = kDefaultByteBudget);

    // Takes the snapshot the step will be compared with. While a step is open (begun, not yet
    // ended) a further BeginStep keeps the open step's snapshot, so a stroke whose mouse-up
    // was lost becomes part of the next one.
    void BeginStep(const RasterSurface& surface);
    // Compares the picture with the snapshot and records the difference as one step; returns
    // true when a step was recorded. Without an open step, or for a surface of another size,
    // records nothing.
    bool EndStep(const RasterSurface& surface);
    bool StepOpen() const { return open_; }

    // Both false while a step is open: a stroke in progress is finished first.
    bool CanUndo() const { return !open_ && !undo_.empty(); }
    bool CanRedo() const { return !open_ && !redo_.empty(); }
    // Puts the last step's box back as it was before the step (Undo) or after it (Redo).
    // Refused (false, picture untouched) when CanUndo / CanRedo is false or the surface is not
    // of the size the step was recorded on.
    bool Undo(RasterSurface& surface);
    bool Redo(RasterSurface& surface);

    // Forgets every step and the open step's snapshot.
    void Clear();

    std::size_t UndoCount() const { return undo_.size(); }
    std::size_t RedoCount() const { return redo_.size(); }
    // Bytes the recorded steps (undo and redo) occupy; the snapshot of the open step (4 bytes a
    // pixel) is not counted.
    std::size_t BytesUsed() const { return bytes_; }

  private:
    // Runs of equal pixels: count, value, count, value, ...
    using Runs = std::vector<std::uint32_t>;
    struct Step {
        int width = 0, height = 0;           // the surface's size
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the changed box, inclusive
        Runs before, after;
        std::size_t Bytes() const;
    };

    static Runs Encode(const std::uint32_t* pixels, int stride, int x0, int y0, int x1, int y1);
    static void Decode(const Runs& runs, std::uint32_t* pixels, int stride, int x0, int y0, int x1,
                       int y1);
    bool Apply(std::deque<Step>& from, std::deque<Step>& to, RasterSurface& surface, bool undo);
    void DropOldest();

    std::size_t maxSteps_;
    std::size_t byteBudget_;
    std::deque<Step> undo_;  // oldest first
    std::deque<Step> redo_;  // the step to redo last
    std::size_t bytes_ = 0;
    bool open_ = false;
    int snapWidth_ = 0, snapHeight_ = 0;
    std::vector<std::uint32_t> snapshot_;
};

}  // namespace tesvid
