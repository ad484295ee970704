#include "platform/TemporaryName.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <type_traits>

namespace {

constexpr std::string_view Mark = ".gridforge-save-";
constexpr std::size_t HashLength = 8;  // hexadecimal digits
constexpr std::string_view Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

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

// FNV-1a, one byte at a time.
class Fnv1a {
public:
    void Add(unsigned char byte) { hash_ = (hash_ ^ byte) * 16777619u; }
    std::uint32_t Value() const { return hash_; }

private:
    std::uint32_t hash_ = 2166136261u;
};

void AddUtf8(Fnv1a& hash, std::string_view name)
{
    for (const char c : name)
        hash.Add(static_cast<unsigned char>(c));
}

// The UTF-16 name's UTF-8 bytes (a lone surrogate as its three bytes).
void AddUtf8(Fnv1a& hash, std::wstring_view name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        std::uint32_t c = static_cast<std::uint16_t>(name[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint16_t>(name[++i]) - 0xDC00);
        if (c < 0x80) {
            hash.Add(static_cast<unsigned char>(c));
            continue;
        }
        const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        const unsigned lead = tail == 1 ? 0xC0u : tail == 2 ? 0xE0u : 0xF0u;
        hash.Add(static_cast<unsigned char>(lead | (c >> (6 * tail))));
        for (int k = tail - 1; k >= 0; --k)
            hash.Add(static_cast<unsigned char>(0x80u | ((c >> (6 * k)) & 0x3Fu)));
    }
}

// "~" and eight hexadecimal digits of the hash of the whole name.
template <class Text>
Text HashMark(const Text& name)
{
    Fnv1a fnv;
    AddUtf8(fnv, name);
    std::uint32_t hash = fnv.Value();
    static constexpr char Hex[] = "0123456789abcdef";
    Text mark(1, static_cast<typename Text::value_type>('~'));
    for (std::size_t i = 0; i < HashLength; ++i, hash >>= 4)
        mark += static_cast<typename Text::value_type>(Hex[hash & 0xF]);
    return mark;
}

// 64 bits that differ on every call and, through the time and the address
// the program was loaded at, in every process.
std::uint64_t RandomBits()
{
    static std::atomic<std::uint64_t> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::uint64_t bits = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) ^
                         static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&counter)) ^
                         (++counter * 0x9E3779B97F4A7C15ull);
    bits ^= bits >> 33;
    bits *= 0xFF51AFD7ED558CCDull;
    bits ^= bits >> 33;
    bits *= 0xC4CEB9FE1A85EC53ull;
    return bits ^ (bits >> 33);
}

}  // namespace

template <class Text>
TemporaryName<Text>::TemporaryName(const Text& name, std::size_t limit)
{
    // It never takes the name past the folder's limit as long as name fits.
    const std::size_t added = 1 + Mark.size() + RandomLength;
    const std::size_t room = limit > added ? limit - added : 0;
    const View whole(name);
    std::size_t kept = FittingLength(whole, room);
    const bool cut = kept < name.size();
    const std::size_t hashed = 1 + HashLength;
    if (cut)
        kept = FittingLength(whole, room > hashed ? room - hashed : 0);
    stem_.reserve(1 + kept + hashed + Mark.size() + RandomLength);
    Append(stem_, ".");
    stem_.append(whole.substr(0, kept));
    if (cut)
        stem_ += HashMark(name);
    Append(stem_, Mark);
}

template <class Text>
Text TemporaryName<Text>::Random() const
{
    Text name = stem_;
    std::uint64_t bits = RandomBits();
    for (std::size_t i = 0; i < RandomLength; ++i, bits /= Alphabet.size())
        name += static_cast<Char>(Alphabet[bits % Alphabet.size()]);
    return name;
}

template <class Text>
bool TemporaryName<Text>::Matches(View entry) const
{
    if (entry.size() != stem_.size() + RandomLength || entry.substr(0, stem_.size()) != stem_)
        return false;
    for (const Char c : entry.substr(stem_.size()))
        if (c > 0x7F || Alphabet.find(static_cast<char>(c)) == std::string_view::npos)
            return false;
    return true;
}

template class TemporaryName<std::string>;
template class TemporaryName<std::wstring>;
