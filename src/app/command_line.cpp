#include "app/command_line.h"

namespace tesvid {

QString ProjectPathFromCommandLine(const QStringList& arguments) {
    QString text = arguments.join(QLatin1Char(' '));
    if (text.startsWith(QLatin1Char('"'))) {
        text.remove(0, 1);
    }
    if (text.endsWith(QLatin1Char('"'))) {
        text.chop(1);
    }
    return text;
}

}  // namespace tesvid
