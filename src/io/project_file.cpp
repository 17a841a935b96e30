#include "io/project_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "io/atomic_file.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

// Offsets of the scalar fields.
constexpr std::size_t kMagicLength = 6;
constexpr std::size_t kGridSizeAt = 9;
constexpr std::size_t kGridStepAt = 19;
constexpr std::size_t kCurrent1At = 29;
constexpr std::size_t kCurrent2At = 49;
constexpr std::size_t kDProv1At = 59;
constexpr std::size_t kDProv2At = 69;
constexpr std::size_t kSteelMaxBAt = 89;
constexpr std::size_t kSteelMuAt = 99;
constexpr std::size_t kMagBHmaxAt = 109;
constexpr std::size_t kMagBrAt = 119;
constexpr std::size_t kMagHcAt = 129;
constexpr std::size_t kMagCurveKAt = 139;
constexpr std::size_t kMainStepsAt = 149;
constexpr std::size_t kKMuCurAt = 159;
constexpr std::size_t kRjac0At = 169;
constexpr std::size_t kRjac1At = 179;
constexpr std::size_t kRjacFinAt = 189;
constexpr std::size_t kCommentsAt = 499;
constexpr std::size_t kHeaderLength = kGridSizeAt + 2;

std::size_t NodeCount(int n) {
    return static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1);
}

std::int16_t GetInt16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}
double GetDouble(const std::uint8_t* p) {
    std::uint64_t bits = 0;
    for (int k = 7; k >= 0; --k) {
        bits = (bits << 8) | p[k];
    }
    return std::bit_cast<double>(bits);
}
void PutInt16(std::uint8_t* p, std::int16_t v) {
    const auto bits = static_cast<std::uint16_t>(v);
    p[0] = static_cast<std::uint8_t>(bits);
    p[1] = static_cast<std::uint8_t>(bits >> 8);
}
void PutDouble(std::uint8_t* p, double v) {
    auto bits = std::bit_cast<std::uint64_t>(v);
    for (int k = 0; k < 8; ++k) {
        p[k] = static_cast<std::uint8_t>(bits);
        bits >>= 8;
    }
}

ProjectReadResult Refuse(std::string detail) {
    return ProjectReadResult{std::nullopt, kInvalidFileFormat, std::move(detail)};
}

// Checks the magic and the grid size; returns the refusal, or nothing when the header is good.
std::optional<ProjectReadResult> CheckHeader(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return Refuse("the file is empty");
    }
    if (size < kMagicLength || std::memcmp(data, kProjectMagic, kMagicLength) != 0) {
        return Refuse("not a project file (it does not start with \"TVD2.1\")");
    }
    if (size < kHeaderLength) {
        return Refuse("the file ends inside its header");
    }
    const int n = GetInt16(data + kGridSizeAt);
    if (!IsSupportedGridSize(n)) {
        return Refuse("unsupported grid size " + std::to_string(n) +
                      " (a project has 50, 100, 200 or 400)");
    }
    return std::nullopt;
}

std::string ShortFileDetail(std::size_t size, int n) {
    return "the file is cut short: " + std::to_string(size) + " bytes, a " + std::to_string(n) +
           " x " + std::to_string(n) + " project has " + std::to_string(ProjectFileLength(n));
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::size_t ProjectFileLength(int n) {
    return 1999 + 9 * NodeCount(n);
}

std::size_t VecPotOffset(int n) {
    return 1999 + NodeCount(n);
}

ProjectReadResult ParseProject(const std::uint8_t* data, std::size_t size) {
    if (auto refusal = CheckHeader(data, size)) {
        return std::move(*refusal);
    }
    const int n = GetInt16(data + kGridSizeAt);
    if (size < ProjectFileLength(n)) {
        return Refuse(ShortFileDetail(size, n));
    }

    ProjectData p;
    p.GridSize = static_cast<std::int16_t>(n);
    p.GridStep = GetDouble(data + kGridStepAt);
    p.Current1 = GetDouble(data + kCurrent1At);
    p.Current2 = GetDouble(data + kCurrent2At);
    p.WireDiameter1 = GetDouble(data + kDProv1At);
    p.WireDiameter2 = GetDouble(data + kDProv2At);
    p.SteelSaturationB = GetDouble(data + kSteelMaxBAt);
    p.SteelMu = GetDouble(data + kSteelMuAt);
    p.MagBHmax = GetDouble(data + kMagBHmaxAt);
    p.MagBr = GetDouble(data + kMagBrAt);
    p.MagHc = GetDouble(data + kMagHcAt);
    p.MagCurveK = GetDouble(data + kMagCurveKAt);
    p.MainSteps = GetInt16(data + kMainStepsAt);
    p.LastReluctivityStep = GetDouble(data + kKMuCurAt);
    p.Rjac0 = GetDouble(data + kRjac0At);
    p.Rjac1 = GetDouble(data + kRjac1At);
    p.RjacFin = GetDouble(data + kRjacFinAt);
    p.Comments.assign(reinterpret_cast<const char*>(data + kCommentsAt), kCommentLength);

    p.Material.Create(n);
    p.VecPot.Create(n);
    const std::uint8_t* material = data + kMaterialOffset;
    const std::uint8_t* vecPot = data + VecPotOffset(n);
    std::size_t k = 0;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i, ++k) {
            const std::uint8_t code = material[k];
            p.Material(i, j) =
                IsValidMaterialByte(code) ? static_cast<MaterialCode>(code) : MaterialCode::Vacuum;
            p.VecPot(i, j) = GetDouble(vecPot + 8 * k);
        }
    }
    return ProjectReadResult{std::move(p), {}, {}};
}

ProjectReadResult ReadProjectFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return Refuse("it is a folder, not a file");
    }
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return Refuse(errno != 0 ? ErrorText(errno) : std::string("cannot open the file"));
    }

    // The header first: it tells how many bytes the project has, so that no more than that is
    // read, whatever the size of the file.
    std::vector<std::uint8_t> bytes(kHeaderLength);
    errno = 0;
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (got < bytes.size() && std::ferror(file.get())) {
        return Refuse(errno != 0 ? ErrorText(errno) : std::string("cannot read the file"));
    }
    if (auto refusal = CheckHeader(bytes.data(), got)) {
        return std::move(*refusal);
    }
    const int n = GetInt16(bytes.data() + kGridSizeAt);
    bytes.resize(ProjectFileLength(n));
    errno = 0;
    got += std::fread(bytes.data() + got, 1, bytes.size() - got, file.get());
    if (got < bytes.size()) {
        if (std::ferror(file.get())) {
            return Refuse(errno != 0 ? ErrorText(errno) : std::string("cannot read the file"));
        }
        return Refuse(ShortFileDetail(got, n));
    }
    return ParseProject(bytes.data(), bytes.size());
}

std::vector<std::uint8_t> SerializeProject(const ProjectData& p) {
    const int n = p.GridSize;
    if (!IsSupportedGridSize(n)) {
        return {};
    }
    std::vector<std::uint8_t> out(ProjectFileLength(n), 0);
    std::uint8_t* d = out.data();
    std::memcpy(d, kProjectMagic, kMagicLength);
    PutInt16(d + kGridSizeAt, p.GridSize);
    PutDouble(d + kGridStepAt, p.GridStep);
    PutDouble(d + kCurrent1At, p.Current1);
    PutDouble(d + kCurrent2At, p.Current2);
    PutDouble(d + kDProv1At, p.WireDiameter1);
    PutDouble(d + kDProv2At, p.WireDiameter2);
    PutDouble(d + kSteelMaxBAt, p.SteelSaturationB);
    PutDouble(d + kSteelMuAt, p.SteelMu);
    PutDouble(d + kMagBHmaxAt, p.MagBHmax);
    PutDouble(d + kMagBrAt, p.MagBr);
    PutDouble(d + kMagHcAt, p.MagHc);
    PutDouble(d + kMagCurveKAt, p.MagCurveK);
    PutInt16(d + kMainStepsAt, p.MainSteps);
    PutDouble(d + kKMuCurAt, p.LastReluctivityStep);
    PutDouble(d + kRjac0At, p.Rjac0);
    PutDouble(d + kRjac1At, p.Rjac1);
    PutDouble(d + kRjacFinAt, p.RjacFin);

    std::string comments = p.Comments;
    comments.resize(kCommentLength, ' ');
    std::memcpy(d + kCommentsAt, comments.data(), kCommentLength);

    std::uint8_t* material = d + kMaterialOffset;
    std::uint8_t* vecPot = d + VecPotOffset(n);
    const bool haveMaterial = p.Material.N() == n && p.Material.Exists();
    const bool haveVecPot = p.VecPot.N() == n && p.VecPot.Exists();
    std::size_t k = 0;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i, ++k) {
            if (haveMaterial) {
                material[k] = static_cast<std::uint8_t>(p.Material(i, j));
            }
            if (haveVecPot) {
                PutDouble(vecPot + 8 * k, p.VecPot(i, j));
            }
        }
    }
    return out;
}

std::optional<std::string> WriteProjectFile(const std::string& path, const ProjectData& project) {
    const std::vector<std::uint8_t> bytes = SerializeProject(project);
    if (bytes.empty()) {
        return "cannot write " + path + ": unsupported grid size " +
               std::to_string(project.GridSize);
    }
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

ProjectData ProjectFromModel(const Model& m) {
    ProjectData p;
    p.GridSize = m.project.GridSize;
    p.GridStep = m.project.GridStep;
    const int built = m.arrays.Material.N();
    if (m.arrays.Material.Exists() && built != m.project.GridSize && IsSupportedGridSize(built)) {
        p.GridSize = static_cast<std::int16_t>(built);
        p.GridStep = static_cast<double>(m.project.AreaSize) * 0.001 / built;
    }
    p.Current1 = m.project.Current1;
    p.Current2 = m.project.Current2;
    p.WireDiameter1 = m.project.WireDiameter1;
    p.WireDiameter2 = m.project.WireDiameter2;
    p.SteelSaturationB = m.project.SteelSaturationB;
    p.SteelMu = m.project.SteelMu;
    p.MagBHmax = m.project.MagBHmax;
    p.MagBr = m.project.MagBr;
    p.MagHc = m.project.MagHc;
    p.MagCurveK = m.project.MagCurveK;
    p.MainSteps = m.project.MainSteps;
    p.LastReluctivityStep = m.arrays.LastReluctivityStep;
    p.Rjac0 = m.project.Rjac0;
    p.Rjac1 = m.project.Rjac1;
    p.RjacFin = m.project.RjacFin;
    p.Comments = m.project.Comments;
    p.Comments.resize(kCommentLength, ' ');

    const int n = p.GridSize;
    if (n > 0) {
        p.Material =
            m.arrays.Material.N() == n && m.arrays.Material.Exists() ? m.arrays.Material : Grid2D<MaterialCode>(n);
        p.VecPot = m.arrays.VecPot.N() == n && m.arrays.VecPot.Exists() ? m.arrays.VecPot : Grid2D<double>(n);
    }
    return p;
}

void ApplyProjectValues(Model& m, const ProjectData& p) {
    const int n = p.GridSize;
    m.project.GridSize = p.GridSize;
    m.project.GridStep = p.GridStep;
    m.project.AreaSize = static_cast<float>(static_cast<double>(n) * 1000.0 * p.GridStep);
    m.project.Current1 = p.Current1;
    m.project.Current2 = p.Current2;
    m.project.WireDiameter1 = p.WireDiameter1;
    m.project.WireDiameter2 = p.WireDiameter2;
    m.project.SteelSaturationB = p.SteelSaturationB;
    m.project.SteelMu = p.SteelMu;
    m.project.MagBHmax = p.MagBHmax;
    m.project.MagBr = p.MagBr;
    m.project.MagHc = p.MagHc;
    m.project.MagCurveK = p.MagCurveK;
    m.project.MagMuRec = MagnetMuRec(p.MagBr, p.MagHc, p.MagCurveK);
    m.project.MainSteps = p.MainSteps;
    m.arrays.LastReluctivityStep = p.LastReluctivityStep;
    m.project.Rjac0 = p.Rjac0;
    m.project.Rjac1 = p.Rjac1;
    m.project.RjacFin = p.RjacFin;
    m.project.Comments = p.Comments;
    m.project.Comments.resize(kCommentLength, ' ');
}

void ApplyProject(Model& m, ProjectData p) {
    const int n = p.GridSize;
    ApplyProjectValues(m, p);
    CreateGridArrays(m);
    if (p.Material.N() == n && p.Material.Exists()) {
        m.arrays.Material = std::move(p.Material);
    }
    DeriveFromMaterial(m);
    if (p.VecPot.N() == n && p.VecPot.Exists()) {
        m.arrays.VecPot = std::move(p.VecPot);
    }
    for (Grid2D<float>* field : {&m.field.Br, &m.field.Bz, &m.field.B}) {
        if (field->Exists()) {
            field->Create(n);
        }
    }
}

}  // namespace tesvid
