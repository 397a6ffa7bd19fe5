#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Letter case as the game and the platform's profile functions see it: only
// A-Z and a-z are one letter in two cases; every other byte is itself.
namespace fenwake::ascii {

constexpr char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string ToLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = Lower(c);
    return out;
}

constexpr bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

constexpr bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return prefix.size() <= s.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

constexpr bool ContainsNoCase(std::string_view haystack, std::string_view needle)
{
    for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i)
        if (EqualsNoCase(haystack.substr(i, needle.size()), needle)) return true;
    return false;
}

// Alphabetical order without regard to case; bytes compare unsigned.
inline bool LessNoCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    });
}

} // namespace fenwake::ascii
