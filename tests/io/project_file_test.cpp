#include "io/project_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <bit>
#include <csignal>
#include <cstring>
#include <limits>

#include "io/atomic_file.h"
#include "io/io_test_support.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

std::string Text(const std::vector<std::uint8_t>& b) {
    return {b.begin(), b.end()};
}
std::uint64_t Bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

constexpr double ProjectData::*kDoubles[] = {
    &ProjectData::GridStep,      &ProjectData::Current1,      &ProjectData::Current2,
    &ProjectData::WireDiameter1, &ProjectData::WireDiameter2, &ProjectData::SteelSaturationB,
    &ProjectData::SteelMu,       &ProjectData::MagBHmax,      &ProjectData::MagBr,
    &ProjectData::MagHc,         &ProjectData::MagCurveK,     &ProjectData::LastReluctivityStep,
    &ProjectData::Rjac0,         &ProjectData::Rjac1,         &ProjectData::RjacFin};
constexpr std::size_t kDoubleOffsets[] = {19,  29,  49,  59,  69,  89,  99, 109,
                                          119, 129, 139, 159, 169, 179, 189};

// Distinct fields, awkward doubles (signed zero, subnormals, NaN payload), no i-j symmetry.
ProjectData SampleProject(int n) {
    const double tiny = std::numeric_limits<double>::denorm_min(), inf = 1 / tiny;
    const double nan = std::bit_cast<double>(0x7FF8000000ABCDEFu);  // with a payload
    const double awkward[] = {-0.0, tiny, -1.5e300, nan, -inf, 1.0 / 3, 1e-310};
    ProjectData p;
    p.GridSize = static_cast<std::int16_t>(n);
    double value = 0.1 / n;
    for (auto field : kDoubles) {
        p.*field = value;
        value = value * -3.7 + 1;
    }
    p.MainSteps = 17;
    p.Comments = "Test \xE9\xFC\xDF comment";  // ISO 8859-1 letters
    p.Comments.resize(kCommentLength, ' ');
    p.Material.Create(n);
    p.VecPot.Create(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            p.Material(i, j) = static_cast<MaterialCode>("\0\1\2\3\13\14\24"[(i * 3 + j * j) % 7]);
            p.VecPot(i, j) = awkward[(i * 5 + j * 3) % 7] * (1 + i * 1e-9);
        }
    }
    return p;
}

// Everything a project file holds, bit for bit (the layout test pins down what SerializeProject
// writes), and the comment as it is held.
bool SameBits(const ProjectData& a, const ProjectData& b) {
    return SerializeProject(a) == SerializeProject(b) && a.Comments == b.Comments;
}

ProjectReadResult Parse(const std::vector<std::uint8_t>& b, std::size_t size) {
    return ParseProject(b.data(), size);
}

TEST(ProjectFileLayout, FieldsAtTheirOffsetsLittleEndianAndZerosBetween) {
    for (int n : {50, 400}) {
        ProjectData p = SampleProject(n);
        p.MainSteps = -1;
        p.Comments.assign(kCommentLength, '\xFF');
        // The image byte by byte: magic, grid, main steps, the doubles, the comment, then both
        // blocks along the radius fastest (node (i, j) is element i + (N + 1) j).
        const std::size_t m = static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1);
        std::vector<std::uint8_t> image(1999 + 9 * m, 0);
        std::memcpy(image.data(), "TVD2.1", 6);
        image[9] = static_cast<std::uint8_t>(n), image[10] = static_cast<std::uint8_t>(n >> 8);
        image[149] = image[150] = 0xFF;
        const auto put = [&](std::size_t at, double v) {
            for (int byte = 0; byte < 8; ++byte) {
                image[at + static_cast<std::size_t>(byte)] = Bits(v) >> (8 * byte) & 0xFF;
            }
        };
        for (std::size_t k = 0; k < std::size(kDoubles); ++k) {
            put(kDoubleOffsets[k], p.*kDoubles[k]);
        }
        std::fill(image.begin() + 499, image.begin() + 699, 0xFF);
        for (int j = 0; j <= n; ++j) {
            for (int i = 0; i <= n; ++i) {
                const std::size_t k = static_cast<std::size_t>(i + (n + 1) * j);
                image[999 + k] = static_cast<std::uint8_t>(p.Material(i, j));
                put(1999 + m + 8 * k, p.VecPot(i, j));
            }
        }
        ASSERT_EQ(SerializeProject(p), image) << "grid " << n;
    }
}

TEST(ProjectFile, EveryGridSizeRoundTripsBitForBit) {
    TempFolder folder;
    for (int n : {50, 100, 200, 400}) {
        const ProjectData p = SampleProject(n);
        const ProjectReadResult parsed = Parse(SerializeProject(p), ProjectFileLength(n));
        ASSERT_TRUE(parsed.project) << parsed.detail;
        EXPECT_TRUE(SameBits(p, *parsed.project)) << n;
        const std::string path = folder.File("grid" + std::to_string(n) + ".tvd");
        ASSERT_FALSE(WriteProjectFile(path, p));
        const ProjectReadResult read = ReadProjectFile(path);
        ASSERT_TRUE(read.project) << read.detail;
        EXPECT_TRUE(SameBits(p, *read.project)) << n;
    }
}

TEST(ProjectFile, CommentIsCutOrPaddedToTwoHundredBytes) {
    Model m;
    m.project.GridSize = 50;
    for (const auto& [typed, stored] :
         {std::pair<std::string, std::string>{"short", "short" + std::string(195, ' ')},
          {std::string(150, 'a') + std::string(100, 'b'),
           std::string(150, 'a') + std::string(50, 'b')}}) {
        m.project.Comments = typed;
        ProjectData p = ProjectFromModel(m);
        EXPECT_EQ(p.Comments, stored);
        p.Comments = typed;  // set directly on the data, still written as 200 bytes
        const std::vector<std::uint8_t> b = SerializeProject(p);
        EXPECT_EQ(std::string(b.begin() + 499, b.begin() + 699), stored);
        EXPECT_EQ(b[699], 0);
    }
}

TEST(ProjectFileReader, RefusesWhatIsNotAProjectAndReadsUnknownMaterialsAsVacuum) {
    const std::vector<std::uint8_t> good = SerializeProject(SampleProject(50));
    const auto refused = [](const std::vector<std::uint8_t>& b, std::size_t size) {
        const ProjectReadResult r = Parse(b, size);
        return !r.project && r.error == "Invalid File Format" && !r.detail.empty();
    };
    for (const char* magic : {"tvd2.1", "TVD2.0", "TVD2.\0"}) {
        std::vector<std::uint8_t> b = good;
        std::memcpy(b.data(), magic, 6);
        EXPECT_TRUE(refused(b, b.size())) << magic;
    }
    // Unsupported grid sizes, and 400 claimed by a 50-cell image, too short for it.
    for (int size : {0, -50, 32767, 51, 800, 400}) {
        std::vector<std::uint8_t> b = good;
        b[9] = static_cast<std::uint8_t>(size & 0xFF);
        b[10] = static_cast<std::uint8_t>((size >> 8) & 0xFF);
        EXPECT_TRUE(refused(b, b.size())) << size;
    }
    for (std::size_t size : {0, 10, 11, 999, 1999 + 51 * 51, 25407}) {
        EXPECT_TRUE(refused(good, size)) << size;
    }
    std::vector<std::uint8_t> b = good;
    b[999 + 1] = 7;                     // node (1, 0)
    b[999 + 51] = 255;                  // node (0, 1)
    b[999 + 52] = 12;                   // node (1, 1): a real code
    b.resize(good.size() + 100, 0xAB);  // bytes past the project are ignored
    b[6] = 'x';                         // so are the gaps: the magic is six bytes
    const ProjectReadResult read = Parse(b, b.size());
    ASSERT_TRUE(read.project);
    EXPECT_EQ(read.project->Material(1, 0), MaterialCode::Vacuum);
    EXPECT_EQ(read.project->Material(0, 1), MaterialCode::Vacuum);
    EXPECT_EQ(read.project->Material(1, 1), MaterialCode::Coil2);
    EXPECT_EQ(Bits(read.project->VecPot(50, 50)), Bits(SampleProject(50).VecPot(50, 50)));
}

TEST(ProjectFileReader, BadFilesGiveTheirReason) {
    TempFolder folder;
    std::string b = Text(SerializeProject(SampleProject(50)));
    WriteText(folder.File("empty.tvd"), "");
    WriteText(folder.File("short.tvd"), b.substr(0, 5000));
    b[9] = '\xFF', b[10] = '\x7F';
    WriteText(folder.File("hostile.tvd"), b);
    for (const auto& [name, reason] : {std::pair{"missing.tvd", "No such file"},
                                       {"", "folder"},
                                       {"empty.tvd", "empty"},
                                       {"short.tvd", "5000"},
                                       {"hostile.tvd", "32767"}}) {
        const ProjectReadResult r = ReadProjectFile(folder.File(name));
        EXPECT_FALSE(r.project) << name;
        EXPECT_EQ(r.error, "Invalid File Format") << name;
        EXPECT_NE(r.detail.find(reason), std::string::npos) << name << ": " << r.detail;
    }
}

TEST(ProjectFileWriter, FailedWritesKeepTheOldFile) {
    TempFolder folder;
    const std::string blocker = folder.File("plain-file");
    WriteText(blocker, "old");
    const std::optional<std::string> failure =
        WriteProjectFile(blocker + "/p.tvd", SampleProject(50));
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find(blocker + "/p.tvd"), std::string::npos) << *failure;
    EXPECT_EQ(ReadText(blocker), "old");
    std::filesystem::create_directory(folder.File("sub"));
    EXPECT_TRUE(WriteProjectFile(folder.File("sub"), SampleProject(50)));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("sub")));
    ProjectData bad = SampleProject(50);
    bad.GridSize = 51;
    EXPECT_TRUE(WriteProjectFile(blocker, bad));
    EXPECT_EQ(ReadText(blocker), "old");
    EXPECT_EQ(folder.Entries(), 2);              // no temporary file left behind
    for (const std::string bytes : {"", "x"}) {  // the shortest files are written whole too
        ASSERT_FALSE(WriteFileAtomically(folder.File("short"), bytes.data(), bytes.size()));
        EXPECT_EQ(ReadText(folder.File("short")), bytes);
    }
}

TEST(ProjectFileWriter, DiskFullKeepsTheOldFile) {
    // A file size limit fails the writes part-way, as a full disk does.
    TempFolder folder;
    const std::string target = folder.File("old.tvd");
    WriteText(target, "old");
    rlimit limit{}, small{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    small = {1000, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::optional<std::string> failure = WriteProjectFile(target, SampleProject(50));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find(target), std::string::npos) << *failure;
    EXPECT_EQ(ReadText(target), "old");
    EXPECT_EQ(folder.Entries(), 1);
}

TEST(ProjectFileWriter, ReplacesTheFileAndKeepsItsPermissionsAndLinks) {
    TempFolder folder;
    const std::string target = folder.File("p.tvd");
    WriteText(target, std::string(100000, 'x'));
    using std::filesystem::perms;
    const perms kept = perms::owner_read | perms::owner_write | perms::group_read;
    std::filesystem::permissions(target, kept);
    ASSERT_FALSE(WriteProjectFile(target, SampleProject(50)));
    EXPECT_EQ(ReadText(target), Text(SerializeProject(SampleProject(50))));
    EXPECT_EQ(std::filesystem::status(target).permissions() & perms::all, kept);
    const std::string link = folder.File("link.tvd");
    std::filesystem::create_symlink("p.tvd", link);
    ASSERT_FALSE(WriteProjectFile(link, SampleProject(100)));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadText(target), Text(SerializeProject(SampleProject(100))));
    EXPECT_EQ(folder.Entries(), 2);
}

TEST(ProjectModel, ApplyTakesTheStoredFieldsAndDerivesTheMaterialMap) {
    Model m;
    m.project.ReluctivityRelaxation = 0.3, m.project.PrintScale = 2, m.project.LineStep = 5;
    m.field.B.Create(50);
    ProjectData p = SampleProject(100);
    p.GridStep = 0.002, p.SteelMu = 2000, p.MagBr = 1, p.MagHc = 1e5, p.MagCurveK = 1.5;
    const ProjectData stored = p;
    ApplyProject(m, std::move(p));
    EXPECT_TRUE(SameBits(ProjectFromModel(m), stored));
    EXPECT_EQ(m.project.AreaSize, 200.0f);
    EXPECT_EQ(m.project.MagMuRec, MagnetMuRec(1, 1e5, 1.5));
    EXPECT_EQ(m.field.B, Grid2D<float>(100));  // the old result is not the loaded project's
    EXPECT_EQ(
        std::make_tuple(m.project.ReluctivityRelaxation, m.project.PrintScale, m.project.LineStep),
        std::make_tuple(0.3, 2.0f, 5.0f));
    Model built;
    built.project = m.project;
    BuildMaterialMap(built, stored.Material);
    EXPECT_TRUE(m.arrays.UniformStencil == built.arrays.UniformStencil &&
                m.arrays.Reluctivity == built.arrays.Reluctivity &&
                m.arrays.Source == built.arrays.Source);
}

TEST(ProjectModel, ArraysOfAnotherGridAreWrittenAtTheirOwnGrid) {
    Model m;
    ApplyProject(m, SampleProject(100));
    m.project.AreaSize = 100;
    m.project.GridSize = 200;  // changed in the options after the calculation
    m.project.GridStep = 0.0005;
    const ProjectData p = ProjectFromModel(m);
    EXPECT_EQ(p.GridSize, 100);
    EXPECT_DOUBLE_EQ(p.GridStep, 0.001);
    EXPECT_TRUE(p.Material == m.arrays.Material);
    Model bare;  // no arrays at all: zeros of the project's grid
    bare.project.GridSize = 50;
    EXPECT_EQ(SerializeProject(ProjectFromModel(bare)).size(), ProjectFileLength(50));
    ProjectData other = SampleProject(50);  // a potential of another grid is written as zeros
    other.VecPot = SampleProject(100).VecPot;
    const std::vector<std::uint8_t> image = SerializeProject(other);
    EXPECT_EQ(std::count(image.begin() + 1999 + 51 * 51, image.end(), 0), 8 * 51 * 51);
}

}  // namespace
}  // namespace tesvid
