#pragma once

#include "shell/ShellLink.h"

#include <string>

// What each platform supplies to ShellLink (ShellLink_posix.cpp,
// ShellLink_win.cpp).
namespace fenwake::shell {

// The folder's path for the current user, without a trailing separator;
// empty when the platform has no such folder or its record cannot be read.
std::string FolderPath(ShellFolder folder);

// Creates the folder and any missing ancestors; failures are left for the
// write to find.
void MakeFolder(const std::string& path);

// Writes the link file into an existing folder. Returns whether it was written.
bool SaveLink(const ShellLink& link, const std::string& folder);

} // namespace fenwake::shell
