#pragma once

#include "model/drawing_surface.h"

namespace tesvid {

// The three painting tools of the group "Drawing", in button order.
enum class DrawTool { DotTool = 0, LineTool = 1, RectangleTool = 2 };

// The main window's pointer state, shared by the geometry editor and the field probe:
// the rounded pointer position of the mouse-down that began the stroke, and the rounded
// position last handled (the end of the rubber band on screen, or the probe's node).
struct PointerState {
    float AnchorX = 0;
    float AnchorY = 0;
    float LastX = 0;
    float LastY = 0;
    // Set by a mouse-down: a stroke is under way in the editing view, or the probe is frozen
    // in the result view.
    bool Held = false;
};

// The mouse buttons of the editor's events, as a mask.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// A pointer position in user units rounded to the nearest node, ties to the even node.
float RoundToNode(float v);

// The painting of the editing view: strokes are drawn straight onto the drawing surface in its
// pen colour (the chosen material) and pen width (one grid cell). The line and rectangle tools
// show a rubber band in invert mode with the full pen width, so the picture underneath is
// never damaged; the release commits the figure in copy mode. Node (0, 0) is reset to Vacuum
// after every stroke. The window routes the drawing area's events here in the editing view only.
class GeometryEditor {
  public:
    GeometryEditor(DrawingSurface& surface, PointerState& pointer)
        : surface_(surface), pointer_(pointer) {}

    void SetTool(DrawTool tool) { tool_ = tool; }
    DrawTool Tool() const { return tool_; }

    // The three events of the drawing area in the editing view; button is the mask of the
    // button that changed (down, up) or of the buttons held (move), x and y in user units.
    void MouseDown(int button, float x, float y);
    void MouseMove(int button, float x, float y);
    void MouseUp(int button, float x, float y);

  private:
    void DrawPreview(float x, float y);

    DrawingSurface& surface_;
    PointerState& pointer_;
    DrawTool tool_ = DrawTool::RectangleTool;
    // A rubber band drawn by a move of this stroke is on screen at (Anchor, Last).
    bool previewShown_ = false;
};

}  // namespace tesvid
