#pragma once

#include "document/FileDialogPort.h"

#include <memory>
#include <optional>
#include <string>

class MessageBoxPort;
class SystemFileDialog;

// CD1 on Windows: the system's dialogs. When they cannot be created or shown,
// the user is told once, with the system's error code, and Qt's own dialogs
// (fallback) take their place for the rest of the run, instead of nothing
// happening as if the user had cancelled.
class FileDialogWithFallback : public FileDialogPort {
public:
    FileDialogWithFallback(std::unique_ptr<SystemFileDialog> system, std::unique_ptr<FileDialogPort> fallback,
                           MessageBoxPort& messages);
    ~FileDialogWithFallback() override;
    std::optional<std::string> ChooseSavePath() override { return Choose(true); }
    std::optional<std::string> ChooseOpenPath() override { return Choose(false); }

    static std::string FailureText(long failure);

private:
    std::optional<std::string> Choose(bool save);

    std::unique_ptr<SystemFileDialog> system_;
    std::unique_ptr<FileDialogPort> fallback_;
    MessageBoxPort& messages_;
    bool systemFailed_ = false;
};
