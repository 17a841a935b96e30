#pragma once

#include <QFont>

namespace tesvid {

// The windows' font: a small sans-serif face sized in pixels, so that the fixed layouts of the
// main window and the options dialog hold their captions on any screen.
QFont UiFont(int pixelSize = 11, bool bold = false);

}  // namespace tesvid
