#pragma once

#include <cstddef>
#include <string>

// Texts as the status window stores them: the ANSI code page CP932.
// Characters the code page lacks become its substitute "?".
namespace Cp932 {
// UTF-8 text to CP932 bytes.
std::string FromUtf8(const std::string& utf8);
// CP932 bytes to UTF-8 text; bytes that form no character become "?".
std::string ToUtf8(const std::string& bytes);
// Characters of a UTF-8 text (every character CP932 holds is one UTF-16 unit).
std::size_t CharacterCount(const std::string& utf8);
}
