#pragma once

#include "shell/SystemFileDialog.h"

class QWidget;

// The system's common open and save dialogs for map files on Windows, owned
// by the frame and starting in FileDialogFolder(). One filter,
// "Gridforge(*.kxgf)"; the save dialog adds ".kxgf" to a name typed without an
// extension and asks the system's question before replacing a file. Unlike
// Qt's file dialog, they write nothing of the program's into the registry.
// The paths they return are the system's own ("C:\...").
class WindowsFileDialog : public SystemFileDialog {
public:
    explicit WindowsFileDialog(QWidget* parent) : parent_(parent) {}
    Result Choose(bool save) override;

private:
    QWidget* parent_;
};
