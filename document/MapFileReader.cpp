#include "document/MapFileReader.h"

#include "document/MapFile.h"

namespace {

constexpr char Cr = '\r';
constexpr char Lf = '\n';

bool IsBlank(char c) { return c == ' ' || c == Cr || c == Lf; }
bool EndsValue(char c) { return c == ',' || IsBlank(c); }

}  // namespace

MapFileReader::Result MapFileReader::Read(std::string_view bytes)
{
    MapFileReader reader(bytes);
    Result result;
    result.headerOk = reader.ReadHeader();
    if (!result.headerOk)
        return result;

    // Each size must be an integer: a token that is not one ends the reading.
    auto nextInteger = [&reader]() -> std::optional<std::int32_t> {
        const std::optional<std::string_view> token = reader.NextToken();
        return token ? ParseInteger(*token) : std::nullopt;
    };
    result.width = nextInteger();
    if (!result.width)
        return result;
    result.height = nextInteger();
    if (!result.height)
        return result;
    result.lock = nextInteger();
    if (!result.lock)
        return result;

    while (result.owners.size() < MaxOwnerValues) {
        const std::optional<std::string_view> token = reader.NextToken();
        if (!token)
            break;
        if (const std::optional<std::int32_t> value = ParseInteger(*token))
            result.owners.push_back(*value);
    }
    return result;
}

std::optional<std::int32_t> MapFileReader::ParseInteger(std::string_view token)
{
    bool negative = false;
    if (!token.empty() && token.front() == '-') {
        negative = true;
        token.remove_prefix(1);
    }
    if (token.empty())
        return std::nullopt;
    // Accumulate as a negative number so that the int32 minimum fits.
    constexpr std::int64_t Limit = 2147483648LL;
    std::int64_t magnitude = 0;
    for (const char c : token) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > Limit)
            return std::nullopt;
    }
    if (!negative && magnitude == Limit)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool MapFileReader::ReadHeader()
{
    const std::size_t cr = bytes_.find(Cr);
    const std::string_view line = bytes_.substr(0, cr);
    if (cr == std::string_view::npos) {
        pos_ = bytes_.size();
    } else {
        pos_ = cr + 1;
        if (pos_ < bytes_.size() && bytes_[pos_] == Lf)
            ++pos_;
    }
    return line == MapModule::MapFileHeader;
}

std::optional<std::string_view> MapFileReader::NextToken()
{
    while (pos_ < bytes_.size() && IsBlank(bytes_[pos_]))
        ++pos_;
    if (pos_ >= bytes_.size())
        return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && !EndsValue(bytes_[pos_]))
        ++pos_;
    const std::string_view token = bytes_.substr(start, pos_ - start);
    if (pos_ < bytes_.size() && bytes_[pos_] == ',')
        ++pos_;
    return token;
}
