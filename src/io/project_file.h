#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/grid2d.h"
#include "model/material_code.h"
#include "model/model_state.h"

namespace tesvid {

inline constexpr char kProjectMagic[] = "TVD2.1";
inline constexpr std::size_t kMaterialOffset = 999;

// Byte length of a project file of grid size n: 1999 + 9 (n + 1)^2.
std::size_t ProjectFileLength(int n);
// Offset of the VecPot block: 1999 + (n + 1)^2.
std::size_t VecPotOffset(int n);

// Everything a project file holds.
struct ProjectData {
    std::int16_t GridSize = 0;
    double GridStep = 0;
    double Current1 = 0, Current2 = 0;
    double DProv1 = 0, DProv2 = 0;
    double SteelMaxB = 0, SteelMu = 0;
    double MagBHmax = 0, MagBr = 0, MagHc = 0, MagCurveK = 0;
    std::int16_t MainSteps = 0;
    double KMuCur = 0;
    double Rjac0 = 0, Rjac1 = 0, RjacFin = 0;
    std::string Comments = std::string(kCommentLength, ' ');  // 200 ISO 8859-1 bytes
    Grid2D<MaterialCode> Material;
    Grid2D<double> VecPot;
};

struct ProjectReadResult {
    std::optional<ProjectData> project;
    std::string error;  // "Invalid File Format" or a description, when project is empty
};

// Parses a whole file image; refuses a wrong magic, a grid size other than 50/100/200/400
// and a short file.
ProjectReadResult ParseProject(const std::uint8_t* data, std::size_t size);
ProjectReadResult ReadProjectFile(const std::string& path);

std::vector<std::uint8_t> SerializeProject(const ProjectData& project);
// Writes through a temporary file in the same folder renamed over the target; the old file
// stays as it was on any failure. Returns the reason of a failure.
std::optional<std::string> WriteProjectFile(const std::string& path, const ProjectData& project);

// The project as the model holds it (Material and VecPot must exist for GridSize).
ProjectData ProjectFromModel(const ModelState& m);

// Takes a loaded project into the model: the stored fields, AreaSize from GridSize and
// GridStep, MagMuRec derived from the loaded magnet values, every grid array re-created for
// the new grid with the material map derived from the loaded Material, and VecPot.
// Leaves MaxTok1/2, KMu, PrintScale, LineStep, the display flags and EditorMode alone.
void ApplyProject(ModelState& m, ProjectData project);

}  // namespace tesvid
