#include "io/text_table.h"

#include <gtest/gtest.h>

namespace tesvid {
namespace {

// The lines of a table whose every line ends with CR LF.
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos);
    }
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    return lines;
}

// A model with an evaluated field whose values tell the nodes apart.
Model FieldModel(int n, double step) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n), m.project.GridStep = step;
    m.project.AreaSize = static_cast<float>(n * step * 1000);
    for (auto* g : {&m.field.Br, &m.field.Bz, &m.field.B}) {
        g->Create(n);
    }
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            m.field.Br(i, j) = static_cast<float>(i * 0.01);
            m.field.Bz(i, j) = static_cast<float>(j * 0.001);
            m.field.B(i, j) = static_cast<float>(i + j);
        }
    }
    return m;
}

TEST(FieldTable, HeadingThenInnerNodesInPrintZonesOfFourteenColumns) {
    Model m = FieldModel(50, 0.002);
    m.field.Br(1, 1) = -0.321f, m.field.Bz(1, 1) = 0.01234f, m.field.B(1, 1) = 0;
    std::vector<std::string> lines = CrLfLines(FormatFieldTable(m));
    ASSERT_EQ(lines.size(), 1 + 49u * 49u);
    EXPECT_EQ(lines[0], "R, mm         Z, mm         Br, Tesla     Bz, Tesla     Bmodule, Tesla");
    EXPECT_EQ(lines[1], " 2             2            -3.210e-01    1.234e-02     0.000e00");
    EXPECT_EQ(lines[2], " 2             4            1.000e-02     2.000e-03     3.000e00");
    EXPECT_EQ(lines[50], " 4             2            2.000e-02     1.000e-03     3.000e00");
    EXPECT_EQ(lines.back(), " 98            98           4.900e-01     4.900e-02     9.800e01");
    // Below one millimetre, with a decimal comma.
    lines = CrLfLines(FormatFieldTable(FieldModel(400, 0.00025), ','));
    EXPECT_EQ(lines.size(), 1 + 399u * 399u);
    EXPECT_EQ(lines[1], " ,25           ,25          1,000e-02     1,000e-03     2,000e00");
    // An item filling its whole zone (" 123456.78901 ") is followed by the next zone; one
    // running a column into it (" 2345678.99119 ") pushes the next item a zone on.
    lines = CrLfLines(FormatFieldTable(FieldModel(20, 123.45678901)));
    EXPECT_EQ(lines[1].substr(0, 38), " 123456.78901  123456.78901 1.000e-02 ");
    EXPECT_EQ(lines[19].substr(14, 37), " 2345678.99119              1.000e-02");
}

TEST(FieldTable, MissingFieldOrAnotherGrid) {
    Model bare;  // no field: zeros on the project's grid
    bare.project.GridSize = 50, bare.project.GridStep = 0.002;
    std::vector<std::string> lines = CrLfLines(FormatFieldTable(bare));
    ASSERT_EQ(lines.size(), 1 + 49u * 49u);
    EXPECT_EQ(lines[1], " 2             2            0.000e00      0.000e00      0.000e00");
    // The grid was changed in the options after the calculation: the field's own grid.
    Model m = FieldModel(50, 0.002);
    m.project.GridSize = 100, m.project.GridStep = 0.001;
    lines = CrLfLines(FormatFieldTable(m));
    ASSERT_EQ(lines.size(), 1 + 49u * 49u);
    EXPECT_EQ(lines[1].substr(0, 28), " 2             2            ");
}

}  // namespace
}  // namespace tesvid
