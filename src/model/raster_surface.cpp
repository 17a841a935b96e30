#include "model/raster_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace tesvid {

RasterSurface::RasterSurface(int widthPixels, int heightPixels)
    : SurfaceState(std::max(1, widthPixels), std::max(1, heightPixels)),
      width_(std::max(1, widthPixels)),
      height_(std::max(1, heightPixels)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              Rgb{255, 255, 255}.Packed()),
      mask_(pixels_.size(), 0) {
    marked_.reserve(4096);
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

void RasterSurface::BeginFigure() {
    marked_.clear();
}

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

// The pixel path of a line from the continuous pixel point (u0, v0) to (u1, v1): the pen's
// footprint stamped at steps of at most the pen width along the major axis, from the nearest
// pixel of one end to that of the other. A one-pixel pen thus walks every pixel column (or
// row); a wider pen between grid nodes (pixels w apart) lands every stamp on one node's column
// (or row), so the line covers exactly one node per column, the one nearest the line (a tie
// goes to the smaller index). The positions are symmetric in the two ends, so both directions
// give the same pixels, and only the stamps that can touch the surface are visited, so a line
// reaching far off the surface costs no more than its visible part and keeps its direction.
void RasterSurface::MarkLine(double u0, double v0, double u1, double v1) {
    if (!std::isfinite(u0 + u1 + v0 + v1)) {
        return;
    }
    const int w = penWidth_;
    const int back = w / 2;
    const double a0 = NearestPixel(u0), b0 = NearestPixel(v0);
    const double a1 = NearestPixel(u1), b1 = NearestPixel(v1);
    const double length = std::max(std::fabs(a1 - a0), std::fabs(b1 - b0));
    const std::int64_t steps = static_cast<std::int64_t>(std::ceil(length / w));
    // The range of steps whose stamp may touch the surface.
    double kLo = 0, kHi = static_cast<double>(steps);
    auto limit = [&](double p0, double p1, double size) {
        const double lo = -w - 1.0, hi = size + w;
        if (p0 == p1) {
            if (p0 < lo || p0 > hi) {
                kHi = -1;
            }
            return;
        }
        double k0 = (lo - p0) * static_cast<double>(steps) / (p1 - p0);
        double k1 = (hi - p0) * static_cast<double>(steps) / (p1 - p0);
        if (k0 > k1) {
            std::swap(k0, k1);
        }
        kLo = std::max(kLo, std::floor(k0) - 1);
        kHi = std::min(kHi, std::ceil(k1) + 1);
    };
    if (steps > 0) {
        limit(a0, a1, width_);
        limit(b0, b1, height_);
    }
    for (auto k = static_cast<std::int64_t>(kLo); k <= static_cast<std::int64_t>(kHi); ++k) {
        if (lineStyle_ == LineStyle::Dotted && k % 3 != 0) {
            continue;
        }
        const double kd = static_cast<double>(k);
        const double rest = static_cast<double>(steps - k);
        const double x = steps == 0 ? a0 : (a0 * rest + a1 * kd) / static_cast<double>(steps);
        const double y = steps == 0 ? b0 : (b0 * rest + b1 * kd) / static_cast<double>(steps);
        const int px = NearestPixel(x), py = NearestPixel(y);
        if (w == 1) {
            Mark(px, py);
        } else {
            MarkRect(px - back, py - back, px - back + w - 1, py - back + w - 1);
        }
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
    MarkLine(ToPixelX(x1), ToPixelY(y1), ToPixelX(x2), ToPixelY(y2));
    EndFigure(c);
    currentX_ = x2;
    currentY_ = y2;
}

void RasterSurface::LineTo(double x, double y) {
    Line(currentX_, currentY_, x, y, foreColor_);
}

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
    const int px1 =
        static_cast<int>(std::floor(std::clamp(ux1, -big, big) + 1e-9)) - back + penWidth_ - 1;
    const int py0 = static_cast<int>(std::ceil(std::clamp(uy0, -big, big) - 1e-9)) - back;
    const int py1 =
        static_cast<int>(std::floor(std::clamp(uy1, -big, big) + 1e-9)) - back + penWidth_ - 1;
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

int RasterSurface::DrawText(int, int, std::string_view, Rgb) {
    return kLineHeight;
}

TextExtent RasterSurface::MeasureTextPixels(std::string_view utf8Text) const {
    // Continuation bytes (10xxxxxx) do not start a character.
    const auto characters = std::count_if(utf8Text.begin(), utf8Text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    });
    return TextExtent{static_cast<double>(characters) * kCellWidth, kLineHeight};
}

TextExtent RasterSurface::MeasureText(std::string_view utf8Text) const {
    const TextExtent pixels = MeasureTextPixels(utf8Text);
    return TextExtent{pixels.width * std::fabs(scaleWidth_) / width_,
                      pixels.height * std::fabs(scaleHeight_) / height_};
}

}  // namespace tesvid
