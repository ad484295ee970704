#include "document/OwnerReplace.h"

#include "document/MapModule.h"
#include "document/MapSectors.h"
#include "document/OwnerTable.h"

namespace MapModule {
namespace {

bool IsLocked(std::int64_t s)
{
    const CellPort* cells = CellFor(s);
    return cells != nullptr && cells->CellFillStyle(static_cast<int>(s)) == CellPort::FillLocked;
}

void Highlight(std::int64_t s)
{
    if (CellPort* cells = CellFor(s)) {
        cells->SetCellBorderWidth(static_cast<int>(s), 2);
        cells->SetCellBorderStyle(static_cast<int>(s), CellPort::BorderSolid);
    }
}

void RemoveHighlight(std::int64_t s)
{
    if (CellPort* cells = CellFor(s)) {
        cells->SetCellBorderStyle(static_cast<int>(s), CellPort::BorderNone);
        cells->SetCellBorderWidth(static_cast<int>(s), 1);
    }
}

// Gives sector s the target owner; true when its owner really changed.
bool Replace(std::int64_t s, std::int32_t target)
{
    if (IsOwner(target)) {
        if (CellPort* cells = CellFor(s))
            cells->SetCellColor(static_cast<int>(s), OwnerTable[static_cast<std::size_t>(target)].cellColor);
    }
    const bool changed = OwnerGrid.At(s) != target;
    OwnerGrid.Set(s, target);
    return changed;
}

MessageAnswer Ask(const std::string& text, MessageButtons buttons, MessageIcon icon, MessageAnswer defaultButton,
                  MessageAnswer withoutBox)
{
    MessageBoxPort* messages = Ports().messages;
    if (messages == nullptr)
        return withoutBox;
    return messages->Show(text, "", buttons, icon, defaultButton);
}

void ReportDone()
{
    Ask("置換が終了しました!", MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok, MessageAnswer::Ok);
}

void MarkChangedIf(bool changed)
{
    if (changed)
        MapChanged = True;
}

}  // namespace

void ReplaceOwnerEach(std::int32_t source, std::int32_t target)
{
    bool changed = false;
    const std::int64_t count = SectorsOnMap();
    for (std::int64_t s = 0; s < count; ++s) {
        if (OwnerGrid.At(s) != source || IsLocked(s))
            continue;
        Highlight(s);
        // Nobody can be asked without a message box: stop rather than guess.
        const MessageAnswer answer = Ask("置換しますか?", MessageButtons::YesNoCancel, MessageIcon::Question,
                                         MessageAnswer::Yes, MessageAnswer::Cancel);
        RemoveHighlight(s);
        if (answer == MessageAnswer::Cancel) {
            MarkChangedIf(changed);
            return;
        }
        if (answer == MessageAnswer::Yes)
            changed = Replace(s, target) || changed;
    }
    MarkChangedIf(changed);
    ReportDone();
}

void ReplaceOwnerAll(std::int32_t source, std::int32_t target)
{
    bool changed = false;
    const std::int64_t count = SectorsOnMap();
    for (std::int64_t s = 0; s < count; ++s) {
        if (OwnerGrid.At(s) != source || IsLocked(s))
            continue;
        RemoveHighlight(s);
        changed = Replace(s, target) || changed;
    }
    MarkChangedIf(changed);
    ReportDone();
}

}  // namespace MapModule
