#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Parses the bytes of a map file. Pure: no file access, no document, no
// windows; any bytes give a result in one pass over the input.
class MapFileReader {
public:
    static constexpr std::size_t MaxOwnerValues = 2501;

    struct Result {
        bool headerOk = false;
        std::optional<std::int32_t> width;
        std::optional<std::int32_t> height;
        std::optional<std::int32_t> lock;
        // The owner values in file order, values that are not integers
        // skipped, at most MaxOwnerValues of them.
        std::vector<std::int32_t> owners;
    };

    static Result Read(std::string_view bytes);

    // A decimal int32 with an optional leading '-', nothing else.
    static std::optional<std::int32_t> ParseInteger(std::string_view token);

private:
    explicit MapFileReader(std::string_view bytes) : bytes_(bytes) {}

    bool ReadHeader();
    // The next value's text, or nothing at the end of the input.
    std::optional<std::string_view> NextToken();

    std::string_view bytes_;
    std::size_t pos_ = 0;
};
