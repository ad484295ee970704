#include "document/LevelTextReader.h"

#include "document/OwnerGridArray.h"

#include <algorithm>
#include <optional>

namespace {

using Refusal = LevelTextReader::Refusal;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The lines of the input one by one, with their numbers; a line ends at LF,
// and a CR just before it, or at the very end of the input, is not part of
// the line.
class Lines {
public:
    explicit Lines(std::string_view bytes) : bytes_(bytes)
    {
        // A UTF-8 text editor may put a byte order mark before the first line.
        if (bytes_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
    }

    // The next line, or nothing after the last one. An input that ends in LF
    // has an empty last line after it.
    std::optional<std::string_view> Next()
    {
        if (pos_ > bytes_.size())
            return std::nullopt;
        const std::size_t lf = bytes_.find('\n', pos_);
        std::string_view line = bytes_.substr(pos_, lf == std::string_view::npos ? std::string_view::npos : lf - pos_);
        pos_ = lf == std::string_view::npos ? bytes_.size() + 1 : lf + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number_;
        return line;
    }
    std::size_t Number() const { return number_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

// The blank-separated words of a line, each with its column.
class Words {
public:
    explicit Words(std::string_view line) : line_(line) {}
    std::optional<std::string_view> Next()
    {
        while (pos_ < line_.size() && IsBlank(line_[pos_]))
            ++pos_;
        if (pos_ >= line_.size())
            return std::nullopt;
        start_ = pos_;
        while (pos_ < line_.size() && !IsBlank(line_[pos_]))
            ++pos_;
        return line_.substr(start_, pos_ - start_);
    }
    std::size_t Column() const { return start_ + 1; }    // of the word Next gave
    std::size_t EndColumn() const { return pos_ + 1; }    // just after it

private:
    std::string_view line_;
    std::size_t pos_ = 0;
    std::size_t start_ = 0;
};

bool IsBlankLine(std::string_view line)
{
    for (const char c : line)
        if (!IsBlank(c))
            return false;
    return true;
}

// A size: an optional '-' and decimal digits. Sizes beyond any map are kept
// at a value just past the largest, so that they are refused as sizes.
std::optional<std::int64_t> SizeValue(std::string_view word)
{
    const bool negative = !word.empty() && word.front() == '-';
    if (negative)
        word.remove_prefix(1);
    if (word.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : word) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min<std::int64_t>(value * 10 + (c - '0'), OwnerGridArray::Capacity + 1);
    }
    return negative ? -value : value;
}

std::optional<std::int32_t> OwnerOf(std::string_view token)
{
    if (token.size() != 2 || token[0] != '0' || token[1] < '0' || token[1] > '6')
        return std::nullopt;
    return token[1] - '0';
}

class SectionReader {
public:
    explicit SectionReader(std::string_view bytes) : lines_(bytes) {}

    LevelTextReader::Result Read()
    {
        if (!FindKeyword())
            return result_;
        if (!ReadSize() || !ReadRows())
            return result_;
        // Nothing else may start a second section.
        while (const std::optional<std::string_view> line = lines_.Next())
            if (line->substr(0, LevelTextReader::Keyword.size()) == LevelTextReader::Keyword)
                return Refuse(Refusal::TwoSections, 1);
        return result_;
    }

private:
    LevelTextReader::Result& Refuse(Refusal refusal, std::size_t column, std::size_t found = 0)
    {
        result_.refusal = refusal;
        result_.line = lines_.Number();
        result_.column = column;
        result_.found = found;
        result_.owners.clear();
        return result_;
    }

    bool FindKeyword()
    {
        std::string_view last;
        while (const std::optional<std::string_view> line = lines_.Next()) {
            last = *line;
            if (line->substr(0, LevelTextReader::Keyword.size()) != LevelTextReader::Keyword)
                continue;
            Words rest(line->substr(LevelTextReader::Keyword.size()));
            if (rest.Next()) {
                Refuse(Refusal::TextAfterKeyword, LevelTextReader::Keyword.size() + rest.Column());
                return false;
            }
            return true;
        }
        Refuse(Refusal::NoSection, last.size() + 1);
        return false;
    }

    bool ReadSize()
    {
        const std::optional<std::string_view> line = lines_.Next();
        if (!line) {
            // The keyword line was the last: the size line would follow it.
            Refuse(Refusal::SizeNotTwoNumbers, 1);
            result_.line += 1;
            return false;
        }
        Words words(*line);
        std::optional<std::int64_t> sizes[2];
        for (std::optional<std::int64_t>& size : sizes) {
            const std::optional<std::string_view> word = words.Next();
            size = word ? SizeValue(*word) : std::nullopt;
            if (!size) {
                Refuse(Refusal::SizeNotTwoNumbers, word ? words.Column() : words.EndColumn());
                return false;
            }
        }
        if (words.Next()) {
            Refuse(Refusal::SizeNotTwoNumbers, words.Column());
            return false;
        }
        if (!LevelTextReader::SizeOpens(*sizes[0], *sizes[1])) {
            Words first(*line);
            first.Next();
            Refuse(Refusal::SizeNotOpened, first.Column());
            return false;
        }
        result_.width = static_cast<std::int32_t>(*sizes[0]);
        result_.height = static_cast<std::int32_t>(*sizes[1]);
        result_.owners.reserve(static_cast<std::size_t>(result_.width) * static_cast<std::size_t>(result_.height));
        return true;
    }

    bool ReadRows()
    {
        for (std::int32_t row = 0; row < result_.height; ++row) {
            const std::optional<std::string_view> line = lines_.Next();
            if (!line || IsBlankLine(*line)) {
                Refuse(Refusal::TooFewRows, 1, static_cast<std::size_t>(row));
                if (!line)
                    result_.line += 1;
                return false;
            }
            if (!ReadRow(*line))
                return false;
        }
        return true;
    }

    bool ReadRow(std::string_view line)
    {
        Words words(line);
        std::size_t count = 0;
        while (const std::optional<std::string_view> token = words.Next()) {
            if (count == static_cast<std::size_t>(result_.width)) {
                Refuse(Refusal::TooManyTokens, words.Column(), count);
                return false;
            }
            const std::optional<std::int32_t> owner = OwnerOf(*token);
            if (!owner) {
                Refuse(Refusal::NotAnOwner, words.Column());
                return false;
            }
            result_.owners.push_back(*owner);
            ++count;
        }
        if (count < static_cast<std::size_t>(result_.width)) {
            Refuse(Refusal::TooFewTokens, line.size() + 1, count);
            return false;
        }
        return true;
    }

    Lines lines_;
    LevelTextReader::Result result_;
};

}  // namespace

LevelTextReader::Result LevelTextReader::Read(std::string_view bytes) { return SectionReader(bytes).Read(); }

bool LevelTextReader::SizeOpens(std::int64_t width, std::int64_t height)
{
    return width >= 1 && height >= 1 && width * height <= OwnerGridArray::Capacity;
}
