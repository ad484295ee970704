#include "shell/QtFileDialog.h"

#include "shell/FileDialogColumns.h"
#include "shell/FileDialogFilter.h"
#include "shell/FileDialogFolder.h"
#ifdef Q_OS_WIN
#include "shell/WindowsQtDialogKeys.h"
#endif

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

std::optional<std::string> QtFileDialog::ChooseSavePath() { return Choose(true); }

std::optional<std::string> QtFileDialog::ChooseOpenPath() { return Choose(false); }

void QtFileDialog::ShowInJapanese(QFileDialog& dialog)
{
    dialog.setIconProvider(&types_);
    dialog.setProxyModel(new FileDialogColumns(&dialog));
    // Size, type and date are as wide as their texts; the name takes the rest.
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

std::optional<std::string> QtFileDialog::Choose(bool save)
{
#ifdef Q_OS_WIN
    // Destroyed after the dialog, which writes its settings as it goes.
    const WindowsQtDialogKeys keys;
#endif
    QFileDialog dialog(parent_, QString(), FileDialogFolder());
    dialog.setObjectName(save ? "SaveMapDialog" : "OpenMapDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    ShowInJapanese(dialog);
    // Shown as "Gridforge(*.kxgf)", matching "*.kxgf".
    dialog.setNameFilter(QString::fromLatin1(FileDialogFilter::Name));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QString::fromLatin1(FileDialogFilter::Extension));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}
