#include "print/report_lines.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tesvid {
namespace {

ReportFigures Figures() {
    ReportFigures f;
    f.file = "/tmp/x.tvd", f.printed = "06.12.2026 21:00", f.comments = "coil";
    f.current1 = 10, f.current2 = -2.5, f.dProv1 = 1, f.dProv2 = 0.5;
    f.turns1 = "100", f.turns2 = "0", f.power1 = "59.9", f.power2 = "0";
    f.gridSize = 100, f.gridStep = 0.001, f.areaSize = 100, f.printScale = 2;
    f.steelMu = 2000, f.steelMaxB = 1.5, f.magBHmax = 30000, f.magBr = 1, f.magHc = 100000;
    return f;
}

std::string Joined(const PrintLine& line) {
    std::ostringstream s;
    for (const PrintItem& item : line.items) {
        s << item.text << (item.separator == '\0' ? '|' : item.separator);
    }
    return s.str();
}

TEST(ReportLines, FiguresFollowTheBlockLongLinesBrokenAfterACommaNothingLost) {
    ReportFigures f = Figures();
    const std::string coil =
        "Coil 1: L = 683 µH, Psi = 683 µWb, F_z = -2.12 µN, N = 132 turns, I = 1.00 A, "
        "R = 319 mohm, P = 319 mW";
    f.figures = {coil, "Stored energy: W = 341 µJ"};
    const auto lines = ReportLines(f);
    ASSERT_EQ(lines.size(), 19u + 2 + 3);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].bold, k < 6) << k;  // the heading lines
    }
    // Numbers in the print form: a place for the sign, no leading zero, a trailing space.
    EXPECT_EQ(Joined(lines[7]), ",Wire diameter 1: , 1 ; mm,,Wire diameter 2: , .5 ; mm|");
    EXPECT_TRUE(lines[19].items.empty());
    EXPECT_EQ(Joined(lines[21]), ",Coil 1: L = 683 µH, Psi = 683 µWb, F_z = -2.12 µN,|");
    EXPECT_EQ(Joined(lines[22]), ",    N = 132 turns, I = 1.00 A, R = 319 mohm, P = 319 mW|");
    EXPECT_EQ(Joined(lines[23]), ",Stored energy: W = 341 µJ|");
}

}  // namespace
}  // namespace tesvid
