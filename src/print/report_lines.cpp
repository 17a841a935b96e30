#include "print/report_lines.h"

#include "model/number_format.h"

namespace tesvid {

namespace {

constexpr std::size_t kFigureLineLength = 64;

class LineBuilder {
  public:
    explicit LineBuilder(char sep) : sep_(sep) {}

    LineBuilder& Text(std::string text, char separator) {
        line_.items.push_back({std::move(text), separator});
        return *this;
    }
    LineBuilder& Number(double v, char separator) {
        return Text(PrintForm(v, true, sep_), separator);
    }
    LineBuilder& Single(float v, char separator) {
        return Text(PrintFormSingle(v, true, sep_), separator);
    }
    // Every text line starts with an empty item in the first print zone.
    LineBuilder& Indent() { return Text("", ','); }
    PrintLine Done(bool bold) {
        if (!line_.items.empty()) {
            line_.items.back().separator = '\0';
        }
        line_.bold = bold;
        PrintLine done = std::move(line_);
        line_ = PrintLine{};
        return done;
    }

  private:
    char sep_;
    PrintLine line_;
};

}  // namespace

std::vector<PrintLine> ReportLines(const ReportFigures& f, char decimalSeparator) {
    std::vector<PrintLine> lines;
    LineBuilder b(decimalSeparator);
    const auto empty = [&](bool bold) { lines.push_back(PrintLine{{}, bold}); };

    empty(true);
    empty(true);
    lines.push_back(b.Indent().Text("File: ", ';').Text(f.file, '\0').Done(true));
    lines.push_back(b.Indent().Text("Printed: ", ';').Text(f.printed, '\0').Done(true));
    lines.push_back(b.Indent().Text("Comments: ", ',').Text(f.comments, '\0').Done(true));
    empty(true);

    lines.push_back(b.Indent()
                        .Text("Coil 1 current: ", ',')
                        .Number(f.current1, ';')
                        .Text("A", ',')
                        .Text("", ',')
                        .Text("Coil 2 current: ", ',')
                        .Number(f.current2, ';')
                        .Text("A", '\0')
                        .Done(false));
    lines.push_back(b.Indent()
                        .Text("Wire diameter 1: ", ',')
                        .Number(f.dProv1, ';')
                        .Text(" mm", ',')
                        .Text("", ',')
                        .Text("Wire diameter 2: ", ',')
                        .Number(f.dProv2, ';')
                        .Text(" mm", '\0')
                        .Done(false));
    lines.push_back(b.Indent()
                        .Text("Number of turns 1: ", ',')
                        .Text(f.turns1, ',')
                        .Text("", ',')
                        .Text("Number of turns 2: ", ',')
                        .Text(f.turns2, '\0')
                        .Done(false));
    lines.push_back(b.Indent()
                        .Text("Power1: ", ',')
                        .Text(f.power1, ';')
                        .Text(" W", ',')
                        .Text("", ',')
                        .Text("Power2: ", ',')
                        .Text(f.power2, ';')
                        .Text(" W", '\0')
                        .Done(false));
    empty(false);

    const double step = f.gridStep * 1000;
    lines.push_back(b.Indent()
                        .Text("Calculation Grid: ", ',')
                        .Number(f.gridSize, ';')
                        .Text("x", ';')
                        .Number(f.gridSize, '\0')
                        .Done(false));
    lines.push_back(
        b.Indent().Text("Grid step: ", ',').Number(step, ';').Text(" mm", '\0').Done(false));
    lines.push_back(b.Indent()
                        .Text("Grid step on printer: ", ',')
                        .Number(step / f.printScale, ';')
                        .Text(" mm", '\0')
                        .Done(false));
    lines.push_back(b.Indent()
                        .Text("Grid dimension: ", ',')
                        .Single(f.areaSize, ';')
                        .Text(" x ", ';')
                        .Single(f.areaSize, ';')
                        .Text(" mm", '\0')
                        .Done(false));
    lines.push_back(b.Indent()
                        .Text("Print scale: ", ',')
                        .Text("1:", ';')
                        .Single(f.printScale, '\0')
                        .Done(false));
    empty(false);

    lines.push_back(b.Indent()
                        .Text("Iron: ", ',')
                        .Text("Mu=", ';')
                        .Number(f.steelMu, ',')
                        .Text("Bmax=", ';')
                        .Number(f.steelMaxB, ';')
                        .Text(" Tesla", '\0')
                        .Done(false));
    lines.push_back(b.Indent()
                        .Text("Magnet: ", ',')
                        .Text("BHmax=", ';')
                        .Number(f.magBHmax / 1000, ';')
                        .Text(" kJ/m3", ',')
                        .Text("Br=", ';')
                        .Number(f.magBr, ';')
                        .Text(" Tesla", ',')
                        .Text("Hc= ", ';')
                        .Number(f.magHc / 1000, ';')
                        .Text("kA/m", '\0')
                        .Done(false));

    if (!f.figures.empty()) {
        empty(false);
        lines.push_back(b.Indent().Text("Engineering figures of the field:", '\0').Done(false));
    }
    for (const std::string& figure : f.figures) {
        // Lines of the coils run to a hundred characters: they are broken after the comma
        // nearest to kFigureLineLength, the rest indented.
        std::string rest = figure;
        std::string indent;
        while (rest.size() > kFigureLineLength) {
            const std::size_t cut = rest.rfind(", ", kFigureLineLength);
            if (cut == std::string::npos || cut == 0) {
                break;
            }
            lines.push_back(b.Indent().Text(indent + rest.substr(0, cut + 1), '\0').Done(false));
            rest = rest.substr(cut + 2);
            indent = "    ";
        }
        lines.push_back(b.Indent().Text(indent + rest, '\0').Done(false));
    }
    return lines;
}

}  // namespace tesvid
