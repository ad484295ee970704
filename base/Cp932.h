#pragma once

#include <cstddef>
#include <string>

// Texts as the status window holds them: in the Japanese ANSI code page
// (CP932). The texts stay UTF-8 here; only what the code page keeps of them
// and their lengths in its bytes are worked out.
//
// A character the code page lacks is written as its substitute "?" (one
// byte), and so is every ill-formed UTF-8 sequence (each maximal part of one,
// so that a cut-off character never swallows the character after it).
namespace Cp932 {
// The text as it comes back from the code page.
std::string HeldText(const std::string& utf8);
// The text's length in code-page bytes: ASCII and half-width katakana take
// one byte, the other characters the code page holds two.
std::size_t ByteLength(const std::string& utf8);
// The longest start of the held text, in whole characters, that fits in
// the given number of code-page bytes.
std::string Prefix(const std::string& utf8, std::size_t bytes);
// Characters of a UTF-8 text (every character CP932 holds is one UTF-16 unit).
std::size_t CharacterCount(const std::string& utf8);
}
