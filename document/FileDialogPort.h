#pragma once

#include <optional>
#include <string>

// The open and save file dialogs (filter "Gridforge(*.kxgf)|*.kxgf").
// Each returns the full path chosen, or nothing when the user cancels.
class FileDialogPort {
public:
    virtual ~FileDialogPort() = default;
    virtual std::optional<std::string> ChooseSavePath() = 0;
    virtual std::optional<std::string> ChooseOpenPath() = 0;
};
