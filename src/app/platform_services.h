#pragma once

namespace tesvid {

class Clipboard;
class Dialogs;
class HelpViewer;
class SettingsStore;

// The platform services the windows use; the program passes the Qt ones, tests their fakes.
struct PlatformServices {
    Dialogs& dialogs;
    Clipboard& clipboard;
    HelpViewer& help;
    SettingsStore& settings;
};

}  // namespace tesvid
