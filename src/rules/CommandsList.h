#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The ready-made commands offered by the command box, and their file.
namespace fenwake::commands {

inline constexpr std::string_view kFileName = "CommandsList_def.txt";

// The list the tool ships, already in its sorted order.
inline constexpr std::array<std::string_view, 48> kDefaults = {
    "ActivateAugmentation 0",
    "ActivateAugmentation 1",
    "ActivateAugmentation 2",
    "ActivateAugmentation 3",
    "ActivateAugmentation 4",
    "ActivateAugmentation 5",
    "ActivateAugmentation 6",
    "ActivateAugmentation 7",
    "ActivateAugmentation 8",
    "ActivateAugmentation 9",
    "ActivateBelt 0",
    "ActivateBelt 1",
    "ActivateBelt 2",
    "ActivateBelt 3",
    "ActivateBelt 4",
    "ActivateBelt 5",
    "ActivateBelt 6",
    "ActivateBelt 7",
    "ActivateBelt 8",
    "ActivateBelt 9",
    "AltFire",
    "Behindview 0",
    "Behindview 1",
    "Demorec ",
    "Duck",
    "FeignDeath",
    "Fire",
    "Jump",
    "Name <PutYourNameHere>",
    "NextBeltItem",
    "ParseLeftClick",
    "ParseRightClick",
    "ping",
    "PrevBeltItem",
    "PutInHand",
    "ReloadWeapon",
    "Report",
    "Shot ",
    "ShowMainMenu",
    "Stat Actor",
    "Stat fps",
    "Stat mesh",
    "Stat net",
    "StopDemo",
    "SwitchAmmo",
    "Talk",
    "TeamTalk",
    "ToggleAugDisplay|ToggleAmmoDisplay|ToggleCompass|ToggleHitDisplay|ToggleObjectBelt",
};

// Raised when the file cannot be read, created or saved; the text is the
// message the user sees.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kSaveFailed = "Unable to save commands file! ";
inline constexpr const char* kCreateFailed = "Unable to create commands file! ";
inline constexpr const char* kReadFailed = "Unable to read commands file! ";

// Where an entry goes in a sorted list: after every entry it does not sort before.
std::size_t SortedPosition(const std::vector<std::string>& sorted, std::string_view entry);

// The file's entries in file order: lines end at CR LF, a lone CR or a lone
// LF; a NUL byte ends the text; empty lines are entries.
std::vector<std::string> ParseFile(std::string_view bytes);

// Every entry followed by CR LF.
std::string FormatFile(const std::vector<std::string>& entries);

// The sorted list the command box offers: alphabetical without regard to
// ASCII case, ties keeping their order.
class CommandsList {
public:
    CommandsList();

    const std::vector<std::string>& Entries() const { return entries_; }
    // Returns the entry's place.
    std::size_t Add(std::string entry);
    void Remove(std::size_t index);
    // Replaces the whole list, each entry taking its sorted place.
    void Assign(std::vector<std::string> entries);

    // Start-up: loads the list from the file when it exists, else writes the
    // list to a new file. Throws FileError.
    void LoadOrCreate();
    // Writes the list over the file; on failure the old file is intact.
    // Throws FileError.
    void Save() const;

private:
    std::vector<std::string> entries_;
};

} // namespace fenwake::commands
