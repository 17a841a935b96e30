// The file commands: Open Sample, Open Project, Save Project, Export to TEXT, Print, and
// FileOpen for a project named on the command line.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>

#include "app/busy_scope.h"
#include "app/main_window.h"
#include "io/project_file.h"
#include "io/text_table.h"
#include "platform/dialogs.h"
#include "platform/float_progress_bar.h"
#include "platform/install_paths.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "print/printed_report.h"
#include "solver/material_map.h"
#include "solver/material_sampling.h"

namespace tesvid {

// The state the file commands share: the one file dialog's last name, and the project's file
// (the one last opened or saved), which the printed report names.
struct FileCommands {
    QString dialogName;
    QString projectFile;
};

void FileCommandsDeleter::operator()(FileCommands* files) const {
    delete files;
}

namespace {

constexpr const char* kTitle = "Tesvid";
const QString kProjectFilter = QStringLiteral("Tesvid Files (*.tvd)");
const QString kOpenFilter = QStringLiteral("Tesvid Files (*.tvd);;All Files (*)");
const QString kTextFilter = QStringLiteral("Text Files (*.txt)");

FileCommands& Files(std::unique_ptr<FileCommands, FileCommandsDeleter>& files) {
    if (!files) {
        files.reset(new FileCommands);
    }
    return *files;
}

// The save dialog of the shared file dialog: the chosen name, remembered for the next dialog.
std::optional<QString> AskSaveName(Dialogs& dialogs, QWidget* owner, FileCommands& files,
                                   const QString& title, const QString& filter) {
    const auto chosen = dialogs.SaveFileName(owner, title, filter, files.dialogName);
    if (!chosen || chosen->isEmpty()) {
        return std::nullopt;
    }
    files.dialogName = *chosen;
    return chosen;
}

void ReportWriteFailure(Dialogs& dialogs, QWidget* owner, const QString& what, const QString& path,
                        const std::string& reason) {
    dialogs.Message(owner, kTitle,
                    QStringLiteral("%1 could not be written to %2:\n%3")
                        .arg(what, QDir::toNativeSeparators(path), QString::fromStdString(reason)),
                    MessageIcon::Exclamation);
}

// The report's bar and a pass of the event loop after every column of seeds.
class PrintProgress : public ForceLineObserver {
  public:
    explicit PrintProgress(FloatProgressBar& bar) : bar_(bar) {}
    void SetProgressFraction(double fraction) override {
        bar_.SetValue(bar_.Maximum() * fraction);
        QCoreApplication::processEvents();
    }

  private:
    FloatProgressBar& bar_;
};

}  // namespace

void MainWindow::mnuFileSample_Click() {
    Files(fileCommands_).dialogName =
        ShippedDataPath(ShippedData::Samples, QCoreApplication::applicationDirPath());
    mnuFileOpen_Click();
}

void MainWindow::mnuFileOpen_Click() {
    FileOpen(false, QString());
}

void MainWindow::FileOpen(bool noDialog, const QString& filename) {
    if (calculating_) {
        return;
    }
    FileCommands& files = Files(fileCommands_);
    QString path = filename;
    if (!noDialog) {
        const auto chosen = services_.dialogs.OpenFileName(this, QStringLiteral("Open"),
                                                           kOpenFilter, files.dialogName);
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        path = *chosen;
        files.dialogName = path;
    }
    if (path.isEmpty()) {
        return;
    }

    // A file the reader refuses leaves the project on show exactly as it was.
    ProjectReadResult read = ReadProjectFile(QFile::encodeName(path).toStdString());
    if (!read.project) {
        services_.dialogs.Message(this, kTitle, QStringLiteral("Invalid File Format"),
                                  MessageIcon::None);
        return;
    }

    setWindowTitle(QStringLiteral("Tesvid - ") + path);
    files.projectFile = path;
    ApplyProject(model_, std::move(*read.project));
    Label4->setText(GeneralQTextSingle(model_.project.AreaSize));
    QImageSurface& area = Picture1->Surface();
    area.SetScale(model_.project.GridSize, model_.project.GridSize);
    area.SetPenWidth(PenWidthFor(model_.project.GridSize));
    TextCurrent1->setText(GeneralQText(model_.project.Current1));
    TextCurrent2->setText(GeneralQText(model_.project.Current2));
    // The picture is replaced: no cross-hair is on it any more.
    pointer_.LastX = -1;
    pointer_.LastY = -1;
    RestoreDrawing();
}

void MainWindow::mnuFileSave_Click() {
    if (calculating_) {
        return;
    }
    FileCommands& files = Files(fileCommands_);
    if (editorMode_) {
        // The drawing may have changed since the last map: the file gets the drawing as it is
        // now, with a zero potential.
        BuildMaterialMap(model_, SampleMaterial(Picture1->Surface(), model_.project.GridSize));
    }
    const auto chosen = AskSaveName(services_.dialogs, this, files,
                                    QStringLiteral("Save Project As"), kProjectFilter);
    if (!chosen) {
        return;
    }
    if (auto error =
            WriteProjectFile(QFile::encodeName(*chosen).toStdString(), ProjectFromModel(model_))) {
        ReportWriteFailure(services_.dialogs, this, QStringLiteral("The project"), *chosen, *error);
        return;
    }
    setWindowTitle(QStringLiteral("Tesvid - ") + *chosen);
    files.projectFile = *chosen;
}

void MainWindow::mnuFileExportText_Click() {
    if (calculating_) {
        return;
    }
    if (editorMode_) {
        services_.dialogs.Message(this, kTitle, QStringLiteral("Nothing to save"),
                                  MessageIcon::None);
        return;
    }
    const auto chosen = AskSaveName(services_.dialogs, this, Files(fileCommands_),
                                    QStringLiteral("Save Field As TEXT"), kTextFilter);
    if (!chosen) {
        return;
    }
    const char separator = QLocale().decimalPoint().at(0).toLatin1();
    if (auto error = WriteFieldTable(QFile::encodeName(*chosen).toStdString(), model_,
                                     separator ? separator : '.')) {
        ReportWriteFailure(services_.dialogs, this, QStringLiteral("The field"), *chosen, *error);
    }
}

void MainWindow::mnuFilePrint_Click() {
    if (calculating_) {
        return;
    }
    if (editorMode_) {
        services_.dialogs.Message(this, kTitle, QStringLiteral("Nothing to print"),
                                  MessageIcon::None);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!services_.dialogs.PrintSetup(this, printer, QStringLiteral("Print Magnetic Field"))) {
        return;
    }

    ReportFigures figures;
    figures.file = QDir::toNativeSeparators(Files(fileCommands_).projectFile).toStdString();
    figures.printed =
        QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString();
    figures.comments =
        QString::fromLatin1(model_.project.Comments.data(), static_cast<qsizetype>(model_.project.Comments.size()))
            .toStdString();
    figures.current1 = model_.project.Current1;
    figures.current2 = model_.project.Current2;
    figures.dProv1 = model_.project.WireDiameter1;
    figures.dProv2 = model_.project.WireDiameter2;
    figures.turns1 = TextVit1->text().toStdString();
    figures.turns2 = TextVit2->text().toStdString();
    figures.power1 = TextPower1->text().toStdString();
    figures.power2 = TextPower2->text().toStdString();
    figures.gridSize = model_.project.GridSize;
    figures.gridStep = model_.project.GridStep;
    figures.areaSize = model_.project.AreaSize;
    figures.printScale = model_.project.PrintScale;
    figures.steelMu = model_.project.SteelMu;
    figures.steelMaxB = model_.project.SteelSaturationB;
    figures.magBHmax = model_.project.MagBHmax;
    figures.magBr = model_.project.MagBr;
    figures.magHc = model_.project.MagHc;

    {
        // The report yields to the event loop: commands that would replace its arrays wait.
        BusyScope busy(calculating_);
        PrintProgress progress(*ProgressProgress);
        PrintReport(model_, printer, figures, progress);
    }
    if (closeAfterRun_ && !calculating_) {
        closeAfterRun_ = false;
        close();
    }
}

}  // namespace tesvid
