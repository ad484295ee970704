#pragma once

#include <QSortFilterProxyModel>

// The file dialogs' list between the dialog and its file system model: the
// size and date columns in Japanese whatever the system's language (the model
// itself writes them in the system's). Sorting stays the model's own.
class FileDialogColumns : public QSortFilterProxyModel {
    Q_OBJECT
public:
    static constexpr int SizeColumn = 1;
    static constexpr int DateColumn = 3;

    using QSortFilterProxyModel::QSortFilterProxyModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
};
