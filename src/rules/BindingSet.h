#pragma once

#include "config/ConfigFile.h"
#include "rules/ChangeHistory.h"

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

// What the window shows of every key and alias slot, in list order.
struct ShownState {
    std::vector<std::string> keys;    // "NOBIND" for a key without a line
    std::vector<std::string> aliases; // stored values, "not used" without a line
};
ShownState ReadShownState(const ConfigFile& user);

// Per key and slot, from one state to the other.
std::vector<Change> Differences(const ShownState& from, const ShownState& to);

// An [Extension.InputExt] section with every key and slot that has a line.
std::string WriteSet(const ShownState& shown, std::string_view eol);

// The key-list keys and alias slots of a set or pasted fragment.
struct SetLines {
    std::vector<std::pair<std::string_view, std::string>> keys; // list spelling, value as written
    std::vector<std::pair<int, std::string>> aliases;
    std::vector<std::string> unknown; // other names in the input sections
};
SetLines ReadSet(std::string_view text);

struct Plan {
    struct Write {
        std::string key;
        std::string value;
        bool alias;
    };
    std::vector<Change> changes;
    std::vector<std::string> locked;  // slots that differ but are locked
    std::vector<std::string> refused; // alias lines without a name
    std::vector<Write> writes;
};
// The saves the window would make to show the set's values.
Plan PlanImport(const ConfigFile& user, const SetLines& set, bool unlock);

// Every write of the plan in one replacement of the file, each key and slot
// recorded as a change of its own; throws WriteError.
void ApplyPlan(const ConfigFile& user, const Plan& plan, const history::Recorder& recorder);

} // namespace fenwake::sets
