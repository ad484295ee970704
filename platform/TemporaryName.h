#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The names of the hidden file a save writes the map to beside it before it
// takes the map's place: "." + the map's name + ".gridforge-save-" + six random
// characters of the system's alphabet. Text is the system's string of names:
// std::string in UTF-8 (POSIX) or std::wstring in UTF-16 (Windows). A map's
// name that leaves no room for the rest within the folder's limit is cut short
// at a character boundary; with hashCut the cut name carries "~" and a hash of
// the whole name (eight hexadecimal digits), so that the names of two files
// that begin alike stay apart.
template <class Text>
class TemporaryName {
public:
    using Char = typename Text::value_type;
    using View = std::basic_string_view<Char>;
    static constexpr std::size_t RandomLength = 6;

    // limit: the units (UTF-8 bytes, UTF-16 units) one name in the folder may
    // have; alphabet: the characters of the random part (a constant: it is
    // kept as it is given, not copied).
    TemporaryName(const Text& name, std::size_t limit, View alphabet, bool hashCut);

    // The temporary names without their random characters.
    const Text& Stem() const { return stem_; }
    // Whether all of the map's name is in them.
    bool Whole() const { return whole_; }
    // Whether entry, a name in the folder, is one of these temporary names.
    bool Matches(View entry) const;

private:
    Text stem_;
    View alphabet_;
    bool whole_ = true;
};

extern template class TemporaryName<std::string>;
extern template class TemporaryName<std::wstring>;
