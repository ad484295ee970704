#include "platform/TemporaryName.h"

#include <cstdint>
#include <type_traits>

namespace {

constexpr std::string_view Mark = ".gridforge-save-";
constexpr std::size_t HashLength = 8;  // hexadecimal digits

// Appends the ASCII text to to.
template <class Text>
void Append(Text& to, std::string_view text)
{
    if constexpr (std::is_same_v<Text, std::string>) {
        to += text;
    } else {
        for (const char c : text)
            to += static_cast<typename Text::value_type>(c);
    }
}

// How many bytes from the start of the UTF-8 name fit in room bytes without
// splitting a character.
std::size_t FittingLength(std::string_view name, std::size_t room)
{
    if (name.size() <= room)
        return name.size();
    std::size_t length = room;
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

// How many UTF-16 units from the start of name fit in room units and, in
// UTF-8, in room bytes (the limit of file systems that count bytes, such as
// shares served from Linux); a surrogate pair is never split.
std::size_t FittingLength(std::wstring_view name, std::size_t room)
{
    std::size_t units = 0;
    std::size_t bytes = 0;
    while (units < name.size()) {
        const wchar_t c = name[units];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && units + 1 < name.size();
        const std::size_t width = pair ? 2 : 1;
        const std::size_t utf8 = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (units + width > room || bytes + utf8 > room)
            break;
        units += width;
        bytes += utf8;
    }
    return units;
}

// FNV-1a over the name's units.
template <class Text>
Text Hash(const Text& name)
{
    using Unit = std::make_unsigned_t<typename Text::value_type>;
    std::uint32_t hash = 2166136261u;
    for (const auto c : name)
        hash = (hash ^ static_cast<Unit>(c)) * 16777619u;
    static constexpr char Hex[] = "0123456789abcdef";
    Text digits;
    for (std::size_t i = 0; i < HashLength; ++i, hash >>= 4)
        digits += static_cast<typename Text::value_type>(Hex[hash & 0xF]);
    return digits;
}

}  // namespace

template <class Text>
TemporaryName<Text>::TemporaryName(const Text& name, std::size_t limit, View alphabet, bool hashCut)
    : alphabet_(alphabet)
{
    // It never takes the name past the folder's limit as long as name fits.
    const std::size_t added = 1 + Mark.size() + RandomLength;
    const std::size_t room = limit > added ? limit - added : 0;
    const View whole(name);
    std::size_t kept = FittingLength(whole, room);
    whole_ = kept == name.size();
    const std::size_t hashed = 1 + HashLength;
    if (!whole_ && hashCut)
        kept = FittingLength(whole, room > hashed ? room - hashed : 0);
    stem_.reserve(1 + kept + hashed + Mark.size() + RandomLength);
    Append(stem_, ".");
    stem_.append(whole.substr(0, kept));
    if (!whole_ && hashCut) {
        Append(stem_, "~");
        stem_ += Hash(name);
    }
    Append(stem_, Mark);
}

template <class Text>
bool TemporaryName<Text>::Matches(View entry) const
{
    if (entry.size() != stem_.size() + RandomLength || entry.substr(0, stem_.size()) != stem_)
        return false;
    return entry.substr(stem_.size()).find_first_not_of(alphabet_) == View::npos;
}

template class TemporaryName<std::string>;
template class TemporaryName<std::wstring>;
