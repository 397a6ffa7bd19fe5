#pragma once

#include "config/ConfigFile.h"
#include "rules/ChangeHistory.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Binding sets: the key bindings and alias lines of User.ini as a small INI
// text that players pass around, and the changes that applying one makes.
namespace fenwake::sets {

// One key or alias slot whose shown value differs between two states.
struct Change {
    std::string name; // "F5", "Aliases[20]"
    std::string before;
    std::string after;
};

// Every key a set carries: the window's list first, in its order, then the
// engine's other keys in key-code order, each under the spelling written.
std::span<const std::string_view> SetKeys();

// What the window shows of every key and alias slot.
struct ShownState {
    std::vector<std::string> keys;    // per SetKeys(); "NOBIND" for a key without a line
    std::vector<std::string> aliases; // stored values, "not used" without a line
};
ShownState ReadShownState(const ConfigFile& user);

// Masks the secrets of every binding and alias, as a set that leaves the
// machine must; the number masked.
std::size_t HideSecrets(ShownState& shown);

// Per key and slot, from one state to the other.
std::vector<Change> Differences(const ShownState& from, const ShownState& to);

// An [Extension.InputExt] section with every slot that has a line, every
// key of the window's list that has one and every other key bound.
std::string WriteSet(const ShownState& shown, std::string_view eol);

// The line ends of a set saved to a file, as the game's own files have them.
inline constexpr std::string_view kSetFileEol = "\r\n";

// The user's set as it leaves the machine: secrets masked unless kept, and
// how many there are either way.
struct SharedSet {
    std::string text;
    std::size_t secrets = 0;
};
SharedSet ShareSet(const ConfigFile& user, bool keepSecrets, std::string_view eol);

// The keys and alias slots of a set, a pasted fragment or a whole User.ini.
struct SetLines {
    std::vector<std::pair<std::string_view, std::string>> keys; // spelling of SetKeys(), value as written
    std::vector<std::pair<int, std::string>> aliases;
    std::vector<std::string> unknown; // names in the input sections that are no key or slot, once each
    std::size_t unknownLines = 0;     // the lines of those names
    std::size_t otherLines = 0;       // lines of other sections
    // Keys off the window's list with nothing bound: a whole User.ini lists
    // every engine key, most of them empty, and a set leaves them out.
    std::size_t emptyKeys = 0;
};
SetLines ReadSet(std::string_view text);

// The most bytes a set is read from. A whole User.ini is some tens of KB; a
// file many times larger is a wrong pick, refused before it is read.
inline constexpr std::size_t kMaxSetBytes = 4 * 1024 * 1024;

struct SetFile {
    enum class Status { Read, Unreadable, TooLarge };
    Status status = Status::Unreadable;
    std::string text;
};
SetFile ReadSetFile(const std::filesystem::path& file);

// Not one key or alias line: a binary file, or text of something else.
inline bool BindsNothing(const SetLines& set) { return set.keys.empty() && set.aliases.empty(); }

struct Plan {
    struct Write {
        std::string key;
        std::string value;
        bool alias;
    };
    // A change whose commands the review does not class as plain.
    struct Risk {
        std::string name;
        std::string detail; // review::Describe of its commands, secrets masked
    };
    std::vector<Change> changes;
    std::vector<std::string> locked;  // slots that differ but are locked
    std::vector<std::string> refused; // alias lines without a name
    std::vector<std::string> masked;  // lines holding a masked secret: never written over a value
    std::vector<std::string> withNul; // values holding a NUL byte
    std::vector<std::string> tooLong; // values longer than a read returns (ini::kMaxValueLength)
    std::vector<Risk> risky;          // in the order of changes
    std::vector<Write> writes;
};
// The saves the window would make to show the set's values, each change
// reviewed; lines that are skipped are named in the plan.
Plan PlanImport(const ConfigFile& user, const SetLines& set, bool unlock);

// The plan with only the named changes, their writes and their risks; the
// skipped lines stay named.
Plan Only(const Plan& plan, std::span<const std::string> names);

// Every write of the plan in one replacement of the file, each key and slot
// recorded as a change of its own; throws WriteError.
void ApplyPlan(const ConfigFile& user, const Plan& plan, const history::Recorder& recorder);

} // namespace fenwake::sets
