#pragma once

#include "components/STBPart.h"
#include "components/StatusWindowPort.h"

#include <cstdint>
#include <string>
#include <vector>

// The status bar component: a table of parts (text, width, stretch style,
// border style) pushed to one status window on a parent window and laid out
// to the parent's width on every DrawStatusBar. Texts are UTF-8, reduced to
// what the ANSI code page CP932 holds; their byte lengths are that code page's.
class ClsStatusBar {
public:
    static constexpr int GripWidth = 24;
    static constexpr int MaxParts = 256;

    explicit ClsStatusBar(StatusWindowPort& port);

    WindowHandle GetSTBHandle() const { return stbHandle_; }
    std::string STBText(std::int16_t pIndex);
    std::int32_t GetSTBTextLen(std::int16_t pIndex);
    std::int32_t GetSTBTextLenB(std::int16_t pIndex);
    std::int32_t STBHeight() const { return stbHeight_; }
    void STBText(std::int16_t pIndex, const std::string& gText);
    void SetSTBPartStyle(std::int16_t pIndex, std::int32_t DrawStyle);
    void STBHeight(std::int32_t srcHeight);
    // 0 on success, -1 when this object already has a window, -2 when the
    // window cannot be made.
    std::int32_t CreateStatusBar(WindowHandle srchForm, std::int32_t StausBarPos, bool ShowGrip,
                                 std::int32_t SetHeight, std::uint32_t SetBackColor);
    void DestroyStatusBar();
    void SetStatusBarParts(const std::string& PartString, std::int32_t PartWidth, std::int16_t PartStyle,
                           std::int16_t DrawStyle);
    std::int32_t DrawStatusBar();

    bool ShowGrip() const { return showGrip_; }
    std::int16_t PartCount() const { return partCount_; }
    // Entries -1 (the zero sentinel) to PartCount() - 1.
    const STBPart& Part(int index) const { return parts_.at(static_cast<std::size_t>(index + 1)); }

private:
    std::int32_t GetPartTextLen(std::int16_t pIndex);
    std::int32_t GetPartTextLenB(std::int16_t pIndex);
    std::int32_t SetMinHeight(std::int32_t srcHeight);
    std::string GetPartText(std::int16_t pIndex);
    bool SetPartText(std::int16_t pIndex, const std::string& text, std::uint32_t drawFlags);
    std::int64_t GetOtherPartsWidth(std::int16_t pIndex) const;

    bool InRange(std::int16_t pIndex) const { return pIndex >= 0 && pIndex < partCount_; }
    STBPart& Entry(int index) { return parts_[static_cast<std::size_t>(index + 1)]; }
    const STBPart& Entry(int index) const { return parts_[static_cast<std::size_t>(index + 1)]; }

    StatusWindowPort& port_;
    WindowHandle parentHandle_ = 0;
    WindowHandle stbHandle_ = 0;
    bool showGrip_ = false;
    std::int32_t stbHeight_ = 0;
    std::vector<STBPart> parts_;  // parts_[0] is entry -1
    std::int16_t partCount_ = 0;
};
