#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/drawing_surface.h"
#include "model/grid2d.h"
#include "model/material_code.h"

namespace tesvid {

// Geometry by numbers: a rectangle of one material typed in millimetres, painted on the nodes
// it holds, either into a material grid (the batch tool) or onto the editing view's drawing
// (the window), both by the same node rule.
//
// The node rule: on a grid of N cells over an area of A mm, node (i, j) stands at r = i h,
// z = j h with h = A / N (r from the axis, z from the top edge; each node stands for the cell
// of one grid step centred on it). A rectangle r from..to, z from..to paints every node whose
// position lies inside it, bounds included; a bound within 1e-9 of a step of a node counts as
// on the node. Example: r 0..10 mm, z 30..70 mm on a 400 grid over 100 mm paints columns
// 0..40 and rows 120..280.
//
// The window's use (one typed rectangle is one drawing step, see drawing_history.h):
//   RectanglePlacement p = PlaceRectangle(typed, project.GridSize, AreaAsTyped(project.AreaSize));
//   if (!p.placed) { show p.error; return; }
//   history.BeginStep(area);
//   PaintNodes(area, *p.placed, project.GridSize);
//   history.EndStep(area);

// The material of a palette name: "Iron", "Magnet S", "Magnet N", "Coil 1", "Coil 2",
// "Nonmag.", "Vacuum", in any case, with or without the spaces and the dot ("coil1",
// "magnetS", "NONMAG" all name a material). Nothing for any other text.
std::optional<MaterialCode> MaterialFromName(std::string_view name);

// The palette names as one list for messages: "Iron, Magnet S, ..., Vacuum".
std::string MaterialNameList();

// A rectangle as typed: the material's name and the bounds in millimetres.
struct TypedRectangle {
    std::string material;
    double rFrom = 0, rTo = 0;
    double zFrom = 0, zTo = 0;
};

// Nodes i0..i1 (radius index) by j0..j1 (axial index), bounds included.
struct NodeBox {
    int i0 = 0, i1 = 0;
    int j0 = 0, j1 = 0;
    bool operator==(const NodeBox&) const = default;
};

// A typed rectangle turned into nodes of one grid.
struct PlacedRectangle {
    MaterialCode material = MaterialCode::Vacuum;
    NodeBox nodes;
};

// Either the placed rectangle or, when it cannot be painted, the reason (a sentence naming
// what is wrong).
struct RectanglePlacement {
    std::optional<PlacedRectangle> placed;
    std::string error;
};

// Places a typed rectangle on a grid of gridSize cells over areaMm millimetres. Refused: an
// unknown material name; a bound that is not a number; reversed bounds (from > to); a bound
// below 0 or beyond the area (within the node tolerance); a rectangle that holds no node
// (it lies between two nodes); a grid or an area that is not positive.
RectanglePlacement PlaceRectangle(const TypedRectangle& rect, int gridSize, double areaMm);

// The area side as the user typed it, from the single-precision AreaSize a project holds:
// the shortest decimal that reads back as that single (33.3f gives 33.3, not 33.2999992...),
// so that bounds typed on nodes of a typed area fall on them.
double AreaAsTyped(float areaSize);

// Sets the rectangle's nodes of a material grid (nodes outside the grid are skipped).
void PaintNodes(Grid2D<MaterialCode>& material, const PlacedRectangle& rect);

// Paints the rectangle onto the editing view's drawing exactly as the rectangle tool paints a
// stroke between its corner nodes: a filled box in the material's colour, copy mode, pen width
// of one grid cell (PenWidthFor(gridSize)), so every node gets its pen-wide square. The
// surface's user scale must be the editing view's (0, 0, gridSize, gridSize). The surface's
// draw mode and pen width are left as they were.
void PaintNodes(DrawingSurface& surface, const PlacedRectangle& rect, int gridSize);

// PlaceRectangle then PaintNodes on a grid of material.N() cells; returns the refusal, with
// nothing painted.
std::optional<std::string> PaintRectangle(Grid2D<MaterialCode>& material,
                                          const TypedRectangle& rect, double areaMm);

}  // namespace tesvid
