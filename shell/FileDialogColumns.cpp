#include "shell/FileDialogColumns.h"

#include <QDateTime>
#include <QFileSystemModel>
#include <QLocale>

namespace {
const QLocale& Japanese()
{
    static const QLocale locale(QLocale::Japanese, QLocale::Japan);
    return locale;
}

QString SizeText(qint64 bytes) { return Japanese().formattedDataSize(bytes); }

QString DateText(const QDateTime& time) { return Japanese().toString(time, QLocale::ShortFormat); }
}  // namespace

QVariant FileDialogColumns::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid())
        return QSortFilterProxyModel::data(index, role);
    const QModelIndex file = mapToSource(index).siblingAtColumn(0);
    if (index.column() == SizeColumn)
        return files->isDir(file) ? QString() : SizeText(files->size(file));  // folders show no size
    if (index.column() == DateColumn)
        return DateText(files->lastModified(file));
    return QSortFilterProxyModel::data(index, role);
}

void FileDialogColumns::sort(int column, Qt::SortOrder order)
{
    // The model sorts folders before files and sizes and dates by value; the
    // list keeps its order.
    if (sourceModel() != nullptr)
        sourceModel()->sort(column, order);
}
