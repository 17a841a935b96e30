#include "batch/new_project.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "batch/batch_options.h"
#include "model/number_format.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

// How a --set value is read and stored.
enum class FieldKind {
    Number,  // any finite number
    Magnet,  // a finite number stored without its sign; the magnet curve is refitted
    Steps,   // a whole number of passes, 0..32763
    Text,    // the comment
};

struct FieldEntry {
    std::string_view name;  // the project file's name of the field
    FieldKind kind;
    double Project::*number;  // Number and Magnet fields
};

// The fields --set knows, by the names the project file gives them (ReluctivityRelaxation, the
// reluctivity relaxation factor, is not stored in the file but is set like --kmu).
constexpr FieldEntry kFields[] = {
    {"Current1", FieldKind::Number, &Project::Current1},
    {"Current2", FieldKind::Number, &Project::Current2},
    {"DProv1", FieldKind::Number, &Project::WireDiameter1},
    {"DProv2", FieldKind::Number, &Project::WireDiameter2},
    {"SteelMu", FieldKind::Number, &Project::SteelMu},
    {"SteelMaxB", FieldKind::Number, &Project::SteelSaturationB},
    {"MagBr", FieldKind::Magnet, &Project::MagBr},
    {"MagHc", FieldKind::Magnet, &Project::MagHc},
    {"MagBHmax", FieldKind::Magnet, &Project::MagBHmax},
    {"MainSteps", FieldKind::Steps, nullptr},
    {"Rjac0", FieldKind::Number, &Project::Rjac0},
    {"Rjac1", FieldKind::Number, &Project::Rjac1},
    {"RjacFin", FieldKind::Number, &Project::RjacFin},
    {"KMu", FieldKind::Number, &Project::ReluctivityRelaxation},
    {"Comments", FieldKind::Text, nullptr},
};

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (lower(a[k]) != lower(b[k])) {
            return false;
        }
    }
    return true;
}

const FieldEntry* FindField(std::string_view name) {
    for (const FieldEntry& f : kFields) {
        if (SameNameIgnoringCase(f.name, name)) {
            return &f;
        }
    }
    return nullptr;
}

// UTF-8 text as ISO 8859-1 bytes; nothing when it holds a character beyond U+00FF or is not
// UTF-8.
std::optional<std::string> Latin1FromUtf8(std::string_view text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && k + 1 < text.size() &&
                   (static_cast<unsigned char>(text[k + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((c & 0x03) << 6) |
                                     (static_cast<unsigned char>(text[++k]) & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<std::string> ParseRectangle(const std::string& value, NewProjectRequest& request) {
    const std::string bad = "--rect \"" + value + "\" is not MATERIAL:R0,R1,Z0,Z1 (" +
                            "a material, then r from, r to, z from, z to in mm)";
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos) {
        return bad;
    }
    double bounds[4];
    std::string_view rest = std::string_view(value).substr(colon + 1);
    for (int k = 0; k < 4; ++k) {
        const std::size_t comma = k < 3 ? rest.find(',') : rest.size();
        const auto number =
            comma == std::string_view::npos ? std::nullopt : WholeNumber(rest.substr(0, comma));
        if (!number) {
            return bad;
        }
        bounds[k] = *number;
        rest = rest.substr(std::min(rest.size(), comma + 1));
    }
    TypedRectangle rect{value.substr(0, colon), bounds[0], bounds[1], bounds[2], bounds[3]};
    if (!MaterialFromName(rect.material)) {
        return "--rect \"" + value + "\": unknown material \"" + rect.material + "\" (one of " +
               MaterialNameList() + ")";
    }
    request.rectangles.emplace_back(value, std::move(rect));
    return std::nullopt;
}

std::optional<std::string> ParseSetting(const std::string& value, NewProjectRequest& request) {
    const std::size_t eq = value.find('=');
    if (eq == std::string::npos) {
        return "--set \"" + value + "\" is not NAME=VALUE";
    }
    const std::string name = value.substr(0, eq);
    const std::string text = value.substr(eq + 1);
    const FieldEntry* field = FindField(name);
    if (!field) {
        return "--set \"" + value + "\": unknown field \"" + name + "\" (one of " +
               ProjectFieldNames() + ")";
    }
    ProjectFieldSetting setting{std::string(field->name), 0, {}};
    if (field->kind == FieldKind::Text) {
        const auto latin1 = Latin1FromUtf8(text);
        if (!latin1) {
            return "--set \"" + value + "\": the comment holds only ISO 8859-1 characters";
        }
        if (latin1->size() > static_cast<std::size_t>(kCommentLength)) {
            return "--set \"" + value + "\": the comment holds at most " +
                   std::to_string(kCommentLength) + " characters";
        }
        setting.text = *latin1;
    } else {
        const auto number = WholeNumber(text);
        if (!number) {
            return "--set \"" + value + "\": " + setting.name + " needs a number";
        }
        if (field->kind == FieldKind::Steps &&
            !(*number >= 0 && *number <= std::numeric_limits<std::int16_t>::max() - 4 &&
              *number == std::floor(*number))) {
            return "--set \"" + value + "\": MainSteps needs a whole number from 0 to 32763";
        }
        setting.number = *number;
    }
    request.settings.push_back(std::move(setting));
    return std::nullopt;
}

}  // namespace

bool IsNewProjectOption(std::string_view option) {
    return option == "--new" || NewProjectOptionTakesValue(option);
}

bool NewProjectOptionTakesValue(std::string_view option) {
    return option == "--grid" || option == "--area" || option == "--rect" || option == "--set";
}

std::optional<std::string> ParseNewProjectOption(std::string_view option, const std::string& value,
                                                 NewProjectRequest& request) {
    if (option == "--new") {
        request.requested = true;
    } else if (option == "--grid") {
        const auto n = WholeInt(value);
        if (!n || !IsSupportedGridSize(*n)) {
            return "--grid needs 50, 100, 200 or 400, not \"" + value + "\"";
        }
        request.grid = *n;
    } else if (option == "--area") {
        const auto a = WholeNumber(value);
        // Positive and finite as the project's single-precision AreaSize.
        if (!a || !std::isfinite(static_cast<float>(*a)) || !(static_cast<float>(*a) > 0)) {
            return "--area needs a positive number of millimetres, not \"" + value + "\"";
        }
        request.area = *a;
    } else if (option == "--rect") {
        return ParseRectangle(value, request);
    } else if (option == "--set") {
        return ParseSetting(value, request);
    }
    return std::nullopt;
}

std::string CheckNewProjectArguments(const NewProjectRequest& request,
                                     const std::vector<std::string>& projectFiles) {
    if (request.requested) {
        if (!projectFiles.empty()) {
            return "--new makes its own project: no project file can be given (\"" +
                   projectFiles[0] + "\")";
        }
    } else if (request.HasArguments()) {
        return "--grid, --area, --rect and --set describe a new project: they need --new";
    }
    return {};
}

std::optional<std::string> BuildNewProject(const NewProjectRequest& request, Model& m) {
    Project& p = m.project;
    const int n = request.grid.value_or(p.GridSize);
    p.GridSize = static_cast<std::int16_t>(n);
    if (request.area) {
        p.AreaSize = static_cast<float>(*request.area);
    }
    p.GridStep = static_cast<double>(p.AreaSize) * 0.001 / n;

    bool magnetSet = false;
    for (const ProjectFieldSetting& s : request.settings) {
        const FieldEntry* field = FindField(s.name);
        switch (field->kind) {
            case FieldKind::Number:
                p.*(field->number) = s.number;
                break;
            case FieldKind::Magnet:
                p.*(field->number) = std::fabs(s.number);
                magnetSet = true;
                break;
            case FieldKind::Steps:
                p.MainSteps = static_cast<std::int16_t>(s.number);
                break;
            case FieldKind::Text:
                p.Comments = s.text;
                p.Comments.resize(kCommentLength, ' ');
                break;
        }
    }
    if (magnetSet) {
        const double product = p.MagBr * p.MagHc;
        if (!(p.MagBHmax <= product && p.MagBHmax >= product / 4)) {
            return "--set: MagBHmax " + GeneralText(p.MagBHmax) +
                   " must lie between MagBr*MagHc/4 and MagBr*MagHc (" + GeneralText(product / 4) +
                   " and " + GeneralText(product) + ")";
        }
        FitMagnetCurve(p);
    }

    CreateGridArrays(m);
    const double area = AreaAsTyped(p.AreaSize);
    for (const auto& [text, rect] : request.rectangles) {
        if (auto error = PaintRectangle(m.arrays.Material, rect, area)) {
            return "--rect \"" + text + "\": " + *error;
        }
    }
    return std::nullopt;
}

std::string ProjectFieldNames() {
    std::string names;
    for (const FieldEntry& f : kFields) {
        names += (names.empty() ? "" : ", ") + std::string(f.name);
    }
    return names;
}

std::string NewProjectUsage() {
    std::string usage =
        "A new project instead of PROJECT.tvd:\n"
        "  tesvid-batch --new [--grid N] [--area MM] [--rect ...]... [--set ...]... [options]\n"
        "  --new             start from the first-start project\n"
        "  --grid N          grid of N cells: 50, 100, 200 or 400 (default 50)\n"
        "  --area MM         side of the square area in mm (default 100)\n"
        "  --rect MATERIAL:R0,R1,Z0,Z1\n"
        "                    paint the nodes with R0 <= r <= R1 and Z0 <= z <= Z1 (mm, z from\n"
        "                    the top edge) with a material: Iron, Magnet S, Magnet N, Coil 1,\n"
        "                    Coil 2, Nonmag., Vacuum (any case, spaces and dot optional);\n"
        "                    repeatable, painted in order\n"
        "  --set NAME=VALUE  set a project value by its project-file name, in the file's units\n"
        "                    (A, mm, T, A/m, J/m3); repeatable, NAME one of:\n";
    std::string line = "                   ";
    for (const FieldEntry& f : kFields) {
        if (line.size() + f.name.size() + 2 > 88) {
            usage += line + "\n";
            line = "                   ";
        }
        line += " " + std::string(f.name);
    }
    return usage + line + "\n";
}

}  // namespace tesvid
