#include "platform/install_paths.h"

#include <QDir>
#include <QFileInfo>

// TESVID_INSTALLED_SAMPLES and TESVID_INSTALLED_HELP: the installed places relative to the
// installed executable, set by the build from the install layout.

namespace tesvid {

QString ShippedDataPath(ShippedData what, const QString& programDir) {
    const bool folder = what == ShippedData::Samples;
    const QDir dir(programDir);
    const QString beside = dir.filePath(folder ? "Samples" : "help/tesvid.html");
    const QString installed =
        QDir::cleanPath(dir.filePath(folder ? TESVID_INSTALLED_SAMPLES : TESVID_INSTALLED_HELP));
    const auto found = [folder](const QString& path) {
        const QFileInfo info(path);
        return folder ? info.isDir() : info.isFile();
    };
    const QString& path = !found(beside) && found(installed) ? installed : beside;
    return folder ? path + '/' : path;
}

}  // namespace tesvid
