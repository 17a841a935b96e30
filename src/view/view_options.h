#pragma once

namespace tesvid {

// How the result is shown, as chosen in the options dialog; owned by the main window.
struct ViewOptions {
    bool showIntermediate = false;   // the potential view after every solver pass
    bool showCrossSections = true;   // the cross-hair and the two distribution windows
    bool colorReport = false;        // Print gives the colour report, not the line report
};

}  // namespace tesvid
