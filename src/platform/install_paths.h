#pragma once

#include <QString>

namespace tesvid {

// The data that travels with the program.
enum class ShippedData {
    Samples,  // the folder of sample projects
    Help,     // the HTML help file
};

// Where the program finds its shipped data, given the folder of its executable: beside the
// executable, as the build tree lays it out ("Samples/", "help/tesvid.html"), else in the
// installed share folders found relative to the executable ("../share/tesvid/samples/",
// "../share/doc/tesvid/html/tesvid.html"), so that an installed tree works wherever it is
// moved. When neither exists, the place beside the executable. A folder's path ends with '/'.
QString ShippedDataPath(ShippedData what, const QString& programDir);

}  // namespace tesvid
