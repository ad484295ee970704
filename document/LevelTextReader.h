#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Reads the own_map section out of a level text: the data viewer's text, or a
// whole level file with the section somewhere in it. The text around the
// section may be in any encoding that keeps ASCII bytes as they are (Shift_JIS,
// UTF-8); the other sections may come in any order or not at all; lines end in
// CR LF or LF, and a row may end in a space or not. The section is the form the
// editor writes: a keyword line "own_map= ", a size line "W H", then H rows of
// W tokens "00" to "06" separated by blanks. Pure: no file access, no
// document; one pass over the input, and at most one map's owners kept.
class LevelTextReader {
public:
    static constexpr std::string_view Keyword = "own_map=";

    enum class Refusal {
        None,
        NoSection,          // no line starts with "own_map="
        TwoSections,        // a second line starts with "own_map="
        TextAfterKeyword,   // the keyword line goes on after "own_map= "
        SizeNotTwoNumbers,  // the size line is not "W H"
        SizeNotOpened,      // W and H are numbers, but no map file may have them
        TooFewTokens,       // a row ends before W tokens
        TooManyTokens,      // a row goes on after W tokens
        NotAnOwner,         // a token that is not 00 to 06
        TooFewRows,         // the input or a blank line comes before H rows
    };

    struct Result {
        Refusal refusal = Refusal::None;
        // Where the refusal was found, both counted from 1; the column counts
        // bytes. For NoSection it is the end of the input.
        std::size_t line = 0;
        std::size_t column = 0;
        // For TooFewTokens and TooManyTokens the tokens of the row up to the
        // refusal, for TooFewRows the rows read.
        std::size_t found = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        // width x height owners, row by row from the top-left sector.
        std::vector<std::int32_t> owners;
    };

    static Result Read(std::string_view bytes);

    // The sizes a map file may have, and so the map window opens: 1 x 1 at
    // the least and no more sectors than the owner grid holds.
    static bool SizeOpens(std::int64_t width, std::int64_t height);
};
