#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/grid2d.h"
#include "model/material_code.h"
#include "model/model.h"

namespace tesvid {

// A project file is a fixed-position little-endian record: the magic "TVD2.1", the scalars at
// fixed offsets, the 200 comment bytes at 499, the Material block at 999 and the VecPot block
// at 1999 + (N + 1)^2, zeros in every gap. In both blocks node (i, j) is element
// i + (N + 1) * j (the radius index varies fastest), unlike Grid2D, which stores column by
// column.
inline constexpr char kProjectMagic[] = "TVD2.1";
inline constexpr std::size_t kMaterialOffset = 999;
inline constexpr char kInvalidFileFormat[] = "Invalid File Format";

// Byte length of a project file of grid size n: 1999 + 9 (n + 1)^2.
std::size_t ProjectFileLength(int n);
// Offset of the VecPot block: 1999 + (n + 1)^2.
std::size_t VecPotOffset(int n);

// Everything a project file holds.
struct ProjectData {
    std::int16_t GridSize = 0;
    double GridStep = 0;
    double Current1 = 0, Current2 = 0;
    double WireDiameter1 = 0, WireDiameter2 = 0;
    double SteelSaturationB = 0, SteelMu = 0;
    double MagBHmax = 0, MagBr = 0, MagHc = 0, MagCurveK = 0;
    std::int16_t MainSteps = 0;
    double LastReluctivityStep = 0;
    double Rjac0 = 0, Rjac1 = 0, RjacFin = 0;
    std::string Comments = std::string(kCommentLength, ' ');  // 200 ISO 8859-1 bytes
    Grid2D<MaterialCode> Material;                            // GridSize + 1 nodes a side
    Grid2D<double> VecPot;
};

struct ProjectReadResult {
    std::optional<ProjectData> project;
    // When project is empty: the message for the user ("Invalid File Format") ...
    std::string error;
    // ... and what exactly was wrong, for a command-line report ("No such file or directory",
    // "unsupported grid size 51", ...).
    std::string detail;
};

// Parses a whole file image. Refuses (with "Invalid File Format") a first six bytes other than
// the magic, a grid size other than 50, 100, 200 or 400, and an image shorter than the file
// length of its grid size; bytes beyond that length are ignored. A Material byte that is not a
// material code reads as Vacuum.
ProjectReadResult ParseProject(const std::uint8_t* data, std::size_t size);
// Reads and parses a file; reads no more than the length its header calls for. A missing or
// unreadable file, a directory and an empty file are refused like a bad image.
ProjectReadResult ReadProjectFile(const std::string& path);

// The file image; empty when the grid size is not one a project file can hold. Comments is
// written as exactly 200 bytes (cut, or padded with spaces); Material and VecPot nodes that the
// grids do not hold are written as 0.
std::vector<std::uint8_t> SerializeProject(const ProjectData& project);
// Writes through a temporary file in the same folder renamed over the target; the old file
// stays as it was on any failure. Returns the reason of a failure.
std::optional<std::string> WriteProjectFile(const std::string& path, const ProjectData& project);

// The project as the model holds it. The grid is that of the Material array; when the arrays
// were built for another grid than GridSize (the grid was changed in the options after the last
// calculation), the project keeps the arrays' grid with the step AreaSize * 0.001 / N of the area
// in force, so that the file stays consistent with its Material and VecPot blocks. Without
// arrays, Material and VecPot are written as zeros. Comments is cut or padded with spaces to 200
// bytes.
ProjectData ProjectFromModel(const Model& m);

// Takes a loaded project into the model: every stored field; AreaSize = GridSize * 1000 *
// GridStep (as a single); MagMuRec derived from the loaded MagBr, MagHc and MagCurveK; every grid
// array re-created for the new grid (MapGridSize set); Material; the material map derived from
// it with the current densities the model holds (the next calculation derives them anew); and
// VecPot. Field arrays that exist are re-created empty at the new grid, since they do not belong
// to the loaded project. Leaves SliderFullScale1/2, ReluctivityRelaxation, PrintScale, LineStep, the display flags and
// EditorMode alone. The project must come from ParseProject (or hold a supported grid size
// with arrays of that size).
void ApplyProject(Model& m, ProjectData project);
// The part of ApplyProject that takes no arrays: every stored scalar, Comments, AreaSize and
// MagMuRec. Leaves every grid array alone.
void ApplyProjectValues(Model& m, const ProjectData& project);

}  // namespace tesvid
