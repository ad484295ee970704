#include "support/ColorOwnMapTextLiteral.h"

#include "document/OwnMapColoring.h"
#include "document/OwnerTable.h"

#include <algorithm>
#include <climits>
#include <cstdint>

void ColorOwnMapTextLiteral(RichTextPort& box)
{
    const std::int64_t maximum = std::int64_t{OwnerCount} * std::max(box.Length(), 0);
    box.SetProgressMaximum(static_cast<int>(std::min<std::int64_t>(maximum, INT_MAX)));
    box.ShowProgress();
    for (int owner = 0; owner < OwnerCount; ++owner) {
        const std::u16string token = OwnerColorToken(owner);
        const int length = box.Length();
        for (int i = 1; i <= length; ++i) {
            const int found = box.Find(token, i);
            if (found < 0)
                break;
            box.Select(found, static_cast<int>(token.size()));
            box.SetSelectionColor(OwnerTable[static_cast<std::size_t>(owner)].textColor);
            box.AddProgress(1);
        }
    }
    box.HideProgress();
}
