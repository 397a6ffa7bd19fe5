#pragma once

#include "config/ConfigFile.h"
#include "config/GameFiles.h"
#include "rules/ChangeHistory.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The forty command aliases of User.ini: where they are stored, the line
// format (Command="...",Alias=...), and how a list row is taken apart.
namespace fenwake::aliases {

inline constexpr int kSlotCount = 40;
// While the lock is on, slots 0 to 18 (the game's own) cannot be edited.
inline constexpr int kLockedSlotCount = 19;
inline constexpr std::string_view kSection = game::kInputExtSection;
// What a slot without a stored line reads as; never written.
inline constexpr std::string_view kNotUsed = "not used";
inline constexpr std::string_view kClearedName = "None";
// Why a save with an empty name is refused.
inline constexpr std::string_view kEmptyName = "Alias name cannot be empty! You have to type a name before saving! ";

// The two fields of one slot as the editor shows them.
struct AliasFields {
    std::string command;
    std::string name;
    bool operator==(const AliasFields&) const = default;
};

bool IsSlot(int slot);

// "Aliases[n]"; throws std::out_of_range for anything but 0 to 39.
std::string SlotKey(int slot);

// The stored value: (Command=" command ",Alias= name ), exactly as given.
// There is no escaping: a quote in the command is written as it stands.
std::string ComposeValue(std::string_view command, std::string_view name);

// The list row of a slot: "[n]" followed by the stored value.
std::string RowText(int slot, std::string_view value);

// Takes a row apart by position: the command runs from after the first
// quote to the next quote; the seven characters after that quote (",Alias=")
// are skipped unchecked; the name is the rest but for the row's last
// character (the closing parenthesis). A row without those two quotes is not
// an alias line (a "not used" slot, for one) and shows two empty fields.
AliasFields ParseRow(std::string_view row);

// The slot whose key this is ("aliases[7]" is slot 7), in any letter case.
std::optional<int> SlotOfKey(std::string_view key);

bool IsLocked(int slot, bool lockOn);

// Whether a save of these fields into the slot may go ahead; the callers
// word the refusals their own way.
enum class SaveCheck {
    Allowed,
    EmptyName, // refused with kEmptyName
    Locked,    // the game's own slot while the lock is on: its line stays
};
SaveCheck CheckSave(int slot, const AliasFields& fields, bool lockOn);

// The slot's stored value as the file holds it now, "not used" without a line.
std::string ReadSlot(const ConfigFile& user, int slot);

// The forty rows, slot 0 first, as the file holds them now.
std::vector<std::string> LoadRows(const ConfigFile& user);

// Stores the fields in the slot and returns true, unless the slot already
// shows exactly these fields: then the line stays as it is, byte for byte,
// so saving what was only looked at never rewrites a line the editor cannot
// reproduce (spacing it does not keep, a value cut on reading). Only for
// fields CheckSave allows. A save is recorded as one change.
bool SaveSlot(const ConfigFile& user, int slot, const AliasFields& fields, const history::Recorder& recorder);

// What SaveSlot would store over the slot's stored value, or nothing when
// it would leave the line alone.
std::optional<std::string> ValueToSave(int slot, std::string_view stored, const AliasFields& fields);

} // namespace fenwake::aliases
