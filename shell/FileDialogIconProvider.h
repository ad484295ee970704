#pragma once

#include <QFileIconProvider>

// The type column of the file dialogs in Japanese whatever the system's
// language: folders, drives, map files (a type of their own) and other files
// by the Japanese description of their MIME type. Called from the file
// system model's worker thread, so it keeps no state.
class FileDialogIconProvider : public QFileIconProvider {
public:
    static const char* const MapFileType;
    QString type(const QFileInfo& info) const override;
};
