#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/model.h"
#include "model/typed_rectangle.h"

namespace tesvid {

// tesvid-batch --new: a project made on the command line instead of read from a file.
//
//   --new --grid N --area MM [--rect MATERIAL:R0,R1,Z0,Z1]... [--set NAME=VALUE]...
//
// starts from the first-start project (FirstStartProject) on a grid of N cells (50, 100, 200 or
// 400; default 50) over MM millimetres (a positive number; default 100), applies every --set in
// order, then paints every --rect in order by the node rule of model/typed_rectangle.h.
// The batch tool then calculates it and writes the outputs as for a project read from a file.

// One --set: a project field by the name a project file gives it, with the value as typed.
struct ProjectFieldSetting {
    std::string name;  // as the table spells it (the command line's case is not kept)
    double number = 0;
    std::string text;  // Comments only: the comment as ISO 8859-1 bytes
};

// The --new arguments as parsed.
struct NewProjectRequest {
    bool requested = false;  // --new
    std::optional<int> grid;
    std::optional<double> area;
    std::vector<std::pair<std::string, TypedRectangle>> rectangles;  // (argument text, rectangle)
    std::vector<ProjectFieldSetting> settings;

    bool HasArguments() const { return grid || area || !rectangles.empty() || !settings.empty(); }
};

// The options this file parses: --new (no value), --grid, --area, --rect, --set (a value each).
bool IsNewProjectOption(std::string_view option);
bool NewProjectOptionTakesValue(std::string_view option);

// Parses one of those options with its value into the request; returns the message naming the
// argument when it is not good (a grid other than 50, 100, 200, 400; an area that is not a
// positive number; a rectangle not of the form MATERIAL:R0,R1,Z0,Z1 with four numbers; a --set
// of an unknown field or a value the field cannot take).
std::optional<std::string> ParseNewProjectOption(std::string_view option, const std::string& value,
                                                 NewProjectRequest& request);

// After all arguments: --new takes no project file, and --grid, --area, --rect and --set need
// --new. Returns the message, or an empty text when the combination is good.
std::string CheckNewProjectArguments(const NewProjectRequest& request,
                                     const std::vector<std::string>& projectFiles);

// Makes the project in m, which holds the first-start project and the settings in force (the
// --kmu value): grid, area and step, the settings (the magnet curve refitted when a magnet value
// was set; the magnet values must keep MagBHmax between MagBr*MagHc/4 and MagBr*MagHc), the
// solver arrays of the grid with the rectangles painted into Material. Returns the message naming
// the argument that cannot be used (a rectangle outside the area, ...), m then half made.
std::optional<std::string> BuildNewProject(const NewProjectRequest& request, Model& m);

// The names --set knows ("Current1, Current2, ..."), for messages.
std::string ProjectFieldNames();

// The --help paragraph of --new and its options, ending with a line feed.
std::string NewProjectUsage();

}  // namespace tesvid
