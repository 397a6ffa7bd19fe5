#pragma once

#include "shell/ShellLink.h"

#include <string>
#include <string_view>
#include <vector>

// The freedesktop.org Desktop Entry form of a shortcut.
namespace fenwake::shell {

// A value as the key file format stores it: backslash, line breaks and tabs
// escaped, and a leading blank kept with "\s".
std::string EscapeValue(std::string_view value);

// One argument of an Exec key, before EscapeValue: in double quotes, with
// '"', '`', '$' and '\' escaped by a backslash and '%' doubled.
std::string QuoteExecArgument(std::string_view argument);

// A Windows-style argument string split as a Windows program splits its
// command line: blanks separate, double quotes group, and backslashes are
// literal except before a double quote.
std::vector<std::string> SplitArguments(std::string_view arguments);

// The whole .desktop file for the link (Type=Application, Name, Exec, Path,
// Terminal=false).
std::string DesktopEntry(const ShellLink& link);

} // namespace fenwake::shell
