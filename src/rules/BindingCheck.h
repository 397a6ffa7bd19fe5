#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What "fenwake-cli check" reports about a whole User.ini: where what the
// game reads would not do what it looks like it does (findings), and where
// the binding sections the game does not read differ from the one it does
// (notes).
namespace fenwake::check {

enum class FindingKind {
    ByteOrderMark,      // the file starts with one
    SectionsDisagree,   // a key's binding in another section differs from the one the game reads
    DuplicateKey,       // a key has more than one line in a binding section; the first counts
    UndefinedAlias,     // a binding calls an alias that no slot defines
    DuplicateAliasName, // two slots define the same name
    RiskyBinding,       // a key runs a command the review does not class as plain
    MissingSection,     // the file has no section of the input class the game reads
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

// Where the name of the input class comes from.
enum class ClassSource {
    Named,  // DeusEx.ini's line
    NoLine, // DeusEx.ini has no such line, or one naming nothing: the default
    NoFile, // there is no DeusEx.ini: the default
};

struct InputClass {
    std::string name; // also the name of its section in User.ini
    ClassSource source;
    bool operator==(const InputClass&) const = default;
};

// The input class DeusEx.ini's text names, read as the engine reads its
// profile entries; nothing for the text when there is no file.
InputClass ReadInputClass(std::optional<std::string_view> systemIni);

struct Report {
    std::vector<Finding> findings; // change what the game does; "check" exits 1 for them
    std::vector<Finding> notes;    // about the sections the game does not read, or its own missing
    bool operator==(const Report&) const = default;
};

// The check of the file's text, read as the game reads it: the first
// section of a name, the first line of a key, values quoted and cut as the
// game's reader does. Bindings are looked at for every engine key, in the
// section named readSection; the other binding sections only give notes.
Report CheckBindings(std::string_view userIni, std::string_view readSection);

} // namespace fenwake::check
