// Tesvid: the program's start-up (Main).

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

    tesvid::QtDialogs dialogs;
    tesvid::QtClipboard clipboard;
    tesvid::HelpWindowViewer help(tesvid::InstalledHelpFile());
    tesvid::IniSettingsStore settings;

    // Creating the window runs Form_Load; closing it runs Form_Unload.
    tesvid::MainWindow window({dialogs, clipboard, help, settings});
    QObject::connect(&window, &tesvid::MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();

    const QString path = tesvid::ProjectPathFromCommandLine(QApplication::arguments().mid(1));
    if (!path.isEmpty()) {
        window.FileOpen(true, path);
    }
    return QApplication::exec();
}
