#include "components/ClsStatusBar.h"

#include "base/Cp932.h"
#include "base/SystemColors.h"
#include "components/StatusBarStyles.h"

#include <algorithm>
#include <limits>

namespace {
std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

}

ClsStatusBar::ClsStatusBar(StatusWindowPort& port)
    : port_(port)
{
}

std::string ClsStatusBar::STBText(std::int16_t pIndex)
{
    return InRange(pIndex) ? GetPartText(pIndex) : std::string();
}

std::int32_t ClsStatusBar::GetSTBTextLen(std::int16_t pIndex)
{
    return InRange(pIndex) ? GetPartTextLen(pIndex) : -1;
}

std::int32_t ClsStatusBar::GetSTBTextLenB(std::int16_t pIndex)
{
    return InRange(pIndex) ? GetPartTextLenB(pIndex) : -1;
}

void ClsStatusBar::STBText(std::int16_t pIndex, const std::string& gText)
{
    if (InRange(pIndex))
        SetPartText(pIndex, gText, Entry(pIndex).DrawFlags);
}

void ClsStatusBar::SetSTBPartStyle(std::int16_t pIndex, std::int32_t DrawStyle)
{
    if (!InRange(pIndex))
        return;
    const std::uint32_t flags = StatusBarStyles::DrawFlagsOf(DrawStyle);
    SetPartText(pIndex, Entry(pIndex).Text, flags);
    Entry(pIndex).DrawFlags = flags;
    DrawStatusBar();
}

void ClsStatusBar::STBHeight(std::int32_t srcHeight)
{
    SetMinHeight(srcHeight);
}

std::int32_t ClsStatusBar::CreateStatusBar(WindowHandle srchForm, std::int32_t StausBarPos, bool ShowGrip,
                                           std::int32_t SetHeight, std::uint32_t SetBackColor)
{
    if (stbHandle_ != 0)
        return -1;
    const std::uint32_t style = StatusBarStyles::WindowStyleOf(StausBarPos, ShowGrip);
    parentHandle_ = srchForm;
    stbHandle_ = port_.CreateStatusWindow(style, parentHandle_);
    if (stbHandle_ == 0)
        return -2;
    showGrip_ = ShowGrip;
    port_.SetParent(stbHandle_, parentHandle_);
    if (SetHeight > 0)
        port_.SetMinHeight(stbHandle_, SetHeight);
    stbHeight_ = SetHeight;
    // Any other system colour code is resolved here: the window takes RGB only.
    if (SetBackColor != StatusBarStyles::DefaultBackColor)
        port_.SetBackColor(stbHandle_, ResolveColor(ColorWord{SetBackColor}));
    return 0;
}

void ClsStatusBar::DestroyStatusBar()
{
    if (stbHandle_ == 0)
        return;
    port_.DestroyWindow(stbHandle_);
    stbHandle_ = 0;  // the handle names nothing any more
}

void ClsStatusBar::SetStatusBarParts(const std::string& PartString, std::int32_t PartWidth,
                                     std::int16_t PartStyle, std::int16_t DrawStyle)
{
    if (partCount_ >= MaxParts)
        return;  // the window holds no more; a higher index would read as drawing flags
    if (parts_.empty())
        parts_.emplace_back();  // entry -1, always zero
    const int k = partCount_;
    const STBPart& previous = Entry(k - 1);
    STBPart part;
    part.Index = static_cast<std::int16_t>(k);
    part.Text = PartString;
    part.Right = ClampToInt32(std::int64_t{previous.Right} + PartWidth);
    part.Style = previous.Style == 1 ? std::int16_t{1} : PartStyle;
    part.DrawFlags = StatusBarStyles::DrawFlagsOf(DrawStyle);
    parts_.push_back(std::move(part));
    ++partCount_;
}

std::int32_t ClsStatusBar::DrawStatusBar()
{
    if (stbHandle_ == 0)
        return 0;
    ScreenRect parent, status;
    if (!port_.GetWindowRect(parentHandle_, parent) || !port_.GetWindowRect(stbHandle_, status))
        return 0;
    const std::int64_t available = std::int64_t{parent.right} - parent.left - (showGrip_ ? GripWidth : 0);

    bool lastTextTaken = true;  // with no part yet the window is only re-fitted
    if (partCount_ > 0) {
        std::vector<int> edges;
        edges.reserve(static_cast<std::size_t>(partCount_));
        for (std::int16_t i = 0; i < partCount_; ++i) {
            const STBPart& part = Entry(i);
            edges.push_back(part.Style == 0
                                ? part.Right
                                : ClampToInt32(available - GetOtherPartsWidth(i) + Entry(i - 1).Right));
        }
        if (!port_.SetParts(stbHandle_, edges))
            return 0;
        for (std::int16_t i = 0; i < partCount_; ++i)
            lastTextTaken = SetPartText(i, Entry(i).Text, Entry(i).DrawFlags);
    }
    if (lastTextTaken)
        port_.MoveWindow(stbHandle_, 0, parent.bottom - status.bottom, 0, 0, true);
    return 0;
}

std::int32_t ClsStatusBar::GetPartTextLen(std::int16_t pIndex)
{
    return static_cast<std::int32_t>(Cp932::CharacterCount(GetPartText(pIndex)));
}

std::int32_t ClsStatusBar::GetPartTextLenB(std::int16_t pIndex)
{
    if (stbHandle_ == 0)
        return 0;
    return static_cast<std::int32_t>(port_.GetTextLength(stbHandle_, pIndex) & 0xFFFFu);
}

std::int32_t ClsStatusBar::SetMinHeight(std::int32_t srcHeight)
{
    bool refused = srcHeight < 0;
    if (!refused && srcHeight > 0 && stbHandle_ != 0)
        refused = port_.SetMinHeight(stbHandle_, srcHeight) != 0;
    if (refused)
        return -1;
    DrawStatusBar();
    stbHeight_ = srcHeight;
    return srcHeight;
}

std::string ClsStatusBar::GetPartText(std::int16_t pIndex)
{
    const std::int32_t bytes = GetPartTextLenB(pIndex);
    if (bytes == 0)
        return std::string();
    const auto length = static_cast<std::size_t>(bytes);
    return Cp932::Prefix(port_.GetText(stbHandle_, pIndex, length + 1), length);
}

bool ClsStatusBar::SetPartText(std::int16_t pIndex, const std::string& text, std::uint32_t drawFlags)
{
    Entry(pIndex).Text = Cp932::HeldText(text);
    if (stbHandle_ == 0)
        return false;
    return port_.SetText(stbHandle_, static_cast<std::uint32_t>(pIndex) | drawFlags, Entry(pIndex).Text);
}

std::int64_t ClsStatusBar::GetOtherPartsWidth(std::int16_t pIndex) const
{
    std::int64_t width = 0;
    for (std::int16_t j = 0; j < partCount_; ++j)
        if (j != pIndex)
            width += std::int64_t{Entry(j).Right} - Entry(j - 1).Right;
    return width;
}
