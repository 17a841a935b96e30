#include "io/project_file.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "io/io_test_support.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr std::array<MaterialCode, 7> kAllCodes = {
    MaterialCode::Vacuum, MaterialCode::Iron,  MaterialCode::MagnetS, MaterialCode::MagnetN,
    MaterialCode::Coil1,  MaterialCode::Coil2, MaterialCode::Nonmag};

std::uint64_t Bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

// Doubles that a careless conversion would change.
double AwkwardValue(int i, int j) {
    static const std::array<double, 9> values = {
        -0.0,
        std::numeric_limits<double>::denorm_min(),
        -std::numeric_limits<double>::denorm_min() * 12345,
        std::numeric_limits<double>::max(),
        -1.5e300,
        1.0 / 3,
        std::bit_cast<double>(std::uint64_t{0x7FF8000000ABCDEFull}),  // NaN with a payload
        -std::numeric_limits<double>::infinity(),
        1e-310};
    return values[static_cast<std::size_t>(i * 5 + j * 3) % values.size()] * (1 + i * 1e-9) +
           (i == 7 && j == 3 ? 0.125 : 0.0);
}

// A project with every field set and no symmetry between the two grid indices.
ProjectData SampleProject(int n) {
    ProjectData p;
    p.GridSize = static_cast<std::int16_t>(n);
    p.GridStep = 0.1 / n;
    p.Current1 = 3.7;
    p.Current2 = -12.25;
    p.WireDiameter1 = 0.8;
    p.WireDiameter2 = 1.2;
    p.SteelSaturationB = 1.5;
    p.SteelMu = 2000;
    p.MagBHmax = 30000;
    p.MagBr = 1.1;
    p.MagHc = 100000;
    p.MagCurveK = 0.123456789012345;
    p.MainSteps = 17;
    p.LastReluctivityStep = 0.025;
    p.Rjac0 = 0.995;
    p.Rjac1 = 0.9995;
    p.RjacFin = 0.95;
    p.Comments = "Test \xE9\xFC\xDF comment";  // ISO 8859-1 letters
    p.Comments.resize(kCommentLength, ' ');
    p.Material.Create(n);
    p.VecPot.Create(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            p.Material(i, j) = kAllCodes[static_cast<std::size_t>(i * 3 + j * j) % 7];
            p.VecPot(i, j) = AwkwardValue(i, j);
        }
    }
    return p;
}

void ExpectSameBits(const ProjectData& a, const ProjectData& b) {
    EXPECT_EQ(a.GridSize, b.GridSize);
    for (auto field : {&ProjectData::GridStep, &ProjectData::Current1, &ProjectData::Current2,
                       &ProjectData::WireDiameter1, &ProjectData::WireDiameter2, &ProjectData::SteelSaturationB,
                       &ProjectData::SteelMu, &ProjectData::MagBHmax, &ProjectData::MagBr,
                       &ProjectData::MagHc, &ProjectData::MagCurveK, &ProjectData::LastReluctivityStep,
                       &ProjectData::Rjac0, &ProjectData::Rjac1, &ProjectData::RjacFin}) {
        EXPECT_EQ(Bits(a.*field), Bits(b.*field));
    }
    EXPECT_EQ(a.MainSteps, b.MainSteps);
    EXPECT_EQ(a.Comments, b.Comments);
    ASSERT_EQ(a.Material.N(), b.Material.N());
    ASSERT_EQ(a.VecPot.N(), b.VecPot.N());
    EXPECT_TRUE(a.Material == b.Material);
    std::size_t differing = 0;
    for (std::size_t k = 0; k < a.VecPot.Size(); ++k) {
        differing += Bits(a.VecPot.Data()[k]) != Bits(b.VecPot.Data()[k]);
    }
    EXPECT_EQ(differing, 0u);
}

std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint64_t U64At(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint64_t v = 0;
    for (int k = 7; k >= 0; --k) {
        v = (v << 8) | b[at + static_cast<std::size_t>(k)];
    }
    return v;
}

TEST(ProjectFileLayout, LengthsAndOffsets) {
    EXPECT_EQ(ProjectFileLength(50), 25408u);
    EXPECT_EQ(ProjectFileLength(100), 93808u);
    EXPECT_EQ(ProjectFileLength(200), 365608u);
    EXPECT_EQ(ProjectFileLength(400), 1449208u);
    EXPECT_EQ(VecPotOffset(50), 4600u);
    EXPECT_EQ(VecPotOffset(100), 12200u);
    for (int n : {50, 100, 200, 400}) {
        EXPECT_EQ(SerializeProject(SampleProject(n)).size(), ProjectFileLength(n));
    }
}

TEST(ProjectFileLayout, FieldsAtTheirOffsetsLittleEndian) {
    const ProjectData p = SampleProject(50);
    const std::vector<std::uint8_t> b = SerializeProject(p);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "TVD2.1");
    EXPECT_EQ(U16At(b, 9), 50);
    EXPECT_EQ(U64At(b, 19), Bits(p.GridStep));
    EXPECT_EQ(U64At(b, 29), Bits(3.7));
    EXPECT_EQ(U64At(b, 49), Bits(-12.25));
    EXPECT_EQ(U64At(b, 59), Bits(0.8));
    EXPECT_EQ(U64At(b, 69), Bits(1.2));
    EXPECT_EQ(U64At(b, 89), Bits(1.5));
    EXPECT_EQ(U64At(b, 99), Bits(2000.0));
    EXPECT_EQ(U64At(b, 109), Bits(30000.0));
    EXPECT_EQ(U64At(b, 119), Bits(1.1));
    EXPECT_EQ(U64At(b, 129), Bits(100000.0));
    EXPECT_EQ(U64At(b, 139), Bits(0.123456789012345));
    EXPECT_EQ(U16At(b, 149), 17);
    EXPECT_EQ(U64At(b, 159), Bits(0.025));
    EXPECT_EQ(U64At(b, 169), Bits(0.995));
    EXPECT_EQ(U64At(b, 179), Bits(0.9995));
    EXPECT_EQ(U64At(b, 189), Bits(0.95));
    EXPECT_EQ(std::string(b.begin() + 499, b.begin() + 699), p.Comments);

    // The radius index varies fastest in both blocks.
    const int n = 50;
    for (auto [i, j] :
         {std::pair{0, 0}, {1, 0}, {0, 1}, {7, 3}, {3, 7}, {50, 0}, {0, 50}, {50, 50}}) {
        const std::size_t k = static_cast<std::size_t>(i + (n + 1) * j);
        EXPECT_EQ(b[999 + k], static_cast<std::uint8_t>(p.Material(i, j))) << i << "," << j;
        EXPECT_EQ(U64At(b, 4600 + 8 * k), Bits(p.VecPot(i, j))) << i << "," << j;
    }
}

TEST(ProjectFileLayout, EveryGapIsZero) {
    for (int n : {50, 400}) {
        ProjectData p = SampleProject(n);
        // Every byte of every field non-zero, so a field written to the wrong place shows.
        const double allOnes = std::bit_cast<double>(~std::uint64_t{0});
        for (auto field : {&ProjectData::GridStep, &ProjectData::Current1, &ProjectData::Current2,
                           &ProjectData::WireDiameter1, &ProjectData::WireDiameter2, &ProjectData::SteelSaturationB,
                           &ProjectData::SteelMu, &ProjectData::MagBHmax, &ProjectData::MagBr,
                           &ProjectData::MagHc, &ProjectData::MagCurveK, &ProjectData::LastReluctivityStep,
                           &ProjectData::Rjac0, &ProjectData::Rjac1, &ProjectData::RjacFin}) {
            p.*field = allOnes;
        }
        p.MainSteps = -1;
        p.Comments.assign(kCommentLength, '\xFF');
        const std::vector<std::uint8_t> b = SerializeProject(p);

        const std::size_t m = static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1);
        std::vector<bool> covered(b.size(), false);
        auto cover = [&](std::size_t at, std::size_t size) {
            for (std::size_t k = at; k < at + size; ++k) {
                covered[k] = true;
            }
        };
        cover(0, 6);
        cover(9, 2);
        for (std::size_t at :
             {19, 29, 49, 59, 69, 89, 99, 109, 119, 129, 139, 159, 169, 179, 189}) {
            cover(at, 8);
        }
        cover(149, 2);
        cover(499, 200);
        cover(999, m);
        cover(1999 + m, 8 * m);
        std::size_t nonZeroGapBytes = 0;
        for (std::size_t k = 0; k < b.size(); ++k) {
            nonZeroGapBytes += !covered[k] && b[k] != 0;
        }
        EXPECT_EQ(nonZeroGapBytes, 0u) << "grid " << n;
        EXPECT_EQ(b[79], 0);  // the reserved field
        EXPECT_EQ(b[80], 0);
    }
}

TEST(ProjectFileRoundTrip, EveryGridSizeBitForBit) {
    TempFolder folder;
    for (int n : {50, 100, 200, 400}) {
        const ProjectData p = SampleProject(n);
        const ProjectReadResult parsed = [&] {
            const std::vector<std::uint8_t> b = SerializeProject(p);
            return ParseProject(b.data(), b.size());
        }();
        ASSERT_TRUE(parsed.project) << parsed.detail;
        ExpectSameBits(p, *parsed.project);

        const std::string path = folder.File("grid" + std::to_string(n) + ".tvd");
        ASSERT_FALSE(WriteProjectFile(path, p));
        EXPECT_EQ(std::filesystem::file_size(path), ProjectFileLength(n));
        const ProjectReadResult read = ReadProjectFile(path);
        ASSERT_TRUE(read.project) << read.detail;
        ExpectSameBits(p, *read.project);
    }
}

TEST(ProjectFileRoundTrip, CommentIsCutOrPaddedToTwoHundredBytes) {
    Model m;
    m.project.GridSize = 50;
    m.project.GridStep = 0.002;
    m.project.Comments = "short";
    ProjectData p = ProjectFromModel(m);
    EXPECT_EQ(p.Comments, "short" + std::string(195, ' '));
    std::vector<std::uint8_t> b = SerializeProject(p);
    EXPECT_EQ(b[499 + 4], 't');
    EXPECT_EQ(b[499 + 5], ' ');
    EXPECT_EQ(b[699], 0);
    ProjectReadResult read = ParseProject(b.data(), b.size());
    ASSERT_TRUE(read.project);
    EXPECT_EQ(read.project->Comments, "short" + std::string(195, ' '));

    m.project.Comments = std::string(150, 'a') + std::string(100, 'b');
    p = ProjectFromModel(m);
    EXPECT_EQ(p.Comments, std::string(150, 'a') + std::string(50, 'b'));

    // A comment set directly on the data is still written as exactly 200 bytes.
    p.Comments = "x";
    b = SerializeProject(p);
    EXPECT_EQ(b[499], 'x');
    EXPECT_EQ(b[698], ' ');
    EXPECT_EQ(b[699], 0);
}

TEST(ProjectFileReader, BytesThatAreNoMaterialReadAsVacuum) {
    std::vector<std::uint8_t> b = SerializeProject(SampleProject(50));
    b[999 + 1] = 7;     // node (1, 0)
    b[999 + 51] = 255;  // node (0, 1)
    b[999 + 52] = 12;   // node (1, 1): a real code
    const ProjectReadResult read = ParseProject(b.data(), b.size());
    ASSERT_TRUE(read.project);
    EXPECT_EQ(read.project->Material(1, 0), MaterialCode::Vacuum);
    EXPECT_EQ(read.project->Material(0, 1), MaterialCode::Vacuum);
    EXPECT_EQ(read.project->Material(1, 1), MaterialCode::Coil2);
}

TEST(ProjectFileReader, RefusesWrongMagicAndHostileGridSizes) {
    const std::vector<std::uint8_t> good = SerializeProject(SampleProject(50));
    auto refused = [](std::vector<std::uint8_t> b) {
        const ProjectReadResult r = ParseProject(b.data(), b.size());
        return !r.project && r.error == "Invalid File Format" && !r.detail.empty();
    };
    for (const char* magic : {"tvd2.1", "TVD2.0", "TVD3.1", "XVD2.1", "TVD2,1", "TVD2.\0"}) {
        std::vector<std::uint8_t> b = good;
        std::memcpy(b.data(), magic, 6);
        EXPECT_TRUE(refused(b)) << magic;
    }
    for (int size : {0, -50, 32767, 51, -32768, 25, 800}) {
        std::vector<std::uint8_t> b = good;
        b[9] = static_cast<std::uint8_t>(size & 0xFF);
        b[10] = static_cast<std::uint8_t>((size >> 8) & 0xFF);
        EXPECT_TRUE(refused(b)) << size;
    }
    // A 50-cell image that claims 400 cells is too short for that.
    std::vector<std::uint8_t> b = good;
    b[9] = 400 & 0xFF;
    b[10] = 400 >> 8;
    EXPECT_TRUE(refused(b));
}

TEST(ProjectFileReader, RefusesTruncatedImagesAndIgnoresTrailingBytes) {
    const std::vector<std::uint8_t> good = SerializeProject(SampleProject(100));
    const std::size_t m = 101 * 101;
    for (std::size_t size :
         {std::size_t{0}, std::size_t{3}, std::size_t{6}, std::size_t{10}, std::size_t{11},
          std::size_t{498}, std::size_t{999}, 999 + m - 1, 1999 + m, good.size() - 1}) {
        const ProjectReadResult r = ParseProject(good.data(), size);
        EXPECT_FALSE(r.project) << size;
        EXPECT_EQ(r.error, "Invalid File Format") << size;
    }
    std::vector<std::uint8_t> longer = good;
    longer.resize(good.size() + 100, 0xAB);
    const ProjectReadResult r = ParseProject(longer.data(), longer.size());
    ASSERT_TRUE(r.project);
    ExpectSameBits(SampleProject(100), *r.project);
}

TEST(ProjectFileReader, BadPathsGiveAClearReason) {
    TempFolder folder;
    const std::string empty = folder.File("empty.tvd");
    WriteBytes(empty, {});
    const std::string truncated = folder.File("short.tvd");
    std::vector<std::uint8_t> b = SerializeProject(SampleProject(50));
    b.resize(5000);
    WriteBytes(truncated, b);
    const std::string hostile = folder.File("hostile.tvd");
    b = SerializeProject(SampleProject(50));
    b[9] = 0xFF;
    b[10] = 0x7F;
    WriteBytes(hostile, b);

    struct Case {
        std::string path;
        std::string detailPart;
    };
    for (const Case& c :
         {Case{folder.File("missing.tvd"), "No such file"}, Case{folder.Path().string(), "folder"},
          Case{empty, "empty"}, Case{truncated, "5000"}, Case{hostile, "32767"}}) {
        const ProjectReadResult r = ReadProjectFile(c.path);
        EXPECT_FALSE(r.project) << c.path;
        EXPECT_EQ(r.error, "Invalid File Format") << c.path;
        EXPECT_NE(r.detail.find(c.detailPart), std::string::npos) << c.path << ": " << r.detail;
    }
}

TEST(ProjectFileReader, UnreadableFileIsRefused) {
    if (testing::RunningAsRoot()) {
        GTEST_SKIP() << "file permissions do not bind the superuser";
    }
    TempFolder folder;
    const std::string path = folder.File("locked.tvd");
    WriteBytes(path, SerializeProject(SampleProject(50)));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    const ProjectReadResult r = ReadProjectFile(path);
    EXPECT_FALSE(r.project);
    EXPECT_EQ(r.error, "Invalid File Format");
    EXPECT_NE(r.detail.find("Permission denied"), std::string::npos) << r.detail;
}

TEST(ProjectFileWriter, FailedWriteKeepsTheOldFile) {
    TempFolder folder;
    const std::string blocker = folder.File("plain-file");
    WriteBytes(blocker, {1, 2, 3});
    // The parent of the target is a regular file: the temporary file cannot be created.
    const std::optional<std::string> failure =
        WriteProjectFile(blocker + "/project.tvd", SampleProject(50));
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find(blocker + "/project.tvd"), std::string::npos) << *failure;
    EXPECT_EQ(ReadBytes(blocker), (std::vector<std::uint8_t>{1, 2, 3}));

    // A target that is a folder stays a folder.
    const std::string sub = folder.File("sub");
    std::filesystem::create_directory(sub);
    ASSERT_TRUE(WriteProjectFile(sub, SampleProject(50)));
    EXPECT_TRUE(std::filesystem::is_directory(sub));
    EXPECT_EQ(testing::FolderEntries(folder.Path()).size(), 2u);  // no temporary file left

    // An unsupported grid size is refused before anything is written.
    const std::string target = folder.File("old.tvd");
    WriteBytes(target, {9, 9});
    ProjectData bad = SampleProject(50);
    bad.GridSize = 51;
    ASSERT_TRUE(WriteProjectFile(target, bad));
    EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{9, 9}));
}

TEST(ProjectFileWriter, ReadOnlyFolderKeepsTheOldFile) {
    if (testing::RunningAsRoot()) {
        GTEST_SKIP() << "file permissions do not bind the superuser";
    }
    TempFolder folder;
    const std::string target = folder.File("old.tvd");
    WriteBytes(target, {4, 5, 6});
    std::filesystem::permissions(
        folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const std::optional<std::string> failure = WriteProjectFile(target, SampleProject(50));
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("Permission denied"), std::string::npos) << *failure;
    EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{4, 5, 6}));
    EXPECT_EQ(testing::FolderEntries(folder.Path()).size(), 1u);
}

TEST(ProjectFileWriter, ReplacesTheFileAndKeepsItsPermissionsAndLinks) {
    TempFolder folder;
    const std::string target = folder.File("p.tvd");
    WriteBytes(target, std::vector<std::uint8_t>(100000, 7));
    std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_read);
    ASSERT_FALSE(WriteProjectFile(target, SampleProject(50)));
    EXPECT_EQ(ReadBytes(target), SerializeProject(SampleProject(50)));
    EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    EXPECT_EQ(testing::FolderEntries(folder.Path()).size(), 1u);

    const std::string link = folder.File("link.tvd");
    std::filesystem::create_symlink("p.tvd", link);
    ASSERT_FALSE(WriteProjectFile(link, SampleProject(100)));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), SerializeProject(SampleProject(100)));
}

TEST(ProjectModel, ApplyTakesTheStoredFieldsAndLeavesTheOthers) {
    Model m;
    m.project.SliderFullScale1 = 7;
    m.project.SliderFullScale2 = 8;
    m.project.ReluctivityRelaxation = 0.3;
    m.project.PrintScale = 2;
    m.project.LineStep = 5;
    m.ShowIntermediate = true;
    m.ShowCrossSections = true;
    m.EditorMode = false;
    m.project.GridSize = 50;
    CreateGridArrays(m);
    m.field.B.Create(50);
    m.field.B(3, 3) = 1;

    ProjectData p = SampleProject(100);
    p.GridStep = 0.002;
    for (int i = 0; i <= 100; ++i) {
        for (int j = 0; j <= 100; ++j) {
            p.VecPot(i, j) = i * 1e-3 - j * 1e-5;
        }
    }
    const ProjectData stored = p;
    ApplyProject(m, std::move(p));

    EXPECT_EQ(m.project.GridSize, 100);
    EXPECT_EQ(m.arrays.MapGridSize, 100);
    EXPECT_EQ(m.project.GridStep, 0.002);
    EXPECT_EQ(m.project.AreaSize, 200.0f);
    EXPECT_EQ(m.project.Current1, 3.7);
    EXPECT_EQ(m.project.Current2, -12.25);
    EXPECT_EQ(m.project.WireDiameter1, 0.8);
    EXPECT_EQ(m.project.MagCurveK, stored.project.MagCurveK);
    EXPECT_EQ(m.project.MagMuRec, MagnetMuRec(stored.project.MagBr, stored.project.MagHc, stored.project.MagCurveK));
    EXPECT_EQ(m.project.MainSteps, 17);
    EXPECT_EQ(m.arrays.LastReluctivityStep, 0.025);
    EXPECT_EQ(m.project.RjacFin, 0.95);
    EXPECT_EQ(m.project.Comments, stored.project.Comments);
    EXPECT_TRUE(m.arrays.Material == stored.arrays.Material);
    EXPECT_TRUE(m.arrays.VecPot == stored.arrays.VecPot);
    for (std::size_t size : {m.arrays.Source.Size(), m.arrays.Reluctivity.Size(), m.arrays.UniformStencil.Size(), m.FluxFunction.Size(),
                             m.TraceMark.Size(), m.NodeColor.Size(), m.field.B.Size()}) {
        EXPECT_EQ(size, 101u * 101u);
    }
    EXPECT_EQ(m.arrays.CoefDiag.size(), 101u);
    EXPECT_EQ(m.field.B(3, 3), 0.0f);  // the old result does not belong to the new project

    EXPECT_EQ(m.project.SliderFullScale1, 7);
    EXPECT_EQ(m.project.SliderFullScale2, 8);
    EXPECT_EQ(m.project.ReluctivityRelaxation, 0.3);
    EXPECT_EQ(m.project.PrintScale, 2.0f);
    EXPECT_EQ(m.project.LineStep, 5.0f);
    EXPECT_TRUE(m.ShowIntermediate);
    EXPECT_TRUE(m.ShowCrossSections);
    EXPECT_FALSE(m.EditorMode);
}

TEST(ProjectModel, ApplyDerivesTheMaterialMapFromTheLoadedMaterial) {
    ProjectData p = SampleProject(50);
    p.GridStep = 0.002;
    Model loaded;
    ApplyProject(loaded, p);

    Model built;
    built.project.GridSize = 50;
    built.project.GridStep = 0.002;
    built.project.SteelMu = p.SteelMu;
    built.project.MagHc = p.MagHc;
    built.project.MagMuRec = loaded.project.MagMuRec;
    BuildMaterialMap(built, p.Material);
    EXPECT_TRUE(loaded.arrays.UniformStencil == built.arrays.UniformStencil);
    EXPECT_TRUE(loaded.arrays.Reluctivity == built.arrays.Reluctivity);
    EXPECT_TRUE(loaded.arrays.Source == built.arrays.Source);
}

TEST(ProjectModel, ModelRoundTripsThroughAFile) {
    TempFolder folder;
    Model first;
    ApplyProject(first, SampleProject(200));
    const std::string path = folder.File("model.tvd");
    ASSERT_FALSE(WriteProjectFile(path, ProjectFromModel(first)));
    ProjectReadResult read = ReadProjectFile(path);
    ASSERT_TRUE(read.project);
    Model second;
    ApplyProject(second, std::move(*read.project));
    ExpectSameBits(ProjectFromModel(first), ProjectFromModel(second));
    EXPECT_EQ(second.project.AreaSize, first.project.AreaSize);
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

    Model bare;  // no arrays at all
    bare.GridSize = 50;
    bare.GridStep = 0.002;
    const ProjectData zeros = ProjectFromModel(bare);
    EXPECT_EQ(zeros.Material.N(), 50);
    EXPECT_EQ(zeros.VecPot.N(), 50);
    EXPECT_EQ(SerializeProject(zeros).size(), ProjectFileLength(50));
}

}  // namespace
}  // namespace tesvid
