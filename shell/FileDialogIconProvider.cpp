#include "shell/FileDialogIconProvider.h"

#include <QMimeDatabase>

// The Japanese description of the map file type, as the installed MIME type
// gives it.
const char* const FileDialogIconProvider::MapFileType = "Gridforge マップ";

QString FileDialogIconProvider::type(const QFileInfo& info) const
{
    if (info.isRoot())
        return QStringLiteral("ドライブ");
    if (info.isDir())
        return QStringLiteral("フォルダ");
    if (info.suffix().compare(QLatin1String("kxgf"), Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(MapFileType);
    // Descriptions follow the default locale, which the application sets to
    // Japanese.
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}
