#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The names of the hidden file a save writes the map to, beside the map, before
// it takes the map's place: "." + the map's name + ".gridforge-save-" + six
// random letters or digits. Both systems name it so; Text is the system's
// string of names: std::string in UTF-8 (POSIX) or std::wstring in UTF-16
// (Windows). When the map's name leaves no room for the rest within the
// folder's limit, it is cut at a character boundary and followed by "~" and
// a hash of the whole name in UTF-8, so that two long names that begin alike
// keep apart and a name gives the same temporary names on either system.
template <class Text>
class TemporaryName {
public:
    using Char = typename Text::value_type;
    using View = std::basic_string_view<Char>;
    static constexpr std::size_t RandomLength = 6;

    // limit: how many units (UTF-8 bytes, UTF-16 units) one name in the
    // folder may have.
    TemporaryName(const Text& name, std::size_t limit);

    // The temporary names without their random characters.
    const Text& Stem() const { return stem_; }
    // A new temporary name: the stem and six random characters, different on
    // each call and in each process.
    Text Random() const;
    // Whether entry, a name in the folder, is one of these temporary names.
    // The six characters may be any letters or digits, so the names older
    // builds gave are recognised too (six digits on Windows).
    bool Matches(View entry) const;

private:
    Text stem_;
};

extern template class TemporaryName<std::string>;
extern template class TemporaryName<std::wstring>;
