#pragma once

#include <optional>
#include <string_view>

#include "model/rgb.h"

namespace tesvid {

enum class DrawMode { Copy, Invert };
enum class LineStyle { Solid, Dotted };

// The size of a line of text: its advance width and the height of one text line.
struct TextExtent {
    double width = 0;
    double height = 0;
};

// A picture area (or a printer page) addressed in user units: the user scale maps
// (ScaleLeft .. ScaleLeft + ScaleWidth) across and (ScaleTop .. ScaleTop + ScaleHeight)
// down onto the surface. Content persists until cleared.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual void SetScale(double left, double top, double width, double height) = 0;
    void SetScale(double width, double height) { SetScale(0, 0, width, height); }

    virtual void SetPenWidth(int pixels) = 0;
    virtual int PenWidth() const = 0;
    virtual void SetDrawMode(DrawMode mode) = 0;
    virtual DrawMode GetDrawMode() const = 0;
    virtual void SetLineStyle(LineStyle style) = 0;

    // The pen colour (foreground): used by the text, by LineTo and by the tools.
    virtual void SetForeColor(Rgb c) = 0;
    virtual Rgb ForeColor() const = 0;
    virtual void SetBackColor(Rgb c) = 0;
    virtual Rgb BackColor() const = 0;

    // Fills the whole surface with the background colour and moves the current point to (0, 0)
    // of the user scale's origin.
    virtual void Clear() = 0;

    // A dot of the pen width centred on (x, y).
    virtual void SetPoint(double x, double y, Rgb c) = 0;
    virtual void Line(double x1, double y1, double x2, double y2, Rgb c) = 0;
    // A line from the current point to (x, y) in the foreground colour; (x, y) becomes current.
    virtual void LineTo(double x, double y) = 0;
    virtual void BoxOutline(double x1, double y1, double x2, double y2, Rgb c) = 0;
    virtual void FilledBox(double x1, double y1, double x2, double y2, Rgb c) = 0;

    // The exact colour at a point, or nothing when the point lies off the surface.
    virtual std::optional<Rgb> ReadPoint(double x, double y) const = 0;

    // Text: drawn at the current point in the foreground colour, glyphs only; afterwards the
    // current point moves to the start of the next text line (x back to where the text began).
    virtual void SetCurrentPoint(double x, double y) = 0;
    virtual double CurrentX() const = 0;
    virtual double CurrentY() const = 0;
    virtual void PrintLine(std::string_view utf8Text) = 0;
    // The extent PrintLine gives the text in the current font, in user units of the current
    // scale: what the drawing measures to keep its labels inside the picture and apart.
    virtual TextExtent MeasureText(std::string_view utf8Text) const = 0;
};

}  // namespace tesvid
