#pragma once

#include <chrono>
#include <cstdint>
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

// One state of a file: which file the name leads to, its size and its
// times. Equal stamps of one name mean no write came between them, except
// one of the same size within the file system's timestamp tick.
struct Stamp {
    std::uint64_t device = 0;
    std::uint64_t file = 0; // inode, or file index
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since 1970
    std::int64_t changed = 0;  // also moved by renames and mode changes; 0 where unknown

    bool operator==(const Stamp&) const = default;
    // The same bytes, though a rename may have touched the file since.
    bool SameContent(const Stamp& o) const
    {
        return device == o.device && file == o.file && size == o.size && modified == o.modified;
    }
};

// The clock that Stamp::modified comes from.
std::int64_t Now();

// The stamp of the regular file the name leads to now, or nothing.
std::optional<Stamp> StampOf(const std::filesystem::path& path);

inline constexpr std::size_t kEditRoom = 8192;

struct Snapshot {
    std::string bytes;
    Stamp before; // as the file was opened
    Stamp after;  // once its last byte was read; unequal when a write came between
    // Another program had it open for writing just after it was read: a save
    // may be under way, however old the stamp. Where the platform cannot
    // tell, false (Windows refuses to rename over such a file instead).
    bool writing = false;
};

// The whole content of a regular file with its stamps, or nothing when it
// is missing, not a regular file, or unreadable. The text has spare room
// for a write's few edits, so that they grow it without copying the file.
std::optional<Snapshot> ReadStamped(const std::filesystem::path& path);

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

enum class Outcome { Replaced, Changed, Failed };

// Replace, but only over the very file stamped expected (nothing: only while
// there is still no file) and not open for writing elsewhere, as checked
// after the new bytes are flushed, just before the rename. Changed when
// another writer came first; nothing is left behind then. On success
// written is the new file's stamp.
Outcome ReplaceIfUnchanged(const std::filesystem::path& path, std::string_view bytes,
                           const std::optional<Stamp>& expected, Stamp& written);

// Copies a file's content over another (created if missing) the same safe way.
// Unlike a plain platform copy, the destination keeps its own attributes:
// restoring a backup never makes the configuration file read-only.
bool Copy(const std::filesystem::path& from, const std::filesystem::path& to);

// Adds the bytes at the end of an existing file in one write and flushes
// them to disk before it returns; the bytes already there are never
// touched, and another program's appends land before or after, never
// inside. A crash may leave only the first part of the bytes. Returns false
// on failure, and when there is no file.
bool Append(const std::filesystem::path& path, std::string_view bytes);

// The platform's replacement behind the three above (FileSystem_posix.cpp,
// FileSystem_win.cpp). expected, when given, is what ReplaceIfUnchanged
// expects; written, when given, receives the new file's stamp.
Outcome ReplaceChecked(const std::filesystem::path& path, std::string_view bytes, const std::optional<Stamp>* expected,
                       Stamp* written);

// How long writes wait for other programs. The defaults suit a player's
// machine; tests that provoke the waits shorten them.
struct Patience {
    // A file changed more recently than this may be in the middle of a save
    // (truncated, half written); longer than the timestamp tick of the
    // usual file systems, so a later write always moves the stamp.
    std::chrono::milliseconds settle{20};
    // How long a write waits for a busy file to settle before it fails.
    std::chrono::milliseconds settleLimit{500};
    // Read-modify-replace rounds that another writer may spoil before the
    // write fails.
    int rounds = 8;
    // How long a rename waits for a file that another program holds open
    // (Windows only; scanners and indexers let go within milliseconds).
    std::chrono::milliseconds held{600};
};

const Patience& CurrentPatience();

// Sets the patience for this object's lifetime.
class PatienceScope {
public:
    explicit PatienceScope(const Patience& patience);
    ~PatienceScope();
    PatienceScope(const PatienceScope&) = delete;
    PatienceScope& operator=(const PatienceScope&) = delete;

private:
    Patience saved_;
};

} // namespace fenwake::files
