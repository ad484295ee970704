#pragma once

#include "document/FileDialogPort.h"

class QWidget;

// CD1 on Windows: the system's common open and save dialogs for map files,
// owned by the frame and starting in FileDialogFolder(). One filter,
// "Gridforge(*.kxgf)"; the save dialog adds ".kxgf" to a name typed without an
// extension and asks the system's question before replacing a file. Unlike
// Qt's file dialog, they write nothing of the program's into the registry.
// The paths they return are the system's own ("C:\...").
class WindowsFileDialog : public FileDialogPort {
public:
    explicit WindowsFileDialog(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> ChooseSavePath() override;
    std::optional<std::string> ChooseOpenPath() override;

private:
    std::optional<std::string> Choose(bool save);

    QWidget* parent_;
};
