// Tesvid: the program's start-up.

#include <QApplication>

#include "app/command_line.h"
#include "app/main_window.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "platform/settings_store.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tesvid");
    QApplication::setOrganizationName("Vezozo");
    // The installed desktop entry's id: desktops match the window to its icon.
    QGuiApplication::setDesktopFileName("org.vezozo.Tesvid");

    tesvid::QtDialogs dialogs;
    tesvid::QtClipboard clipboard;
    tesvid::HelpWindowViewer help(tesvid::InstalledHelpFile());
    tesvid::IniSettingsStore settings;

    // The window reads the settings when it is created and writes them when it closes.
    tesvid::MainWindow window({dialogs, clipboard, help, settings});
    QObject::connect(&window, &tesvid::MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();

    window.openProject(tesvid::ProjectPathFromCommandLine(QApplication::arguments().mid(1)));
    return QApplication::exec();
}
