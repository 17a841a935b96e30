#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/surface_state.h"

namespace tesvid {

// A drawing surface over a block of exact 24-bit pixels (stored as 0xFFRRGGBB words,
// the memory layout of a 32-bit RGB image).
//
// Pixel mapping: user x maps to the continuous pixel coordinate u = (x - left) * W / width,
// and pixel p has its centre at u = p. A point is the pixel nearest to its u. A dot of pen
// width w centred on pixel p covers pixels p - w/2 .. p - w/2 + w - 1, so a grid node's dot
// covers its own pixel and no other node's. A filled box covers the pixels whose centres lie
// inside the box, widened by the dot's footprint at its corners. A line stamps the dot's
// footprint along its path (see MarkLine); between grid nodes it covers one node per column or
// row. In invert mode every pixel of a figure's footprint is inverted exactly once, so drawing
// the same figure twice restores the picture.
class RasterSurface : public SurfaceState {
  public:
    RasterSurface(int widthPixels, int heightPixels);
    ~RasterSurface() override = default;

    int WidthPixels() const { return width_; }
    int HeightPixels() const { return height_; }
    std::uint32_t* Pixels() { return pixels_.data(); }
    const std::uint32_t* Pixels() const { return pixels_.data(); }
    // The whole picture as a block, row by row, and a block of the same size put back (a block
    // of another size is refused: false).
    const std::vector<std::uint32_t>& PixelBlock() const { return pixels_; }
    bool PutPixelBlock(const std::vector<std::uint32_t>& block) {
        if (block.size() != pixels_.size()) {
            return false;
        }
        std::copy(block.begin(), block.end(), pixels_.begin());  // in place: images wrap them
        return true;
    }
    Rgb PixelAt(int px, int py) const { return Rgb::FromPacked(pixels_[Offset(px, py)]); }
    void SetPixel(int px, int py, Rgb c) { pixels_[Offset(px, py)] = c.Packed(); }
    bool HasPixel(int px, int py) const {
        return px >= 0 && py >= 0 && px < width_ && py < height_;
    }

    // Continuous pixel coordinates of a user point, and the pixel nearest to it.
    double ToPixelX(double x) const { return (x - scaleLeft_) * width_ / scaleWidth_; }
    double ToPixelY(double y) const { return (y - scaleTop_) * height_ / scaleHeight_; }
    double ToUserX(double px) const { return scaleLeft_ + px * scaleWidth_ / width_; }
    double ToUserY(double py) const { return scaleTop_ + py * scaleHeight_ / height_; }
    double ScaleWidth() const { return scaleWidth_; }
    double ScaleHeight() const { return scaleHeight_; }

    // DrawingSurface
    void Clear() override;
    void SetPoint(double x, double y, Rgb c) override;
    void Line(double x1, double y1, double x2, double y2, Rgb c) override;
    void LineTo(double x, double y) override;
    void BoxOutline(double x1, double y1, double x2, double y2, Rgb c) override;
    void FilledBox(double x1, double y1, double x2, double y2, Rgb c) override;
    std::optional<Rgb> ReadPoint(double x, double y) const override;
    void PrintLine(std::string_view utf8Text) override;
    TextExtent MeasureText(std::string_view utf8Text) const override;

    // Fills pixel rectangle [x0, x1] x [y0, y1] (inclusive, clipped) in the draw mode.
    void FillPixelRect(int x0, int y0, int x1, int y1, Rgb c);

  protected:
    // Draws text with its top-left corner at the pixel (px, py); returns the height of one
    // text line in pixels. Without a font engine nothing is drawn.
    virtual int DrawText(int px, int py, std::string_view utf8Text, Rgb c);
    // The extent of the text in pixels. Without a font engine every character (UTF-8 code
    // point) takes a cell of kCellWidth x kLineHeight pixels, the line height DrawText reports.
    virtual TextExtent MeasureTextPixels(std::string_view utf8Text) const;
    static constexpr int kCellWidth = 7;
    static constexpr int kLineHeight = 12;

  private:
    std::size_t Offset(int px, int py) const {
        return static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(px);
    }
    static int NearestPixel(double u);
    void Apply(int px, int py, Rgb c);
    // Marks a pixel of the figure being collected for invert mode (clipped).
    void Mark(int px, int py);
    void MarkRect(int x0, int y0, int x1, int y1);
    void MarkLine(double u0, double v0, double u1, double v1);
    void BeginFigure();
    void EndFigure(Rgb c);

    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;

    // Figure collection: pixels are marked once in a scratch mask, then applied once each.
    std::vector<std::uint8_t> mask_;
    std::vector<int> marked_;
};

}  // namespace tesvid
