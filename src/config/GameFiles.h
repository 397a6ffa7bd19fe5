#pragma once

#include "config/ConfigFile.h"

#include <string>
#include <string_view>

// The game's two configuration files and the sections the key editors share,
// each named once.
namespace fenwake::game {

// As the program names them: relative to the current directory, the game's
// System folder. The leading ".\" is also how the write error names them.
inline constexpr std::string_view kUserIni = ".\\User.ini";
inline constexpr std::string_view kSystemIni = ".\\DeusEx.ini";

// The game's program, and Kentie's launcher that many players start instead.
inline constexpr std::string_view kGameProgram = "DeusEx.exe";
inline constexpr std::string_view kLauncherProgram = "DeusExe.exe";

// User.ini's section of bindings and aliases, and the copy of the bindings
// that every binding save keeps in step.
inline constexpr std::string_view kInputExtSection = "Extension.InputExt";
inline constexpr std::string_view kInputSection = "Extension.Input";
// The engine's own binding section, which older files and other tools keep.
inline constexpr std::string_view kEngineInputSection = "Engine.Input";

// DeusEx.ini's entry naming the input class: the game reads its bindings
// and aliases from User.ini's section of that class, and from this one when
// DeusEx.ini names none.
inline constexpr std::string_view kEngineSection = "Engine.Engine";
inline constexpr std::string_view kInputClassKey = "Input";
inline constexpr std::string_view kDefaultInputClass = kInputExtSection;

// What an editor that saved a file as UTF-8 may put first; the game reads it
// as part of the first line.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

inline ConfigFile UserIni() { return ConfigFile(std::string(kUserIni)); }
inline ConfigFile SystemIni() { return ConfigFile(std::string(kSystemIni)); }

} // namespace fenwake::game
