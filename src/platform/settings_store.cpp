#include "platform/settings_store.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace tesvid {
namespace {

QString GroupKey(const QString& section, const QString& key) {
    return section + '/' + key;
}

}  // namespace

QString IniSettingsStore::Read(const QString& application, const QString& section,
                               const QString& key, const QString& defaultText) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, application);
    const QVariant value = settings.value(GroupKey(section, key));
    if (!value.isValid()) {
        return defaultText;
    }
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(',');
    }
    return value.toString();
}

void IniSettingsStore::Write(const QString& application, const QString& section, const QString& key,
                             const QString& text) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, application);
    settings.setValue(GroupKey(section, key), text);
    settings.sync();
}

}  // namespace tesvid
