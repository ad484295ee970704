#include "shell/FileDialogFolder.h"

#include "document/MapModule.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString FileDialogFolder()
{
    if (!MapModule::CurrentFileName.empty()) {
        const QFileInfo map(QString::fromStdString(MapModule::CurrentFileName));
        if (map.absoluteDir().exists())
            return map.absolutePath();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}
