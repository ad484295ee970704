#include "shell/QtFileDialog.h"

#include <QFileDialog>

// Shown as "Gridforge(*.kxgf)", matching "*.kxgf".
const char* const QtFileDialog::Filter = "Gridforge(*.kxgf)";

std::optional<std::string> QtFileDialog::ChooseSavePath() { return Choose(true); }

std::optional<std::string> QtFileDialog::ChooseOpenPath() { return Choose(false); }

std::optional<std::string> QtFileDialog::Choose(bool save)
{
    QFileDialog dialog(parent_);
    dialog.setObjectName(save ? "SaveMapDialog" : "OpenMapDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QString::fromLatin1(Filter));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix("kxgf");
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}
