#pragma once

#include "base/ColorWord.h"

#include <array>
#include <cstdint>

// One of the seven owners a sector can belong to.
struct OwnerInfo {
    const char* legendLabel;   // frame legend caption, "&&" shows one "&"
    const char* replaceName;   // name in the replace dialog's lists, "&" literal
    ColorWord cellColor;       // colour of a sector cell of this owner
    ColorWord legendColor;     // swatch in the frame's owner legend
    ColorWord textColor;       // token colour in the data viewer's coloured tab
    const char* token;         // level-data token, two digits and a space
};

inline constexpr int OwnerCount = 7;

inline constexpr std::array<OwnerInfo, OwnerCount> OwnerTable{{
    {"ターゲット&&非占領土", "ターゲット&非占領", ColorWord::Rgb(255, 128, 64), ColorWord::Rgb(255, 224, 192),
     ColorWord::Rgb(255, 128, 64), "00 "},
    {"レジスタンス", "レジスタンス", ColorWord::Rgb(0, 0, 255), ColorWord::Rgb(0, 0, 255), ColorWord::Rgb(0, 0, 255),
     "01 "},
    {"スルゴガー", "スルゴガー", ColorWord::Rgb(0, 255, 0), ColorWord::Rgb(0, 255, 0), ColorWord::Rgb(0, 255, 0), "02 "},
    {"マイコニア", "マイコニア", ColorWord::Rgb(255, 255, 255), ColorWord::Rgb(255, 255, 255),
     ColorWord::System(SystemColor::ButtonFace), "03 "},
    {"ターカスト", "ターカスト", ColorWord::Rgb(255, 255, 0), ColorWord::Rgb(255, 255, 0), ColorWord::Rgb(255, 255, 0),
     "04 "},
    {"ブラックセクト", "ブラックセクト", ColorWord::Rgb(150, 150, 150), ColorWord::Rgb(150, 150, 150),
     ColorWord::Rgb(150, 150, 150), "05 "},
    {"ゴアカフ", "ゴアカフ", ColorWord::Rgb(255, 0, 0), ColorWord::Rgb(255, 0, 0), ColorWord::Rgb(255, 0, 0), "06 "},
}};

// True for the owner indexes 0 to 6; every other grid value has no colour and no token.
constexpr bool IsOwner(std::int32_t owner) { return owner >= 0 && owner < OwnerCount; }
