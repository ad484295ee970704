#pragma once

#include "document/LockBoxPort.h"
#include "document/MapFile.h"
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
// editor started with that file, and a file it refuses is one the editor
// refuses.
class LevelTextExport : private LockBoxPort, private MapWindowPort, private MessageBoxPort {
public:
    struct Result {
        std::optional<std::string> text;  // the level text, CR LF, no final line break
        MapModule::LoadStatus status = MapModule::LoadStatus::Loaded;
        bool mapWindowBuilt = false;  // false for sizes the map window does not open
    };
    static Result FromMapFile(const std::string& mapPath);

private:
    LevelTextExport();
    ~LevelTextExport() override;

    int Value() const override { return lock_; }
    void SetValue(int value) override;
    bool CloseMapWindow() override { return true; }
    bool OpenMapWindow() override;
    void SetMapCaption(const std::string&) override {}
    // The load's messages are not shown: the caller says what went wrong.
    MessageAnswer Show(const std::string&, const std::string&, MessageButtons, MessageIcon,
                       MessageAnswer defaultButton) override
    {
        return defaultButton;
    }

    MapModule::PortSet saved_;
    int lock_ = 0;
    bool built_ = false;
    CellGrid cells_;
};
