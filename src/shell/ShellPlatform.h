#pragma once

#include "shell/TFastShellLink.h"

#include <string>

// What each platform supplies to TFastShellLink (TFastShellLink_posix.cpp,
// TFastShellLink_win.cpp).
namespace fenwake::shell {

// The folder's path for the current user, without a trailing separator;
// empty when the platform has no such folder or its record cannot be read.
std::string FolderPath(TFastShellFolder folder);

// Creates the folder and any missing ancestors; failures are left for the
// write to find.
void MakeFolder(const std::string& path);

// Writes the link file into an existing folder. Returns whether it was written.
bool SaveLink(const TFastShellLink& link, const std::string& folder);

} // namespace fenwake::shell
