#pragma once

#include <QString>

namespace tesvid {

// Per-user texts addressed by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The stored text, or defaultText when nothing is stored under that address.
    virtual QString Read(const QString& application, const QString& section, const QString& key,
                         const QString& defaultText) = 0;
    // Stores the text, creating the section and key as needed.
    virtual void Write(const QString& application, const QString& section, const QString& key,
                       const QString& text) = 0;
};

// The settings store as an INI file in the user's configuration folder: organisation
// "Vezozo", one file per application, the section as the INI group and the key as its name.
// Values are written as text; a value that the INI syntax reads as a list (an unquoted comma,
// typed in by hand) reads back as the text it was.
class IniSettingsStore : public SettingsStore {
  public:
    static constexpr const char* kOrganisation = "Vezozo";

    QString Read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultText) override;
    void Write(const QString& application, const QString& section, const QString& key,
               const QString& text) override;
};

}  // namespace tesvid
