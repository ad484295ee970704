#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

// Qt's file dialog keeps its state (history, last folder, view) in the
// settings that all Qt programs share, when it closes. Where those settings
// are a file, the application points them at a path that cannot be written;
// the registry of Windows takes no path, so a keeper made before the dialog
// puts back, when it goes after the dialog, what the dialog wrote there.
class SharedSettingsKeeper {
public:
    SharedSettingsKeeper();
    ~SharedSettingsKeeper();
    SharedSettingsKeeper(const SharedSettingsKeeper&) = delete;
    SharedSettingsKeeper& operator=(const SharedSettingsKeeper&) = delete;

private:
    QMap<QString, QVariant> before_;
};
