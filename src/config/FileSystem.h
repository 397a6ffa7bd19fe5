#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Whole-file operations on the game's files, with the platform's behaviour
// made uniform: names as the program spells them (".\User.ini"), matched
// without regard to case, and replacements that never leave a half-written
// file behind.
namespace fenwake::files {

// The path a program name refers to now: backslashes are separators, and
// each component is matched without regard to ASCII case against the
// existing entries (an exact match wins, then the first in byte order).
// A name that matches nothing comes back as spelled.
std::filesystem::path Resolve(std::string_view programPath);

// The whole content of a regular file, or nothing when it is missing,
// not a regular file, or unreadable.
std::optional<std::string> ReadAll(const std::filesystem::path& path);

// An entry of that name exists and is not a directory.
bool Exists(const std::filesystem::path& path);

// The file is marked read-only (on POSIX: the owner's write bit is clear).
bool IsWriteProtected(const std::filesystem::path& path);

// Clears the read-only mark (and on Windows hidden/system/archive).
// Returns false when the file is missing or the change is refused.
bool ClearAttributes(const std::filesystem::path& path);

// Replaces the file's content with bytes, or creates it: the new content is
// written beside it and renamed over it once complete and flushed, so on any
// failure the old file is intact and nothing is left behind. Mode, owner and
// symbolic links are kept. Returns false on failure.
bool Replace(const std::filesystem::path& path, std::string_view bytes);

// Copies a file's content over another (created if missing) the same safe way.
bool Copy(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace fenwake::files
