#include "model/typed_rectangle.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/number_format.h"
#include "model/project.h"

namespace tesvid {
namespace {

// A bound this close to a node (in grid steps) counts as on it.
constexpr double kNodeTolerance = 1e-9;

// Lower case without spaces and dots: "Magnet S" and "magnets" both give "magnets".
std::string NameKey(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c == ' ' || c == '.') {
            continue;
        }
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

std::string Mm(double v) {
    return GeneralText(v) + " mm";
}

RectanglePlacement Refuse(std::string why) {
    return RectanglePlacement{std::nullopt, std::move(why)};
}

}  // namespace

std::optional<MaterialCode> MaterialFromName(std::string_view name) {
    const std::string key = NameKey(name);
    for (MaterialCode m : kPaletteButtons) {
        if (!key.empty() && key == NameKey(MaterialLabel(m))) {
            return m;
        }
    }
    return std::nullopt;
}

std::string MaterialNameList() {
    std::string list;
    for (MaterialCode m : kSampledMaterials) {
        list += std::string(MaterialLabel(m)) + ", ";
    }
    return list + std::string(MaterialLabel(MaterialCode::Vacuum));
}

RectanglePlacement PlaceRectangle(const TypedRectangle& rect, int gridSize, double areaMm) {
    const std::optional<MaterialCode> material = MaterialFromName(rect.material);
    if (!material) {
        return Refuse("unknown material \"" + rect.material + "\" (one of " + MaterialNameList() +
                      ")");
    }
    if (gridSize <= 0 || !(areaMm > 0) || !std::isfinite(areaMm)) {
        return Refuse("there is no grid to paint on (grid " + std::to_string(gridSize) + ", area " +
                      Mm(areaMm) + ")");
    }
    const double step = areaMm / gridSize;
    const double slack = kNodeTolerance * step;
    NodeBox box;
    struct Axis {
        const char* name;
        double from, to;
        int* lo;
        int* hi;
    };
    for (const Axis& a : {Axis{"r", rect.rFrom, rect.rTo, &box.i0, &box.i1},
                          Axis{"z", rect.zFrom, rect.zTo, &box.j0, &box.j1}}) {
        const std::string name = a.name;
        if (!std::isfinite(a.from) || !std::isfinite(a.to)) {
            return Refuse("the " + name + " bounds must be numbers");
        }
        if (a.from > a.to) {
            return Refuse("the " + name + " bounds are reversed: from " + Mm(a.from) +
                          " is beyond to " + Mm(a.to));
        }
        if (a.from < -slack || a.to > areaMm + slack) {
            return Refuse(name + " " + GeneralText(a.from) + ".." + Mm(a.to) +
                          " does not lie within the area 0.." + Mm(areaMm));
        }
        *a.lo =
            std::max(0, static_cast<int>(std::ceil(a.from * gridSize / areaMm - kNodeTolerance)));
        *a.hi = std::min(gridSize,
                         static_cast<int>(std::floor(a.to * gridSize / areaMm + kNodeTolerance)));
        if (*a.lo > *a.hi) {
            return Refuse(name + " " + GeneralText(a.from) + ".." + Mm(a.to) +
                          " holds no grid node (the grid step is " + Mm(step) + ")");
        }
    }
    return RectanglePlacement{PlacedRectangle{*material, box}, {}};
}

double AreaAsTyped(float areaSize) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, areaSize);
    double value = areaSize;
    std::from_chars(text, written.ptr, value);
    return value;
}

void PaintNodes(Grid2D<MaterialCode>& material, const PlacedRectangle& rect) {
    const NodeBox& b = rect.nodes;
    for (int i = std::max(b.i0, 0); i <= std::min(b.i1, material.N()); ++i) {
        for (int j = std::max(b.j0, 0); j <= std::min(b.j1, material.N()); ++j) {
            material(i, j) = rect.material;
        }
    }
}

void PaintNodes(DrawingSurface& surface, const PlacedRectangle& rect, int gridSize) {
    const DrawMode mode = surface.GetDrawMode();
    const int pen = surface.PenWidth();
    surface.SetDrawMode(DrawMode::Copy);
    surface.SetPenWidth(PenWidthFor(gridSize));
    const NodeBox& b = rect.nodes;
    surface.FilledBox(b.i0, b.j0, b.i1, b.j1, MaterialColor(rect.material));
    surface.SetPenWidth(pen);
    surface.SetDrawMode(mode);
}

std::optional<std::string> PaintRectangle(Grid2D<MaterialCode>& material,
                                          const TypedRectangle& rect, double areaMm) {
    const RectanglePlacement p = PlaceRectangle(rect, material.N(), areaMm);
    if (!p.placed) {
        return p.error;
    }
    PaintNodes(material, *p.placed);
    return std::nullopt;
}

}  // namespace tesvid
