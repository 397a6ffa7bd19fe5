#pragma once

#include "config/IniText.h"

#include <charconv>
#include <string>
#include <string_view>

// What the other writer of the concurrency tests (OtherWriter.cpp) puts in
// the file with its save number n. Its numbered line is the file's last, so
// a file that ends with it is one of its saves whole.
namespace fenwake::test::other {

inline constexpr std::string_view kSection = "OtherTool";
inline constexpr std::string_view kSavesKey = "Saves";
// The one entry that the tests' own saves write too.
inline constexpr std::string_view kSharedSection = "Extension.Input";
inline constexpr std::string_view kSharedKey = "F1";

inline std::string WithSave(std::string text, long n)
{
    const std::string s = std::to_string(n);
    ini::ApplyWriteInPlace(text, "DefaultPlayer", "Name", "Other" + s);
    ini::ApplyWriteInPlace(text, "Extension.InputExt", "F11", "say other " + s);
    ini::ApplyWriteInPlace(text, kSharedSection, kSharedKey, "say other " + s);
    ini::ApplyWriteInPlace(text, kSection, kSavesKey, s);
    return text;
}

// The number of the save the text carries, 0 for none.
inline long SavesIn(std::string_view text)
{
    long n = 0;
    if (const auto v = ini::FindValue(text, kSection, kSavesKey)) std::from_chars(v->data(), v->data() + v->size(), n);
    return n;
}

} // namespace fenwake::test::other
