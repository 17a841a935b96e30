#include "model/raster_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tesvid {

RasterSurface::RasterSurface(int widthPixels, int heightPixels)
    : width_(std::max(1, widthPixels)),
      height_(std::max(1, heightPixels)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              Rgb{255, 255, 255}.Packed()),
      scaleWidth_(width_),
      scaleHeight_(height_),
      mask_(pixels_.size(), 0) {
    marked_.reserve(4096);
}

void RasterSurface::SetScale(double left, double top, double width, double height) {
    scaleLeft_ = left;
    scaleTop_ = top;
    scaleWidth_ = width != 0 ? width : 1;
    scaleHeight_ = height != 0 ? height : 1;
}

int RasterSurface::NearestPixel(double u) {
    if (!(u > -1e9)) {
        return -1000000000;
    }
    if (u > 1e9) {
        return 1000000000;
    }
    return static_cast<int>(std::floor(u + 0.5));
}

void RasterSurface::Clear() {
    std::fill(pixels_.begin(), pixels_.end(), backColor_.Packed());
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
}

void RasterSurface::Apply(int px, int py, Rgb c) {
    std::uint32_t& p = pixels_[Offset(px, py)];
    p = mode_ == DrawMode::Invert ? (p ^ 0x00FFFFFFu) : c.Packed();
}

void RasterSurface::FillPixelRect(int x0, int y0, int x1, int y1, Rgb c) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_ - 1);
    y1 = std::min(y1, height_ - 1);
    if (x0 > x1 || y0 > y1) {
        return;
    }
    const std::uint32_t packed = c.Packed();
    for (int y = y0; y <= y1; ++y) {
        std::uint32_t* row = pixels_.data() + Offset(0, y);
        if (mode_ == DrawMode::Invert) {
            for (int x = x0; x <= x1; ++x) {
                row[x] ^= 0x00FFFFFFu;
            }
        } else {
            std::fill(row + x0, row + x1 + 1, packed);
        }
    }
}

void RasterSurface::BeginFigure() { marked_.clear(); }

void RasterSurface::Mark(int px, int py) {
    if (!HasPixel(px, py)) {
        return;
    }
    const std::size_t o = Offset(px, py);
    if (mask_[o] == 0) {
        mask_[o] = 1;
        marked_.push_back(static_cast<int>(o));
    }
}

void RasterSurface::MarkRect(int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_ - 1);
    y1 = std::min(y1, height_ - 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            Mark(x, y);
        }
    }
}

void RasterSurface::EndFigure(Rgb c) {
    const std::uint32_t packed = c.Packed();
    for (int o : marked_) {
        std::uint32_t& p = pixels_[static_cast<std::size_t>(o)];
        p = mode_ == DrawMode::Invert ? (p ^ 0x00FFFFFFu) : packed;
        mask_[static_cast<std::size_t>(o)] = 0;
    }
    marked_.clear();
}

// Bresenham from pixel (x0, y0) to (x1, y1), stamping the pen's footprint at every step.
void RasterSurface::MarkLine(int x0, int y0, int x1, int y1) {
    const int w = penWidth_;
    const int back = w / 2;
    // Far off-surface endpoints: keep the walk bounded.
    const int limit = 4 * (width_ + height_) + 16;
    if (std::abs(x0) > limit || std::abs(x1) > limit || std::abs(y0) > limit ||
        std::abs(y1) > limit) {
        const double cx0 = std::clamp(x0, -limit, limit), cx1 = std::clamp(x1, -limit, limit);
        const double cy0 = std::clamp(y0, -limit, limit), cy1 = std::clamp(y1, -limit, limit);
        x0 = static_cast<int>(cx0);
        x1 = static_cast<int>(cx1);
        y0 = static_cast<int>(cy0);
        y1 = static_cast<int>(cy1);
    }
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int step = 0;
    for (;;) {
        if (lineStyle_ == LineStyle::Solid || step % 3 == 0) {
            if (w == 1) {
                Mark(x0, y0);
            } else {
                MarkRect(x0 - back, y0 - back, x0 - back + w - 1, y0 - back + w - 1);
            }
        }
        if (x0 == x1 && y0 == y1) {
            break;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
        ++step;
    }
}

void RasterSurface::SetPoint(double x, double y, Rgb c) {
    const int px = NearestPixel(ToPixelX(x));
    const int py = NearestPixel(ToPixelY(y));
    const int back = penWidth_ / 2;
    FillPixelRect(px - back, py - back, px - back + penWidth_ - 1, py - back + penWidth_ - 1, c);
    currentX_ = x;
    currentY_ = y;
}

void RasterSurface::Line(double x1, double y1, double x2, double y2, Rgb c) {
    BeginFigure();
    MarkLine(NearestPixel(ToPixelX(x1)), NearestPixel(ToPixelY(y1)), NearestPixel(ToPixelX(x2)),
             NearestPixel(ToPixelY(y2)));
    EndFigure(c);
    currentX_ = x2;
    currentY_ = y2;
}

void RasterSurface::LineTo(double x, double y) { Line(currentX_, currentY_, x, y, foreColor_); }

void RasterSurface::BoxOutline(double x1, double y1, double x2, double y2, Rgb c) {
    int ax = NearestPixel(ToPixelX(x1)), bx = NearestPixel(ToPixelX(x2));
    int ay = NearestPixel(ToPixelY(y1)), by = NearestPixel(ToPixelY(y2));
    if (ax > bx) {
        std::swap(ax, bx);
    }
    if (ay > by) {
        std::swap(ay, by);
    }
    const int w = penWidth_;
    const int back = w / 2;
    BeginFigure();
    const int ox0 = ax - back, oy0 = ay - back;
    const int ox1 = bx - back + w - 1, oy1 = by - back + w - 1;
    MarkRect(ox0, oy0, ox1, oy0 + w - 1);  // top edge
    MarkRect(ox0, oy1 - w + 1, ox1, oy1);  // bottom edge
    MarkRect(ox0, oy0, ox0 + w - 1, oy1);  // left edge
    MarkRect(ox1 - w + 1, oy0, ox1, oy1);  // right edge
    EndFigure(c);
    currentX_ = x2;
    currentY_ = y2;
}

void RasterSurface::FilledBox(double x1, double y1, double x2, double y2, Rgb c) {
    const double ux0 = std::min(ToPixelX(x1), ToPixelX(x2));
    const double ux1 = std::max(ToPixelX(x1), ToPixelX(x2));
    const double uy0 = std::min(ToPixelY(y1), ToPixelY(y2));
    const double uy1 = std::max(ToPixelY(y1), ToPixelY(y2));
    const int back = penWidth_ / 2;
    const double big = 1e9;
    const int px0 = static_cast<int>(std::ceil(std::clamp(ux0, -big, big) - 1e-9)) - back;
    const int px1 = static_cast<int>(std::floor(std::clamp(ux1, -big, big) + 1e-9)) - back +
                    penWidth_ - 1;
    const int py0 = static_cast<int>(std::ceil(std::clamp(uy0, -big, big) - 1e-9)) - back;
    const int py1 = static_cast<int>(std::floor(std::clamp(uy1, -big, big) + 1e-9)) - back +
                    penWidth_ - 1;
    FillPixelRect(px0, py0, px1, py1, c);
    currentX_ = x2;
    currentY_ = y2;
}

std::optional<Rgb> RasterSurface::ReadPoint(double x, double y) const {
    const int px = NearestPixel(ToPixelX(x));
    const int py = NearestPixel(ToPixelY(y));
    if (!HasPixel(px, py)) {
        return std::nullopt;
    }
    return PixelAt(px, py);
}

void RasterSurface::PrintLine(std::string_view utf8Text) {
    const int px = NearestPixel(ToPixelX(currentX_));
    const int py = NearestPixel(ToPixelY(currentY_));
    const int lineHeight = DrawText(px, py, utf8Text, foreColor_);
    currentY_ = ToUserY(py + lineHeight);
}

int RasterSurface::DrawText(int, int, std::string_view, Rgb) { return 12; }

}  // namespace tesvid
