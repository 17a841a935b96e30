#include "platform/help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

#include "platform/install_paths.h"
#include "platform/dialogs.h"

namespace tesvid {

void ShowHelp(HelpViewer& help, Dialogs& dialogs, QWidget* owner, int context) {
    if (help.HelpFile().isEmpty()) {
        dialogs.Message(owner, owner->windowTitle(),
                        QCoreApplication::translate("tesvid::HelpViewer",
                                                    "Unable to display Help Contents. There is no "
                                                    "Help associated with this project."),
                        MessageIcon::Information);
        return;
    }
    if (auto error = help.Show(owner, context)) {
        dialogs.Message(owner, kProgramName, *error, MessageIcon::None);
    }
}

QString InstalledHelpFile() {
    return ShippedDataPath(ShippedData::Help, QCoreApplication::applicationDirPath());
}

HelpWindowViewer::HelpWindowViewer(QString file) : file_(std::move(file)) {}

HelpWindowViewer::~HelpWindowViewer() {
    if (window_ && !window_->parent()) {
        delete window_.data();
    }
}

void HelpWindowViewer::Close() {
    if (window_) {
        window_->close();
    }
}

QString HelpWindowViewer::HelpFile() const {
    return QFileInfo::exists(file_) ? file_ : QString();
}

std::optional<QString> HelpWindowViewer::Show(QWidget* owner, int context) {
    QFile file(file_);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Cannot open the help file %1: %2")
            .arg(QDir::toNativeSeparators(file_), file.errorString());
    }
    QString anchor;
    if (context != 0) {
        anchor = QStringLiteral("context-%1").arg(context);
        const QByteArray text = file.readAll();
        if (!text.contains(("\"" + anchor + "\"").toUtf8())) {
            return QStringLiteral("The help file has no topic %1.").arg(context);
        }
    }
    // The window belongs to the window that asked, so that it works beside a modal dialog
    // and closes with the program.
    if (!window_) {
        window_ = new QTextBrowser(owner);
        window_->setObjectName("HelpWindow");
        window_->setWindowFlag(Qt::Window);
        window_->setOpenExternalLinks(true);
        window_->resize(640, 560);
    } else if (window_->parentWidget() != owner) {
        const bool visible = window_->isVisible();
        const QRect place = window_->geometry();
        window_->setParent(owner, Qt::Window);
        window_->setGeometry(place);
        window_->setVisible(visible);
    }
    QUrl url = QUrl::fromLocalFile(QFileInfo(file_).absoluteFilePath());
    window_->setSource(url);
    window_->setWindowTitle(window_->documentTitle().isEmpty() ? QStringLiteral("Tesvid Help")
                                                               : window_->documentTitle());
    if (!anchor.isEmpty()) {
        window_->scrollToAnchor(anchor);
    } else {
        window_->moveCursor(QTextCursor::Start);
        window_->ensureCursorVisible();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return std::nullopt;
}

}  // namespace tesvid
