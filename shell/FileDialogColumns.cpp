#include "shell/FileDialogColumns.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLocale>

namespace {
const QLocale& Japanese()
{
    static const QLocale locale(QLocale::Japanese, QLocale::Japan);
    return locale;
}
}  // namespace

QString FileDialogColumns::SizeText(qint64 bytes) { return Japanese().formattedDataSize(bytes); }

QString FileDialogColumns::DateText(const QDateTime& time) { return Japanese().toString(time, QLocale::ShortFormat); }

QVariant FileDialogColumns::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid())
        return QSortFilterProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (index.column() == SizeColumn) {
        // Folders show no size, as in the model.
        const QFileInfo info = files->fileInfo(source.siblingAtColumn(0));
        return info.isDir() ? QVariant(QString()) : QVariant(SizeText(files->size(source.siblingAtColumn(0))));
    }
    if (index.column() == DateColumn)
        return DateText(files->lastModified(source.siblingAtColumn(0)));
    return QSortFilterProxyModel::data(index, role);
}

void FileDialogColumns::sort(int column, Qt::SortOrder order)
{
    // The model sorts folders before files and sizes and dates by value; the
    // list keeps its order.
    if (sourceModel() != nullptr)
        sourceModel()->sort(column, order);
}
