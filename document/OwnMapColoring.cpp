#include "document/OwnMapColoring.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

int ProgressMaximumFor(int length)
{
    const std::int64_t maximum = std::int64_t{OwnerCount} * std::max(length, 0);
    return static_cast<int>(std::min<std::int64_t>(maximum, INT_MAX));
}

}  // namespace

std::u16string OwnerColorToken(int owner)
{
    return std::u16string{u'0', static_cast<char16_t>(u'0' + owner)};
}

OwnMapColoringPlan PlanOwnMapColoring(const std::u16string& text, int length)
{
    OwnMapColoringPlan plan;
    plan.progressMaximum = ProgressMaximumFor(length);
    plan.ownerAt.assign(text.size(), -1);

    std::array<int, OwnerCount> lastFound;
    lastFound.fill(-1);
    // Position 0 is never searched: the first step starts at 1.
    for (std::size_t p = 1; p + 1 < text.size(); ++p) {
        if (text[p] != u'0' || text[p + 1] < u'0' || text[p + 1] >= u'0' + OwnerCount)
            continue;
        const auto owner = static_cast<signed char>(text[p + 1] - u'0');
        // Where tokens overlap the later pass, the higher owner, wins.
        plan.ownerAt[p] = std::max(plan.ownerAt[p], owner);
        plan.ownerAt[p + 1] = std::max(plan.ownerAt[p + 1], owner);
        lastFound[static_cast<std::size_t>(owner)] = static_cast<int>(p);
    }
    // Step i finds something while i <= the last token's position.
    for (std::size_t owner = 0; owner < OwnerCount; ++owner)
        plan.passSteps[owner] = std::clamp(lastFound[owner], 0, std::max(length, 0));
    return plan;
}

void ColorOwnMapTextFast(RichTextPort& box)
{
    const OwnMapColoringPlan plan = PlanOwnMapColoring(box.Text(), box.Length());
    box.SetProgressMaximum(plan.progressMaximum);
    box.ShowProgress();

    std::vector<RichTextPort::ColorRun> runs;
    const auto& ownerAt = plan.ownerAt;
    for (std::size_t start = 0; start < ownerAt.size();) {
        std::size_t end = start + 1;
        while (end < ownerAt.size() && ownerAt[end] == ownerAt[start])
            ++end;
        if (ownerAt[start] >= 0)
            runs.push_back({static_cast<int>(start), static_cast<int>(end - start),
                            OwnerTable[static_cast<std::size_t>(ownerAt[start])].textColor});
        start = end;
    }
    box.SetRunColors(runs);
    for (int steps : plan.passSteps)
        if (steps > 0)
            box.AddProgress(steps);
    box.HideProgress();
}
