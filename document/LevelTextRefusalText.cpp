#include "document/LevelTextRefusalText.h"

#include "document/OwnerGridArray.h"

namespace {
using Refusal = LevelTextReader::Refusal;
std::string Number(std::size_t n) { return std::to_string(n); }
std::string Number(std::int32_t n) { return std::to_string(n); }
const std::string MostSectors = std::to_string(OwnerGridArray::Capacity);
}  // namespace

std::string LevelTextRefusalEnglish(const LevelTextReader::Result& result)
{
    switch (result.refusal) {
    case Refusal::None:
        break;
    case Refusal::NoSection:
        return "no own_map section";
    case Refusal::TwoSections:
        return "a second own_map section";
    case Refusal::TextAfterKeyword:
        return "text after \"own_map= \" on its line";
    case Refusal::SizeNotTwoNumbers:
        return "the size line is not two numbers \"W H\"";
    case Refusal::SizeNotOpened:
        return "a map size no map file may have (1 x 1 at the least, " + MostSectors + " sectors at the most)";
    case Refusal::TooFewTokens:
        return "a row of " + Number(result.found) + " tokens, the size says " + Number(result.width);
    case Refusal::TooManyTokens:
        return "a row of more tokens than the size's " + Number(result.width);
    case Refusal::NotAnOwner:
        return "a token that is not an owner 00 to 06";
    case Refusal::TooFewRows:
        return Number(result.found) + " rows, the size says " + Number(result.height);
    }
    return {};
}

std::string LevelTextRefusalJapanese(const LevelTextReader::Result& result)
{
    switch (result.refusal) {
    case Refusal::None:
        break;
    case Refusal::NoSection:
        return "own_map の節がありません";
    case Refusal::TwoSections:
        return "own_map の節が二つあります";
    case Refusal::TextAfterKeyword:
        return "\"own_map= \" の行に余分な文字があります";
    case Refusal::SizeNotTwoNumbers:
        return "サイズの行が二つの数 \"幅 高さ\" ではありません";
    case Refusal::SizeNotOpened:
        return "マップファイルにありえないマップサイズです (1 x 1 以上、" + MostSectors + " セクタ以下)";
    case Refusal::TooFewTokens:
        return "行のトークンが " + Number(result.found) + " 個です (サイズでは " + Number(result.width) + " 個)";
    case Refusal::TooManyTokens:
        return "行のトークンがサイズの " + Number(result.width) + " 個より多くあります";
    case Refusal::NotAnOwner:
        return "オーナー 00 から 06 のどれでもないトークンです";
    case Refusal::TooFewRows:
        return "行が " + Number(result.found) + " 行しかありません (サイズでは " + Number(result.height) + " 行)";
    }
    return {};
}
