#pragma once

#include "config/ConfigFile.h"
#include "config/GameFiles.h"
#include "rules/ChangeHistory.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Where a key's binding lives in User.ini and how the page finds keys.
namespace fenwake::keys {

// The section the editor shows and edits, and the copy it keeps in step.
inline constexpr std::string_view kBindingSection = game::kInputExtSection;
inline constexpr std::string_view kCopySection = game::kInputSection;
// Shown for a key without a line; nothing treats it specially afterwards.
inline constexpr std::string_view kNoBind = "NOBIND";

inline constexpr std::string_view kExampleKey = "N";
inline constexpr std::string_view kExampleCommand = "ActivateBelt 0 | onrelease ParseLeftClick";

// The keys the editor offers, in list order and spelled as the game's
// files expect them (several in lower case).
// A table: several names to a line.
// clang-format off
inline constexpr std::array<std::string_view, 107> kKeyNames = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "Alt", "B", "Backslash", "Backspace", "C",
    "CapsLock", "Comma", "Ctrl", "D", "Delete", "Down", "E", "End", "Enter", "Equals", "Escape", "F", "F1",
    "F10", "F11", "F12", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "G", "GreyMinus", "GreyPlus",
    "GreySlash", "GreyStar", "H", "home", "i", "Insert", "j", "k", "L", "LControl", "Left", "LeftBracket",
    "LeftMouse", "LShift", "M", "MiddleMouse", "Minus", "MouseWheelDown", "MouseWheelUp", "N", "NumLock",
    "NumPad0", "NumPad1", "NumPad2", "NumPad3", "NumPad4", "NumPad5", "NumPad6", "NumPad7", "NumPad8",
    "NumPad9", "NumPadPeriod", "o", "P", "PageDown", "PageUp", "Pause", "period", "PrintScrn", "Q", "R",
    "RControl", "Right", "RightBracket", "RightMouse", "RShift", "S", "ScrollLock", "Semicolon", "Separator",
    "Shift", "SingleQuote", "Slash", "Space", "t", "Tab", "Tilde", "U", "Up", "V", "W", "X", "Y", "Z",
};
// clang-format on

// The key's binding as the User.ini holds it now (or a copy of it, such as
// its backup), or "NOBIND" when it has no line.
std::string ReadBinding(const ConfigFile& user, std::string_view key);

// The two writes of a binding save, the shown section first: several keys'
// entries can then go into one replacement of the file.
std::array<ConfigFile::Entry, 2> BindingEntries(std::string_view key, std::string_view command);

// Writes the text unchanged as the key's binding, the shown section first,
// in one replacement of the file, and records it as one change. Throws
// WriteError; both sections are then as they were.
void WriteBinding(const ConfigFile& user, std::string_view key, std::string_view command,
                  const history::Recorder& recorder);

// The key list's own spelling of a name given in any letter case.
std::optional<std::string_view> ListSpelling(std::string_view name);

// Writes the page's example binding to the shown section only.
void WriteExampleBinding(const ConfigFile& user, const history::Recorder& recorder);

// The first name starting with prefix (ignoring ASCII case), looking after
// the selected entry to the end, then from the top up to and including it.
// An empty prefix matches nothing.
std::optional<std::size_t> FindKey(std::string_view prefix, std::optional<std::size_t> selected,
                                   std::span<const std::string_view> names = kKeyNames);

} // namespace fenwake::keys
