#pragma once

#include "document/LockBoxPort.h"
#include "document/MapModule.h"
#include "document/MapWindowPort.h"
#include "document/MessageBoxPort.h"
#include "view/CellGrid.h"

#include <optional>
#include <string>

// The level-data text of a map file, without a window. The file goes through
// the editor's own load while this object stands in for the lock box (off at
// start, as Check1 is), the map window (its grid built by the map window's
// own rules) and the message box, so the text is the data viewer's for the
// editor started with that file, and a refusal is the window's message.
class LevelTextExport : private LockBoxPort, private MapWindowPort, private MessageBoxPort {
public:
    struct Result {
        std::optional<std::string> text;  // the level text, CR LF, no final line break
        std::string message;              // else what the window would have shown
    };
    static Result FromMapFile(const std::string& mapPath);
    // Writes text to path as a map is saved; the save failure message, if any.
    static std::optional<std::string> Save(const std::string& path, const std::string& text);

private:
    LevelTextExport();
    ~LevelTextExport() override;

    int Value() const override { return lock_; }
    void SetValue(int value) override;
    bool CloseMapWindow() override { return true; }
    bool OpenMapWindow() override;
    void SetMapCaption(const std::string&) override {}
    MessageAnswer Show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon, MessageAnswer defaultButton) override;

    MapModule::PortSet saved_;
    int lock_ = 0;
    bool built_ = false;
    CellGrid cells_;
    std::string message_;
};
