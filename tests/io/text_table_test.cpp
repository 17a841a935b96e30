#include "io/text_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "io/io_test_support.h"

namespace tesvid {
namespace {

std::vector<std::string> SplitCrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A line with each text placed at its 1-based column, spaces in between.
std::string AtColumns(std::initializer_list<std::pair<std::size_t, std::string>> items) {
    std::string line;
    for (const auto& [column, text] : items) {
        line.resize(column - 1, ' ');
        line += text;
    }
    return line;
}

// A model with an evaluated field whose values tell the nodes apart.
Model FieldModel(int n, double step) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.project.GridStep = step;
    m.project.AreaSize = static_cast<float>(n * step * 1000);
    m.field.Br.Create(n);
    m.field.Bz.Create(n);
    m.field.B.Create(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            m.field.Br(i, j) = static_cast<float>(i * 0.01);
            m.field.Bz(i, j) = static_cast<float>(j * 0.001);
            m.field.B(i, j) = static_cast<float>(i + j);
        }
    }
    return m;
}

TEST(FieldTable, FiftyGridLinesAndHeading) {
    const Model m = FieldModel(50, 0.002);
    const std::string table = FormatFieldTable(m);
    const std::vector<std::string> lines = SplitCrLfLines(table);
    ASSERT_EQ(lines.size(), 2402u);
    EXPECT_EQ(table.substr(table.size() - 2), "\r\n");
    for (const std::string& line : lines) {
        ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    }
    // Columns 1, 15, 29, 43 and 57; "Bmodule, Tesla" ends in column 70.
    EXPECT_EQ(lines[0], "R, mm         Z, mm         Br, Tesla     Bz, Tesla     Bmodule, Tesla");
    EXPECT_EQ(lines[0].size(), 70u);
}

TEST(FieldTable, NodeOrderAndItemForms) {
    Model m = FieldModel(50, 0.002);
    m.field.Br(1, 1) = -0.321f;
    m.field.Bz(1, 1) = 0.01234f;
    m.field.B(1, 1) = 0;
    const std::vector<std::string> lines = SplitCrLfLines(FormatFieldTable(m));
    EXPECT_EQ(
        lines[1],
        AtColumns(
            {{1, " 2 "}, {15, " 2 "}, {29, "-3.210e-01"}, {43, "1.234e-02"}, {57, "0.000e00"}}));
    EXPECT_EQ(
        lines[2],
        AtColumns(
            {{1, " 2 "}, {15, " 4 "}, {29, "1.000e-02"}, {43, "2.000e-03"}, {57, "3.000e00"}}));
    // Node (1, 49) and the node after it, (2, 1).
    EXPECT_EQ(
        lines[49],
        AtColumns(
            {{1, " 2 "}, {15, " 98 "}, {29, "1.000e-02"}, {43, "4.900e-02"}, {57, "5.000e01"}}));
    EXPECT_EQ(
        lines[50],
        AtColumns(
            {{1, " 4 "}, {15, " 2 "}, {29, "2.000e-02"}, {43, "1.000e-03"}, {57, "3.000e00"}}));
    EXPECT_EQ(
        lines.back(),
        AtColumns(
            {{1, " 98 "}, {15, " 98 "}, {29, "4.900e-01"}, {43, "4.900e-02"}, {57, "9.800e01"}}));
}

TEST(FieldTable, ValuesBelowOneAndDecimalComma) {
    const Model m = FieldModel(400, 0.00025);  // 100 mm over 400 cells
    const std::string table = FormatFieldTable(m, ',');
    const std::vector<std::string> lines = SplitCrLfLines(table);
    EXPECT_EQ(lines.size(), 159202u);
    EXPECT_EQ(
        lines[1],
        AtColumns(
            {{1, " ,25 "}, {15, " ,25 "}, {29, "1,000e-02"}, {43, "1,000e-03"}, {57, "2,000e00"}}));
    EXPECT_EQ(lines[2].substr(0, 28), AtColumns({{1, " ,25 "}, {15, " ,5 "}, {29, ""}}));
}

TEST(FieldTable, ItemsThatFillTheirZoneMoveTheNextOneOn) {
    // R of node 1 prints as " 123456.78901 ": 14 columns, the whole first zone, so Z starts
    // in column 15. R of node 2 prints as " 246913.57802 " too; node 10 as " 1234567.8901 ".
    Model m = FieldModel(20, 123.45678901);
    const std::vector<std::string> lines = SplitCrLfLines(FormatFieldTable(m));
    EXPECT_EQ(lines[1].substr(0, 28), " 123456.78901  123456.78901 ");
    EXPECT_EQ(lines[1].substr(28, 10), "1.000e-02 ");
    // A 15-column item (node 1, Z of node 10: " 1234567.8901 " is 14, so use node 19 with its
    // 15 columns " 2345678.99119 ") pushes the next item to column 43.
    const std::string& node1_19 = lines[19];
    EXPECT_EQ(node1_19.substr(14, 15), " 2345678.99119 ");
    EXPECT_EQ(node1_19.substr(29, 13), std::string(13, ' '));
    EXPECT_EQ(node1_19.substr(42, 9), "1.000e-02");
}

TEST(FieldTable, MissingFieldExportsZeros) {
    Model m;
    m.project.GridSize = 50;
    m.project.GridStep = 0.002;
    const std::vector<std::string> lines = SplitCrLfLines(FormatFieldTable(m));
    ASSERT_EQ(lines.size(), 2402u);
    EXPECT_EQ(
        lines[1],
        AtColumns({{1, " 2 "}, {15, " 2 "}, {29, "0.000e00"}, {43, "0.000e00"}, {57, "0.000e00"}}));
}

TEST(FieldTable, FieldOfAnotherGridIsExportedOnItsOwnGrid) {
    Model m = FieldModel(50, 0.002);
    m.project.GridSize = 100;  // the grid was changed in the options after the calculation
    m.project.GridStep = 0.001;
    const std::vector<std::string> lines = SplitCrLfLines(FormatFieldTable(m));
    ASSERT_EQ(lines.size(), 2402u);
    EXPECT_EQ(lines[1].substr(0, 28), AtColumns({{1, " 2 "}, {15, " 2 "}, {29, ""}}));
}

TEST(FieldTable, WriteGivesTheSameBytesOrAReason) {
    testing::TempFolder folder;
    const Model m = FieldModel(50, 0.002);
    const std::string path = folder.File("field.txt");
    ASSERT_FALSE(WriteFieldTable(path, m));
    const std::vector<std::uint8_t> bytes = testing::ReadBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), FormatFieldTable(m));

    const std::optional<std::string> failure = WriteFieldTable(folder.Path().string(), m);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find(folder.Path().string()), std::string::npos) << *failure;
}

}  // namespace
}  // namespace tesvid
