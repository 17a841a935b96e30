#pragma once

#include <QString>
#include <QStringList>

namespace tesvid {

// The project path named on the command line (the arguments after the program's name): the
// arguments joined by single spaces into one text, then one leading and one trailing double
// quote dropped. Nothing else is stripped or split. Empty when no project is named.
QString ProjectPathFromCommandLine(const QStringList& arguments);

}  // namespace tesvid
