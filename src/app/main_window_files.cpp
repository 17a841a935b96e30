// The file commands: New Project, Open Sample, Open Project (and a project named on the
// command line), Save Project, Export to TEXT, Print.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <algorithm>

#include "app/busy_scope.h"
#include "app/figures_window.h"
#include "app/main_window.h"
#include "io/project_file.h"
#include "io/text_table.h"
#include "platform/dialogs.h"
#include "platform/float_progress_bar.h"
#include "platform/install_paths.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "print/printed_report.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver/material_sampling.h"

namespace tesvid {

namespace {

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

// A project saved with a result holds its potential; one saved while editing holds zeros.
bool HoldsField(const Grid2D<double>& vecPot) {
    const std::vector<double>& values = vecPot.Vector();
    return std::any_of(values.begin(), values.end(), [](double a) { return a != 0; });
}

}  // namespace

void MainWindow::onNewProject() {
    if (busy_ || !maySaveChanges()) {
        return;
    }
    QImageSurface& area = drawingArea_->Surface();
    area.SetBackColor(kVacuumColor);
    area.Clear();
    forgetCrossHair();
    drawingArea_->update();
    clearHistory();
    setProjectFile(QString());
}

void MainWindow::onOpenSample() {
    if (busy_) {
        return;
    }
    fileDialogName_ =
        ShippedDataPath(ShippedData::Samples, QCoreApplication::applicationDirPath());
    onOpenProject();
}

void MainWindow::onOpenProject() {
    if (busy_ || !maySaveChanges()) {
        return;
    }
    const auto chosen = services_.dialogs.OpenFileName(
        this, tr("Open"), tr("Tesvid Files (*.tvd);;All Files (*)"), fileDialogName_);
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    fileDialogName_ = *chosen;
    openProjectFile(*chosen);
}

void MainWindow::openProject(const QString& path) {
    if (!busy_ && !path.isEmpty() && maySaveChanges()) {
        openProjectFile(path);
    }
}

void MainWindow::openProjectFile(const QString& path) {
    // A file the reader refuses leaves the project on show exactly as it was.
    ProjectReadResult read = ReadProjectFile(QFile::encodeName(path).toStdString());
    if (!read.project) {
        services_.dialogs.Message(
            this, kProgramName,
            QStringLiteral("%1\n%2: %3")
                .arg(QString::fromStdString(read.error), QDir::toNativeSeparators(path),
                     QString::fromStdString(read.detail)),
            MessageIcon::None);
        return;
    }
    setProjectFile(path);
    clearHistory();
    pendingGrid_.reset();
    ApplyProject(model_, std::move(*read.project));
    refreshFigures(false);
    fitDrawingAreaToGrid();
    coils_[0].current->setText(GeneralQText(model_.project.Current1));
    coils_[1].current->setText(GeneralQText(model_.project.Current2));
    for (int coil = 0; coil < 2; ++coil) {
        moveSliderToCurrent(coil);
    }
    CoilFigures coil1, coil2;
    ComputeCoilFigures(model_.arrays.Material, coilInputs(model_.project), coil1, coil2);
    showCoilPanel(coil1, coil2);
    // With a result on show, the opened project's own result takes its place.
    if (!editorMode_ && HoldsField(model_.arrays.VecPot)) {
        showResultView();
    } else {
        enterEditingView();
    }
}

std::optional<QString> MainWindow::askSaveName(const QString& title, const QString& filter) {
    // The dialog offers the last file's name with this type's suffix (never a project's name
    // for a picture), and a name typed without a suffix gets it.
    const QString suffix = FilterSuffix(filter);
    QString initialName = fileDialogName_;
    const QFileInfo last(initialName);
    if (!suffix.isEmpty() && !last.suffix().isEmpty() && last.suffix() != suffix && !last.isDir()) {
        initialName = last.dir().filePath(last.completeBaseName() + '.' + suffix);
    }
    auto chosen = services_.dialogs.SaveFileName(this, title, filter, initialName);
    if (!chosen || chosen->isEmpty()) {
        return std::nullopt;
    }
    if (!suffix.isEmpty() && QFileInfo(*chosen).suffix().isEmpty()) {
        *chosen += '.' + suffix;
    }
    fileDialogName_ = *chosen;
    return chosen;
}

void MainWindow::reportWriteFailure(const QString& what, const QString& path,
                                    const std::string& reason) {
    services_.dialogs.Message(
        this, kProgramName,
        tr("%1 could not be written to %2:\n%3")
            .arg(what, QDir::toNativeSeparators(path), QString::fromStdString(reason)),
        MessageIcon::Exclamation);
}

void MainWindow::onSaveProject() {
    if (busy_) {
        return;
    }
    if (editorMode_) {
        // The drawing may have changed since the last map: the file gets the drawing as it is
        // now, with a zero potential.
        BuildMaterialMap(model_, SampleMaterial(drawingArea_->Surface(), model_.project.GridSize));
    }
    const auto chosen = askSaveName(tr("Save Project As"), tr("Tesvid Files (*.tvd)"));
    if (!chosen) {
        return;
    }
    if (auto error =
            WriteProjectFile(QFile::encodeName(*chosen).toStdString(), ProjectFromModel(model_))) {
        reportWriteFailure(tr("The project"), *chosen, *error);
        return;
    }
    setProjectFile(*chosen);
}

void MainWindow::onExportText() {
    if (busy_) {
        return;
    }
    if (editorMode_) {
        services_.dialogs.Message(this, kProgramName, tr("Nothing to save"), MessageIcon::None);
        return;
    }
    const auto chosen = askSaveName(tr("Save Field As TEXT"), tr("Text Files (*.txt)"));
    if (!chosen) {
        return;
    }
    if (auto error = WriteFieldTable(QFile::encodeName(*chosen).toStdString(), model_,
                                     LocaleDecimalSeparator())) {
        reportWriteFailure(tr("The field"), *chosen, *error);
    }
}

void MainWindow::onPrint() {
    if (busy_) {
        return;
    }
    if (editorMode_) {
        services_.dialogs.Message(this, kProgramName, tr("Nothing to print"), MessageIcon::None);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!services_.dialogs.PrintSetup(this, printer, tr("Print Magnetic Field"))) {
        return;
    }

    const Project& p = model_.project;
    ReportFigures figures;
    figures.file = QDir::toNativeSeparators(projectFile_).toStdString();
    figures.printed =
        QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString();
    figures.comments =
        QString::fromLatin1(p.Comments.data(), static_cast<qsizetype>(p.Comments.size()))
            .toStdString();
    figures.current1 = p.Current1;
    figures.current2 = p.Current2;
    figures.dProv1 = p.WireDiameter1;
    figures.dProv2 = p.WireDiameter2;
    figures.turns1 = coils_[0].turns->text().toStdString();
    figures.turns2 = coils_[1].turns->text().toStdString();
    figures.power1 = coils_[0].power->text().toStdString();
    figures.power2 = coils_[1].power->text().toStdString();
    figures.gridSize = p.GridSize;
    figures.gridStep = p.GridStep;
    figures.areaSize = p.AreaSize;
    figures.printScale = p.PrintScale;
    figures.steelMu = p.SteelMu;
    figures.steelMaxB = p.SteelSaturationB;
    figures.magBHmax = p.MagBHmax;
    figures.magBr = p.MagBr;
    figures.magHc = p.MagHc;
    figures.figures = figuresWindow_->Lines();

    bool printed = false;
    {
        // The report yields to the event loop: commands that would replace its arrays wait.
        BusyScope busy(busy_);
        PrintProgress progress(*progressBar_);
        printed = PrintReport(model_, printer, figures, progress, viewOptions_.colorReport);
    }
    if (!printed) {
        const QString device = printer.outputFileName().isEmpty()
                                   ? printer.printerName()
                                   : QDir::toNativeSeparators(printer.outputFileName());
        services_.dialogs.Message(this, kProgramName,
                                  tr("The report could not be printed on %1.").arg(device),
                                  MessageIcon::Exclamation);
    }
    closeIfAsked();
}

}  // namespace tesvid
