#include "shell/QtShownPath.h"

#include <QDir>
#include <QFileInfo>

std::string QtShownPath::ShownPath(const std::string& path) const
{
    if (path.empty())
        return path;
    const QString full = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    return QDir::toNativeSeparators(full).toStdString();
}
