#include "base/Cp932.h"

#include "base/Cp932Table.h"

namespace {
// One step through a UTF-8 text: the bytes taken and the character they
// form, or Bad for an ill-formed sequence.
struct Step {
    std::size_t length = 1;
    char32_t character = 0;
};
constexpr char32_t Bad = 0xFFFFFFFF;

bool IsContinuation(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0xBF;
}

// Bytes of the sequence that a first byte announces (1 for a byte that
// starts none).
std::size_t Announced(unsigned char lead)
{
    if (lead >= 0xC0 && lead < 0xE0)
        return 2;
    if (lead >= 0xE0 && lead < 0xF0)
        return 3;
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    return 1;
}

// Decodes at `at`. An ill-formed sequence is its first byte with the
// continuation bytes that follow it, as many as the first byte announces;
// overlong forms are ill-formed. (Surrogates and values above U+10FFFF pass
// here; the code page lacks them.)
Step Decode(const std::string& text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {1, lead};
    if (IsContinuation(lead))
        return {1, Bad};
    const std::size_t announced = Announced(lead);
    char32_t value = lead & (0x7Fu >> announced);
    std::size_t length = 1;
    while (length < announced && at + length < text.size()) {
        const auto next = static_cast<unsigned char>(text[at + length]);
        if (!IsContinuation(next))
            break;
        value = (value << 6) | (next & 0x3Fu);
        ++length;
    }
    static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool wellFormed = length == announced && announced > 1 && value >= Smallest[announced];
    return {length, wellFormed ? value : Bad};
}

void AppendUtf8(std::string& text, char32_t c)  // BMP characters only
{
    if (c < 0x80) {
        text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (c >> 6)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xE0 | (c >> 12)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Appends what comes back of one character (Bad for one the code page lacks).
void AppendHeld(std::string& held, const std::string& sequence, char32_t character)
{
    const char32_t back = character == Bad ? U'?' : Cp932Table::ComesBackAs(character);
    if (back == character)
        held += sequence;
    else
        AppendUtf8(held, back);
}

// Walks the text, appending what the code page keeps of it, until the next
// character would pass `limit` bytes; returns the bytes used.
std::size_t Walk(const std::string& utf8, std::size_t limit, std::string* held)
{
    std::size_t used = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const Step step = Decode(utf8, at);
        const int bytes = step.character == Bad ? 0 : Cp932Table::ByteCount(step.character);
        const std::size_t cost = bytes == 0 ? 1 : static_cast<std::size_t>(bytes);
        if (used + cost > limit)
            break;
        used += cost;
        if (held != nullptr)
            AppendHeld(*held, utf8.substr(at, step.length), bytes == 0 ? Bad : step.character);
        at += step.length;
    }
    return used;
}
}

namespace Cp932 {
std::string HeldText(const std::string& utf8)
{
    return Prefix(utf8, utf8.size());  // no character takes more bytes in the code page than in UTF-8
}

std::size_t ByteLength(const std::string& utf8)
{
    return Walk(utf8, utf8.size(), nullptr);
}

std::string Prefix(const std::string& utf8, std::size_t bytes)
{
    std::string held;
    Walk(utf8, bytes, &held);
    return held;
}

std::size_t CharacterCount(const std::string& utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}
}
