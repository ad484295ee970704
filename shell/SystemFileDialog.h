#pragma once

#include <optional>
#include <string>

// The system's own open and save dialogs for map files, which may fail to
// appear (a missing or broken shell component): the failure is told apart
// from the user's cancel.
class SystemFileDialog {
public:
    struct Result {
        std::optional<std::string> path;  // the full path chosen; nothing when cancelled or failed
        long failure = 0;                 // the system's error code when the dialog did not appear
    };
    virtual ~SystemFileDialog() = default;
    virtual Result Choose(bool save) = 0;
};
