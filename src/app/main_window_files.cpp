// The file commands: Open Sample, Open Project, Save Project, Export to TEXT, Print, and
// FileOpen for a project named on the command line.

#include "app/main_window.h"

namespace tesvid {

struct FileCommands {};

void FileCommandsDeleter::operator()(FileCommands* files) const {
    delete files;
}

void MainWindow::mnuFileSample_Click() {}

void MainWindow::mnuFileOpen_Click() {}

void MainWindow::mnuFileSave_Click() {}

void MainWindow::mnuFileExportText_Click() {}

void MainWindow::mnuFilePrint_Click() {}

void MainWindow::FileOpen(bool /*noDialog*/, const QString& /*filename*/) {}

}  // namespace tesvid
