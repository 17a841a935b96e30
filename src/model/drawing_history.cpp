#include "model/drawing_history.h"

#include <algorithm>

namespace tesvid {

std::size_t DrawingHistory::Step::Bytes() const {
    return sizeof(Step) + (before.capacity() + after.capacity()) * sizeof(std::uint32_t);
}

DrawingHistory::DrawingHistory(std::size_t maxSteps, std::size_t byteBudget)
    : maxSteps_(std::max<std::size_t>(maxSteps, 1)), byteBudget_(byteBudget) {}

void DrawingHistory::BeginStep(const RasterSurface& surface) {
    if (open_) {
        return;
    }
    snapWidth_ = surface.WidthPixels();
    snapHeight_ = surface.HeightPixels();
    snapshot_ = surface.PixelBlock();
    open_ = true;
}

bool DrawingHistory::EndStep(const RasterSurface& surface) {
    if (!open_) {
        return false;
    }
    open_ = false;
    const int w = surface.WidthPixels(), h = surface.HeightPixels();
    if (w != snapWidth_ || h != snapHeight_) {
        return false;
    }
    const std::uint32_t* now = surface.Pixels();
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x) {
            if (now[row + static_cast<std::size_t>(x)] !=
                snapshot_[row + static_cast<std::size_t>(x)]) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0) {
        return false;
    }
    Step step;
    step.width = w;
    step.height = h;
    step.x0 = x0;
    step.y0 = y0;
    step.x1 = x1;
    step.y1 = y1;
    step.before = Encode(snapshot_.data(), w, x0, y0, x1, y1);
    step.after = Encode(now, w, x0, y0, x1, y1);
    step.before.shrink_to_fit();
    step.after.shrink_to_fit();

    for (const Step& s : redo_) {
        bytes_ -= s.Bytes();
    }
    redo_.clear();
    bytes_ += step.Bytes();
    undo_.push_back(std::move(step));
    DropOldest();
    return true;
}

void DrawingHistory::DropOldest() {
    while (undo_.size() > 1 && (undo_.size() > maxSteps_ || bytes_ > byteBudget_)) {
        bytes_ -= undo_.front().Bytes();
        undo_.pop_front();
    }
}

bool DrawingHistory::Undo(RasterSurface& surface) {
    return Apply(undo_, redo_, surface, true);
}

bool DrawingHistory::Redo(RasterSurface& surface) {
    return Apply(redo_, undo_, surface, false);
}

bool DrawingHistory::Apply(std::deque<Step>& from, std::deque<Step>& to, RasterSurface& surface,
                           bool undo) {
    if (from.empty() || open_) {
        return false;
    }
    Step& s = from.back();
    if (s.width != surface.WidthPixels() || s.height != surface.HeightPixels()) {
        return false;
    }
    Decode(undo ? s.before : s.after, surface.Pixels(), s.width, s.x0, s.y0, s.x1, s.y1);
    to.push_back(std::move(s));
    from.pop_back();
    return true;
}

void DrawingHistory::Clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    open_ = false;
    snapshot_.clear();
    snapshot_.shrink_to_fit();
}

DrawingHistory::Runs DrawingHistory::Encode(const std::uint32_t* pixels, int stride, int x0, int y0,
                                            int x1, int y1) {
    Runs runs;
    std::uint32_t count = 0, value = 0;
    for (int y = y0; y <= y1; ++y) {
        const std::uint32_t* row =
            pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
        for (int x = x0; x <= x1; ++x) {
            if (count > 0 && row[x] == value) {
                ++count;
                continue;
            }
            if (count > 0) {
                runs.push_back(count);
                runs.push_back(value);
            }
            count = 1;
            value = row[x];
        }
    }
    runs.push_back(count);
    runs.push_back(value);
    return runs;
}

void DrawingHistory::Decode(const Runs& runs, std::uint32_t* pixels, int stride, int x0, int y0,
                            int x1, int y1) {
    std::size_t k = 0;
    std::uint32_t left = 0, value = 0;
    for (int y = y0; y <= y1; ++y) {
        std::uint32_t* row =
            pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
        for (int x = x0; x <= x1; ++x) {
            if (left == 0) {
                left = runs[k];
                value = runs[k + 1];
                k += 2;
            }
            row[x] = value;
            --left;
        }
    }
}

}  // namespace tesvid
