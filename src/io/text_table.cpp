#include "io/text_table.h"

#include <string_view>

#include "io/atomic_file.h"
#include "model/number_format.h"

namespace tesvid {
namespace {

constexpr std::size_t kZoneWidth = kPrintZoneColumns;

// Appends the items of one line in print zones and ends the line.
class LineWriter {
  public:
    explicit LineWriter(std::string& out) : out_(out), lineStart_(out.size()) {}

    void Item(std::string_view text) {
        const std::size_t column = out_.size() - lineStart_;  // 0-based column of the next char
        if (column > 0) {
            const std::size_t next = (column + kZoneWidth - 1) / kZoneWidth * kZoneWidth;
            out_.append(next - column, ' ');
        }
        out_.append(text);
    }
    void End() {
        out_.append("\r\n");
        lineStart_ = out_.size();
    }

  private:
    std::string& out_;
    std::size_t lineStart_;
};

float FieldAt(const Grid2D<float>& field, int i, int j) {
    return field.Contains(i, j) ? field(i, j) : 0.0f;
}

}  // namespace

std::string FormatFieldTable(const Model& m, char decimalSeparator) {
    int n = m.project.GridSize;
    double step = m.project.GridStep;
    if (m.field.B.Exists() && m.field.B.N() != m.project.GridSize) {
        n = m.field.B.N();
        step = static_cast<double>(m.project.AreaSize) * 0.001 / n;
    }

    std::string out;
    const std::size_t lines = n > 1 ? static_cast<std::size_t>(n - 1) * (n - 1) : 0;
    out.reserve(72 + lines * 66);
    LineWriter line(out);
    for (const char* heading : {"R, mm", "Z, mm", "Br, Tesla", "Bz, Tesla", "Bmodule, Tesla"}) {
        line.Item(heading);
    }
    line.End();

    for (int i = 1; i <= n - 1; ++i) {
        const std::string r = PrintForm(i * step * 1000, true, decimalSeparator);
        for (int j = 1; j <= n - 1; ++j) {
            line.Item(r);
            line.Item(PrintForm(j * step * 1000, true, decimalSeparator));
            line.Item(FormatScientific3(FieldAt(m.field.Br, i, j), decimalSeparator));
            line.Item(FormatScientific3(FieldAt(m.field.Bz, i, j), decimalSeparator));
            line.Item(FormatScientific3(FieldAt(m.field.B, i, j), decimalSeparator));
            line.End();
        }
    }
    return out;
}

std::optional<std::string> WriteFieldTable(const std::string& path, const Model& m,
                                           char decimalSeparator) {
    const std::string table = FormatFieldTable(m, decimalSeparator);
    return WriteFileAtomically(path, table.data(), table.size());
}

}  // namespace tesvid
