#pragma once
// Small steps shared by the number readers: skipping blanks and taking an
// optional sign. Each advances `i` over what it took.
#include <cstddef>
#include <string_view>

// Skips spaces (only ' ') from position `i`.
inline void skipSpaces(std::string_view text, std::size_t &i)
{
    while (i < text.size() && text[i] == ' ')
        ++i;
}

// Takes one '+' or '-' at position `i`, if there is one; true for '-'.
inline bool takeSign(std::string_view text, std::size_t &i)
{
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return text[i++] == '-';
    return false;
}
