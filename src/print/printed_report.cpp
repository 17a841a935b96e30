#include "print/printed_report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "model/number_format.h"
#include "platform/number_text.h"
#include "platform/painter_surface.h"
#include "print/report_drawing.h"

namespace tesvid {

namespace {

QFont ReportFont(bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(10);
    font.setBold(bold);
    return font;
}

// Writes the lines from the device point `start`: the first line begins at start.x(), every
// later one at the left margin; ',' moves to the next print zone (kPrintZoneColumns average
// character widths each, counted from the left margin).
void PrintTextBlock(QPainter& painter, QPrinter& printer, QPointF start,
                    const std::vector<PrintLine>& lines) {
    double y = start.y();
    bool first = true;
    for (const PrintLine& line : lines) {
        const QFont font = ReportFont(line.bold);
        painter.setFont(font);
        const QFontMetricsF metrics(font, &printer);
        const double zone = kPrintZoneColumns * metrics.averageCharWidth();
        double x = first ? start.x() : 0.0;
        first = false;
        for (const PrintItem& item : line.items) {
            const QString text =
                QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size()));
            if (!text.isEmpty()) {
                painter.drawText(QPointF(x, y + metrics.ascent()), text);
                x += metrics.horizontalAdvance(text);
            }
            if (item.separator == ',' && zone > 0) {
                x = (std::floor(x / zone + 1e-9) + 1) * zone;
            }
        }
        y += metrics.height();
    }
}

}  // namespace

bool PrintReport(Model& m, QPrinter& printer, const ReportFigures& figures,
                 ForceLineObserver& observer, bool colorReport) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QRectF paper = printer.paperRect(QPrinter::Millimeter);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    PainterSurface page(painter, QRectF(0, 0, printable.width(), printable.height()),
                        printer.resolution());
    const ReportScale scale = ComputeReportScale(paper.width(), paper.height(), m.project.GridSize,
                                                 m.project.PrintScale, m.project.AreaSize);
    page.SetScale(scale.left, scale.top, scale.width, scale.height);

    if (colorReport) {
        DrawColorReportArea(m, page, observer, LocaleDecimalSeparator());
    } else {
        DrawReportArea(m, page, observer);
    }

    painter.setPen(Qt::black);
    PrintTextBlock(painter, printer, page.ToDevice(0, m.project.GridSize),
                   ReportLines(figures, LocaleDecimalSeparator()));
    return painter.end();
}

}  // namespace tesvid
