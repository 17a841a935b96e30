#pragma once

#include <string>
#include <vector>

namespace tesvid {

// One item of a printed line and the separator after it: ';' puts the next item right after
// this one, ',' starts it at the next print zone, '\0' ends the line.
struct PrintItem {
    std::string text;
    char separator = '\0';
};

struct PrintLine {
    std::vector<PrintItem> items;  // empty: an empty line
    bool bold = false;
};

// The figures the text block of the printed report shows.
struct ReportFigures {
    std::string file;      // the project's file, or empty
    std::string printed;   // date and time of printing
    std::string comments;  // the 200 characters of the comment, as UTF-8
    double current1 = 0, current2 = 0;
    double dProv1 = 0, dProv2 = 0;
    std::string turns1, turns2;  // as the coil panel shows them
    std::string power1, power2;
    int gridSize = 0;
    double gridStep = 0;  // m
    float areaSize = 0;   // mm
    float printScale = 1;
    double steelMu = 0, steelMaxB = 0;
    double magBHmax = 0, magBr = 0, magHc = 0;  // J/m3, T, A/m
    // The engineering figures of the field (FiguresTextLines), or why there are none; printed
    // after the block, a long line broken after a comma. None: nothing is added.
    std::vector<std::string> figures;
};

// The text block under the drawing, line by line; numbers in the print form with a trailing
// space. Lines 1 to 6 are bold; the figures, when given, follow after an empty line.
std::vector<PrintLine> ReportLines(const ReportFigures& f, char decimalSeparator = '.');

}  // namespace tesvid
