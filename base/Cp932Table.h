#pragma once

// Which characters the Japanese ANSI code page (CP932, Shift_JIS with its
// vendor extensions) holds, and in how many bytes.
namespace Cp932Table {
// 1 or 2 for a character the code page holds; 0 for one it lacks.
int ByteCount(char32_t c);
// The character that comes back from the code page for a held one: the
// same, but for the few that the code page writes like another character.
char32_t ComesBackAs(char32_t c);
}
