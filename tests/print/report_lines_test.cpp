#include "print/report_lines.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tesvid {
namespace {

ReportFigures Figures() {
    ReportFigures f;
    f.file = "/tmp/x.tvd";
    f.printed = "06.12.2026 21:00";
    f.comments = "coil";
    f.current1 = 10;
    f.current2 = -2.5;
    f.dProv1 = 1;
    f.dProv2 = 0.5;
    f.turns1 = "100";
    f.turns2 = "0";
    f.power1 = "59.9";
    f.power2 = "0";
    f.gridSize = 100;
    f.gridStep = 0.001;
    f.areaSize = 100;
    f.printScale = 2;
    f.steelMu = 2000;
    f.steelMaxB = 1.5;
    f.magBHmax = 30000;
    f.magBr = 1;
    f.magHc = 100000;
    return f;
}

std::string Joined(const PrintLine& line) {
    std::ostringstream s;
    for (const PrintItem& item : line.items) {
        s << item.text << (item.separator == '\0' ? '|' : item.separator);
    }
    return s.str();
}

TEST(ReportLines, NumbersInPrintFormAndSeparatorsAsLaidOut) {
    const auto lines = ReportLines(Figures());
    ASSERT_EQ(lines.size(), 19u);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].bold, k < 6) << "line " << k + 1;
        const bool empty = k == 0 || k == 1 || k == 5 || k == 10 || k == 16;
        EXPECT_EQ(Joined(lines[k]).empty(), empty) << "line " << k + 1;
    }
    EXPECT_EQ(Joined(lines[2]), ",File: ;/tmp/x.tvd|");
    EXPECT_EQ(Joined(lines[4]), ",Comments: ,coil|");
    EXPECT_EQ(Joined(lines[6]), ",Coil 1 current: , 10 ;A,,Coil 2 current: ,-2.5 ;A|");
    EXPECT_EQ(Joined(lines[7]), ",Wire diameter 1: , 1 ; mm,,Wire diameter 2: , .5 ; mm|");
    EXPECT_EQ(Joined(lines[8]), ",Number of turns 1: ,100,,Number of turns 2: ,0|");
    EXPECT_EQ(Joined(lines[9]), ",Power1: ,59.9; W,,Power2: ,0; W|");
    EXPECT_EQ(Joined(lines[11]), ",Calculation Grid: , 100 ;x; 100 |");
    EXPECT_EQ(Joined(lines[12]), ",Grid step: , 1 ; mm|");
    EXPECT_EQ(Joined(lines[13]), ",Grid step on printer: , .5 ; mm|");
    EXPECT_EQ(Joined(lines[14]), ",Grid dimension: , 100 ; x ; 100 ; mm|");
    EXPECT_EQ(Joined(lines[15]), ",Print scale: ,1:; 2 |");
    EXPECT_EQ(Joined(lines[17]), ",Iron: ,Mu=; 2000 ,Bmax=; 1.5 ; Tesla|");
    EXPECT_EQ(Joined(lines[18]), ",Magnet: ,BHmax=; 30 ; kJ/m3,Br=; 1 ; Tesla,Hc= ; 100 ;kA/m|");
}

}  // namespace
}  // namespace tesvid
