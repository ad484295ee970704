#pragma once

#include "document/FileDialogPort.h"
#include "shell/FileDialogIconProvider.h"

class QFileDialog;
class QWidget;

// CD1 on Linux: Qt's own open and save dialogs for map files, starting in
// FileDialogFolder(). The save dialog asks before overwriting and adds ".kxgf"
// to a name typed without an extension. Every text in them is Japanese,
// whatever the system's language. (Windows shows the system's dialogs,
// WindowsFileDialog, and these only where those fail; what they write into
// the registry is put back.)
class QtFileDialog : public FileDialogPort {
public:
    explicit QtFileDialog(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> ChooseSavePath() override;
    std::optional<std::string> ChooseOpenPath() override;

private:
    std::optional<std::string> Choose(bool save);
    void ShowInJapanese(QFileDialog& dialog);

    QWidget* parent_;
    FileDialogIconProvider types_;
};
