#pragma once

#include <string>
#include <string_view>
#include <vector>

// What "fenwake-cli check" reports about a whole User.ini: what the game
// reads differs from what the other binding sections say, or would not do
// what it looks like it does.
namespace fenwake::check {

enum class FindingKind {
    ByteOrderMark,      // the file starts with one
    SectionsDisagree,   // a key's binding in another section differs from the one the game reads
    DuplicateKey,       // a key has more than one line in a binding section; the first counts
    UndefinedAlias,     // a binding calls an alias that no slot defines
    DuplicateAliasName, // two slots define the same name
    RiskyBinding,       // a key runs a command the review does not class as plain
};

// A short fixed name for scripts: "byte-order-mark", "sections-disagree", ...
std::string_view KindName(FindingKind kind);

struct Finding {
    FindingKind kind;
    std::string section; // empty for the file as a whole
    std::string key;     // a key, an alias slot's key or an alias name; may be empty
    std::string detail;  // for people; secrets in it are masked
    bool operator==(const Finding&) const = default;
};

// Every finding over the file's text, read as the game reads it: the first
// section of a name, the first line of a key, values quoted and cut as the
// game's reader does. Bindings are looked at for every engine key.
std::vector<Finding> CheckBindings(std::string_view userIni);

} // namespace fenwake::check
