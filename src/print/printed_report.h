#pragma once

#include "model/model.h"
#include "print/report_lines.h"
#include "view/force_lines.h"

class QPrinter;

namespace tesvid {

// Prints the one-page report of the result in the model on a printer that is ready (its
// dialog already confirmed): the area at 1:PrintScale with the reference grid, force lines and
// cell outlines (or, for the colour report, the colour map, its scale and the force lines:
// DrawColorReportArea), then the text block in a serif face ("Times New Roman" or the closest one),
// its numbers with the locale's decimal separator. Returns false when the printer cannot be
// started or finished.
bool PrintReport(Model& m, QPrinter& printer, const ReportFigures& figures,
                 ForceLineObserver& observer, bool colorReport = false);

}  // namespace tesvid
