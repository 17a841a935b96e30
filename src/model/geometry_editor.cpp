#include "model/geometry_editor.h"

#include "model/material_code.h"
#include "model/number_format.h"

namespace tesvid {

float RoundToNode(float v) {
    return static_cast<float>(RoundHalfEven(static_cast<double>(v)));
}

void GeometryEditor::MouseDown(int button, float x, float y) {
    const float xr = RoundToNode(x);
    const float yr = RoundToNode(y);
    if (button == kLeftButton) {
        surface_.SetDrawMode(DrawMode::Copy);
        surface_.SetPoint(xr, yr, surface_.ForeColor());
    }
    pointer_.AnchorX = xr;
    pointer_.AnchorY = yr;
    pointer_.LastX = xr;
    pointer_.LastY = yr;
    previewShown_ = false;
    pointer_.Held = true;
}

// Inverts the rubber band from the anchor to (x, y): drawn twice, it leaves no trace.
void GeometryEditor::DrawPreview(float x, float y) {
    surface_.SetDrawMode(DrawMode::Invert);
    const Rgb pen = surface_.ForeColor();
    if (tool_ == DrawTool::LineTool) {
        surface_.Line(pointer_.AnchorX, pointer_.AnchorY, x, y, pen);
    } else {
        surface_.BoxOutline(pointer_.AnchorX, pointer_.AnchorY, x, y, pen);
    }
}

void GeometryEditor::MouseMove(int button, float x, float y) {
    if (button != kLeftButton || !pointer_.Held) {
        return;
    }
    const float xr = RoundToNode(x);
    const float yr = RoundToNode(y);
    switch (tool_) {
        case DrawTool::DotTool:
            surface_.SetDrawMode(DrawMode::Copy);
            surface_.SetPoint(xr, yr, surface_.ForeColor());
            break;
        case DrawTool::LineTool:
        case DrawTool::RectangleTool:
            // The first move removes the mouse-down dot's degenerate figure at the anchor; the
            // new figure covers the anchor again, so the anchor keeps the pen colour.
            DrawPreview(pointer_.LastX, pointer_.LastY);
            DrawPreview(xr, yr);
            previewShown_ = true;
            break;
    }
    pointer_.LastX = xr;
    pointer_.LastY = yr;
}

void GeometryEditor::MouseUp(int button, float x, float y) {
    if (button != kLeftButton || !pointer_.Held) {
        return;
    }
    const float xr = RoundToNode(x);
    const float yr = RoundToNode(y);
    const bool figureTool = tool_ == DrawTool::LineTool || tool_ == DrawTool::RectangleTool;
    // A release away from the last rubber band would leave that band's inverted pixels behind
    // (and inverted material colours are other materials): take it off before the commit.
    if (figureTool && previewShown_ && (xr != pointer_.LastX || yr != pointer_.LastY)) {
        DrawPreview(pointer_.LastX, pointer_.LastY);
    }
    surface_.SetDrawMode(DrawMode::Copy);
    const Rgb pen = surface_.ForeColor();
    if (tool_ == DrawTool::LineTool) {
        surface_.Line(pointer_.AnchorX, pointer_.AnchorY, xr, yr, pen);
    } else if (tool_ == DrawTool::RectangleTool) {
        surface_.FilledBox(pointer_.AnchorX, pointer_.AnchorY, xr, yr, pen);
    }
    pointer_.LastX = 0;
    pointer_.LastY = 0;
    surface_.SetPoint(0, 0, kVacuumColor);
    previewShown_ = false;
    pointer_.Held = false;
}

}  // namespace tesvid
