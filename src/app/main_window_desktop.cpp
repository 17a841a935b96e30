// What makes the window a desktop program: the Edit menu, File > Save Picture and Open Recent,
// the keyboard shortcuts, the title with its unsaved-changes mark, and the question before
// unsaved changes are lost.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>

#include "app/main_window.h"
#include "options/options_dialog.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "platform/result_picture_image.h"
#include "platform/settings_store.h"
#include "view/field_color_map.h"

namespace tesvid {

namespace {

const QString kPictureFilter = QStringLiteral("PNG Images (*.png)");
// The recent projects, newest first, one path a line.
const QString kRecentSection = QStringLiteral("Recent");
const QString kRecentKey = QStringLiteral("RecentFiles");
constexpr int kMaxRecentFiles = 8;

}  // namespace

void MainWindow::buildDesktopCommands(QMenuBar* bar, QMenu* file) {
    auto command = [this](QWidget* owner, const char* name, const QString& caption,
                          const QList<QKeySequence>& keys, auto handler) {
        auto* a = new QAction(caption, owner);
        a->setObjectName(name);
        a->setShortcuts(keys);
        owner->addAction(a);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto* edit = new QMenu(tr("&Edit"), bar);
    edit->setObjectName("editMenu");
    bar->insertMenu(bar->findChild<QMenu*>("copyMenu")->menuAction(), edit);
    undoAction_ = command(edit, "undoAction", tr("&Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                          [this] { onUndo(); });
    redoAction_ = command(
        edit, "redoAction", tr("&Redo"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        [this] { onRedo(); });
    updateUndoCommands();

    // File: Open Recent after Open Project, Save Picture after Save Project.
    auto named = [this](const char* name) { return findChild<QAction*>(name); };
    recentMenu_ = new QMenu(tr("Open &Recent"), file);
    recentMenu_->setObjectName("recentMenu");
    file->insertMenu(named("saveProjectAction"), recentMenu_);
    QAction* savePicture =
        command(file, "savePictureAction", tr("Save P&icture"), {}, [this] { onSavePicture(); });
    file->insertAction(named("exportTextAction"), savePicture);

    // The keys of the existing commands, and RUN and Stop, which have no menu entry.
    const struct {
        const char* action;
        QKeySequence key;
    } keys[] = {{"newProjectAction", QKeySequence(Qt::CTRL | Qt::Key_N)},
                {"openProjectAction", QKeySequence(Qt::CTRL | Qt::Key_O)},
                {"saveProjectAction", QKeySequence(Qt::CTRL | Qt::Key_S)},
                {"printAction", QKeySequence(Qt::CTRL | Qt::Key_P)},
                {"exitAction", QKeySequence(Qt::CTRL | Qt::Key_Q)},
                {"helpAction", QKeySequence(Qt::Key_F1)}};
    for (const auto& k : keys) {
        named(k.action)->setShortcut(k.key);
    }
    command(this, "runAction", tr("RUN"), {QKeySequence(Qt::Key_F5)}, [this] { onRun(); });
    command(this, "stopAction", tr("Stop"), {QKeySequence(Qt::Key_Escape)}, [this] {
        if (busy_) {
            onStop();
        }
    });

    // Typed changes of the currents count as changes of the project.
    for (const CoilColumn& column : coils_) {
        connect(column.current, &QLineEdit::textEdited, this, &MainWindow::markUnsaved);
        connect(column.slider, &QSlider::valueChanged, this, &MainWindow::markUnsaved);
    }

    const QString stored =
        services_.settings.Read(OptionsDialog::kApplication, kRecentSection, kRecentKey, QString());
    recentFiles_ = stored.split('\n', Qt::SkipEmptyParts).mid(0, kMaxRecentFiles);
    showRecentFiles();
    updateTitle();
}

void MainWindow::onSavePicture() {
    if (busy_) {
        return;
    }
    if (!editorMode_) {
        // The probe's cross-hair is taken off first, as for Copy > Picture.
        onDrawingMoved(Qt::NoButton, QPointF(-1, -1));
    }
    const QImage area = drawingArea_->Surface().Snapshot();
    // A result's colour map is saved with its scale, as tesvid-batch --png draws it.
    const bool withScale = !editorMode_ && drawFieldCheck_->isChecked() &&
                           model_.field.B.Exists() && model_.field.B.N() == model_.project.GridSize;
    const QImage picture = withScale ? ComposeResultPicture(area, FieldMaximum(model_.field.B),
                                                            LocaleDecimalSeparator())
                                     : area;
    const auto chosen = askSaveName(tr("Save Picture As"), kPictureFilter);
    if (!chosen) {
        return;
    }
    if (auto error = WritePngFile(picture, *chosen)) {
        reportWriteFailure(tr("The picture"), *chosen, error->toStdString());
    }
}

void MainWindow::onOpenRecent(const QString& path) {
    if (busy_) {
        return;
    }
    if (!QFileInfo::exists(path)) {
        recentFiles_.removeAll(path);
        services_.settings.Write(OptionsDialog::kApplication, kRecentSection, kRecentKey,
                                 recentFiles_.join('\n'));
        showRecentFiles();
        services_.dialogs.Message(this, kProgramName,
                                  tr("%1 no longer exists. It has been taken off the recent "
                                     "projects.")
                                      .arg(QDir::toNativeSeparators(path)),
                                  MessageIcon::Information);
        return;
    }
    if (!maySaveChanges()) {
        return;
    }
    fileDialogName_ = path;
    openProjectFile(path);
}

void MainWindow::rememberRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recentFiles_.removeAll(absolute);
    recentFiles_.prepend(absolute);
    recentFiles_ = recentFiles_.mid(0, kMaxRecentFiles);
    services_.settings.Write(OptionsDialog::kApplication, kRecentSection, kRecentKey,
                             recentFiles_.join('\n'));
    showRecentFiles();
}

void MainWindow::showRecentFiles() {
    // The entries may be replaced by one of them being triggered: they are deleted later.
    for (QAction* old : recentMenu_->actions()) {
        recentMenu_->removeAction(old);
        old->deleteLater();
    }
    for (int k = 0; k < recentFiles_.size(); ++k) {
        const QString path = recentFiles_[k];
        auto* a =
            new QAction(QStringLiteral("&%1 %2").arg(k + 1).arg(
                            QDir::toNativeSeparators(path).replace('&', QStringLiteral("&&"))),
                        recentMenu_);
        a->setObjectName(QStringLiteral("recentFileAction%1").arg(k + 1));
        recentMenu_->addAction(a);
        connect(a, &QAction::triggered, this, [this, path] { onOpenRecent(path); });
    }
    recentMenu_->setEnabled(!recentFiles_.isEmpty());
}

void MainWindow::markUnsaved() {
    if (!unsaved_) {
        unsaved_ = true;
        updateTitle();
    }
}

void MainWindow::setProjectFile(const QString& path) {
    projectFile_ = path;
    unsaved_ = false;
    if (!path.isEmpty()) {
        rememberRecentFile(path);
    }
    updateTitle();
}

void MainWindow::updateTitle() {
    const QString name =
        projectFile_.isEmpty() ? tr("Untitled") : QFileInfo(projectFile_).fileName();
    setWindowTitle(QStringLiteral("%1%2 - %3")
                       .arg(unsaved_ ? QStringLiteral("*") : QString(), name,
                            QString::fromLatin1(kProgramName)));
}

bool MainWindow::maySaveChanges() {
    if (!unsaved_) {
        return true;
    }
    const QString name =
        projectFile_.isEmpty() ? tr("Untitled") : QFileInfo(projectFile_).fileName();
    switch (services_.dialogs.AskSaveChanges(
        this, kProgramName,
        tr("The project %1 has changes that are not saved.\nSave them?").arg(name))) {
        case SaveChoice::Save:
            onSaveProject();
            return !unsaved_;
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

}  // namespace tesvid
