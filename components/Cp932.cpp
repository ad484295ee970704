#include "components/Cp932.h"

#include <cerrno>
#include <iconv.h>

namespace {
// Length of the UTF-8 sequence that starts with the given byte (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// Converts with iconv; an input sequence that cannot be converted is skipped
// (skipLength tells how far) and replaced by "?".
template <typename SkipLength>
std::string Convert(const char* to, const char* from, const std::string& input, SkipLength skipLength)
{
    std::string output;
    if (input.empty())
        return output;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (std::size_t i = 0; i < input.size(); ++i)
            output.push_back(static_cast<unsigned char>(input[i]) < 0x80 ? input[i] : '?');
        return output;
    }
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ (no such character) or EINVAL (cut-off sequence at the end).
        std::size_t skip = errno == EINVAL ? inLeft : skipLength(reinterpret_cast<const unsigned char*>(in), inLeft);
        if (skip > inLeft)
            skip = inLeft;
        in += skip;
        inLeft -= skip;
        output.push_back('?');
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return output;
}
}

namespace Cp932 {
std::string FromUtf8(const std::string& utf8)
{
    return Convert("CP932", "UTF-8", utf8,
                   [](const unsigned char* at, std::size_t) { return Utf8SequenceLength(at[0]); });
}

std::string ToUtf8(const std::string& bytes)
{
    return Convert("UTF-8", "CP932", bytes, [](const unsigned char* at, std::size_t left) {
        // A lead byte of a double-byte character takes a trail byte with it.
        const unsigned char lead = at[0];
        const bool leadByte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
        const bool trailByte = left >= 2 && at[1] >= 0x40 && at[1] <= 0xFC && at[1] != 0x7F;
        return leadByte && trailByte ? std::size_t{2} : std::size_t{1};
    });
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
