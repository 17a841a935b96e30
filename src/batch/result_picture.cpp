#include "batch/result_picture.h"

#ifdef TESVID_BATCH_PNG
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "platform/qimage_surface.h"
#include "platform/result_picture_image.h"
#include "view/field_color_map.h"
#include "view/force_lines.h"
#endif

namespace tesvid {

#ifdef TESVID_BATCH_PNG

namespace {

constexpr int kAreaPixels = 400;

// The platform's start-up notes (no runtime directory and the like) are no business of a
// command-line user; real failures still reach standard error.
void KeepSeriousMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

// Text needs a GUI application; the batch tool has none of its own, so one is created on the
// first picture, without a display, and lives to the end of the process.
bool EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tesvid-batch";
    static char* argv[] = {name, nullptr};
    const QtMessageHandler previous = qInstallMessageHandler(KeepSeriousMessages);
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    qInstallMessageHandler(previous);
    return application != nullptr;
}

template <typename T>
bool Fits(const Grid2D<T>& a, int n) {
    return a.Exists() && a.N() == n;
}

}  // namespace

bool ResultPictureSupported() {
    return true;
}

std::optional<std::string> WriteResultPicture(const Model& m, const std::string& path) {
    const int n = m.project.GridSize;
    if (!IsSupportedGridSize(n) || !Fits(m.field.B, n) || !Fits(m.arrays.Material, n) ||
        !Fits(m.arrays.VecPot, n)) {
        return std::string("the model has no evaluated field for its grid");
    }
    if (!EnsureGuiApplication()) {
        return std::string("no graphical application is available to draw text");
    }

    QImageSurface picture1(kAreaPixels, kAreaPixels);
    picture1.SetScale(n, n);
    // The strip is drawn with the picture, beside the area.
    RasterSurface noStrip(1, kAreaPixels);
    ForceLineGrids grids;
    DrawFieldColorMap(m, grids, picture1, noStrip);
    ForceLineObserver quiet;
    DrawForceLines(m, grids, picture1, true, quiet);

    const QImage image = ComposeResultPicture(picture1.Image(), FieldMaximum(m.field.B));
    if (auto failure = WritePngFile(image, QFile::decodeName(path.c_str()))) {
        return failure->toStdString();
    }
    return std::nullopt;
}

#else

bool ResultPictureSupported() {
    return false;
}

std::optional<std::string> WriteResultPicture(const Model&, const std::string&) {
    return std::string("this build cannot write pictures (built without Qt)");
}

#endif

}  // namespace tesvid
