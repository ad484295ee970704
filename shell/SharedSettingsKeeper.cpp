#include "shell/SharedSettingsKeeper.h"

#include <QSettings>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
const char* const SharedName = "QtProject";
}  // namespace

SharedSettingsKeeper::SharedSettingsKeeper()
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(SharedName));
    for (const QString& key : settings.allKeys())
        before_.insert(key, settings.value(key));
}

SharedSettingsKeeper::~SharedSettingsKeeper()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(SharedName));
    if (before_.isEmpty()) {
        if (settings.allKeys().isEmpty())
            return;
        settings.remove(QString());
        settings.sync();
#ifdef Q_OS_WIN
        // The keys the dialog made, when nothing else is in them.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QtProject\\OrganizationDefaults");
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QtProject");
#endif
        return;
    }
    for (const QString& key : settings.allKeys())
        if (!before_.contains(key))
            settings.remove(key);
    for (auto entry = before_.cbegin(); entry != before_.cend(); ++entry)
        if (settings.value(entry.key()) != entry.value())
            settings.setValue(entry.key(), entry.value());
}
