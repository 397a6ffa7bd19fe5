#include "config/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <random>
#include <set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace fenwake::files {
namespace fs = std::filesystem;
namespace {

bool SameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool EntryExists(const fs::path& p)
{
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0;
}

// The first entry of dir, in byte order, whose name matches without regard to case.
std::optional<std::string> MatchInDirectory(const fs::path& dir, std::string_view name)
{
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view entry(e->d_name);
        if (SameNoCase(entry, name) && (!best || entry < *best)) best = std::string(entry);
    }
    ::closedir(d);
    return best;
}

int WriteAll(int fd, std::string_view bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

constexpr std::string_view kTempMark = ".fenwake-";
constexpr std::string_view kTempEnd = ".tmp";

std::string TempPrefix(const fs::path& target)
{
    // Built by appending: GCC 12 at -O3 sees a false overlap in "." + string.
    std::string prefix(1, '.');
    prefix.append(target.filename().string()).append(kTempMark);
    return prefix;
}

// A write killed before its rename leaves its temporary behind; a later
// write of the same file clears it so the game folder collects no litter.
// True when every stale temporary is gone.
bool RemoveStaleTemporaries(const fs::path& dir, const std::string& prefix)
{
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name(e->d_name);
        if (name.size() > prefix.size() + kTempEnd.size() && name.starts_with(prefix) && name.ends_with(kTempEnd))
            stale.emplace_back(name);
    }
    ::closedir(d);
    bool cleared = true;
    for (const auto& name : stale) cleared = ::unlink((dir / name).c_str()) == 0 && cleared;
    return cleared;
}

// Listing a game's System folder (hundreds of files) costs a good part of a
// write, and this process leaves litter only by dying, so each folder and
// file is swept once per run: litter found at start-up is what there is.
// The folder's identity is part of the key, so a folder deleted and made
// anew is swept again.
void SweepOnce(const fs::path& dir, const struct stat& dirSt, const std::string& prefix)
{
    static std::mutex mutex;
    static std::set<std::string> swept;
    std::error_code ec;
    std::string key = fs::absolute(dir, ec).lexically_normal().string();
    if (ec) key = dir.string();
    key.append("\n").append(prefix).append("\n");
    key.append(std::to_string(dirSt.st_dev)).append(":").append(std::to_string(dirSt.st_ino));

    const std::lock_guard lock(mutex);
    if (swept.contains(key)) return;
    if (RemoveStaleTemporaries(dir, prefix)) swept.insert(std::move(key));
}

std::string RandomTag()
{
    static std::mt19937_64 gen{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(gen()));
    return buf;
}

// Where the bytes really go: a symbolic link keeps pointing at its target.
fs::path RealTarget(const fs::path& path)
{
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    fs::path real = fs::weakly_canonical(path, ec);
    return ec ? path : real;
}

std::int64_t Nanoseconds(const struct timespec& t)
{
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

Stamp StampFrom(const struct stat& st)
{
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size), Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
}

// Whether another process has the file open for writing: Linux grants a
// read lease only when nobody has. The lease is let go at once; should a
// writer open the file in that moment, its notice comes as SIGURG, which is
// ignored, instead of SIGIO, which would end this program. False where
// leases are not to be had (not the owner, a file system without them).
bool OpenForWriting(int readOnlyFd)
{
#ifdef F_SETLEASE
    if (::fcntl(readOnlyFd, F_SETSIG, SIGURG) != 0) return false;
    if (::fcntl(readOnlyFd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(readOnlyFd, F_SETLEASE, F_UNLCK);
        return false;
    }
    return errno == EAGAIN;
#else
    (void)readOnlyFd;
    return false;
#endif
}

bool OpenForWriting(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const bool writing = OpenForWriting(fd);
    ::close(fd);
    return writing;
}

} // namespace

std::int64_t Now()
{
    struct timespec t;
    ::clock_gettime(CLOCK_REALTIME, &t);
    return Nanoseconds(t);
}

std::optional<Stamp> StampOf(const fs::path& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return StampFrom(st);
}

fs::path Resolve(std::string_view programPath)
{
    std::string spelled(programPath);
    std::replace(spelled.begin(), spelled.end(), '\\', '/');
    const fs::path given(spelled);

    fs::path current;
    bool matching = true; // once a component is missing, the rest cannot exist
    for (const auto& part : given) {
        const std::string name = part.string();
        if (!matching || name.empty() || name == "." || name == ".." || part == given.root_path() ||
            part == given.root_directory()) {
            current /= part;
            continue;
        }
        fs::path exact = current / part;
        if (EntryExists(exact)) {
            current = std::move(exact);
            continue;
        }
        if (auto found = MatchInDirectory(current, name)) {
            current /= *found;
        } else {
            current = std::move(exact);
            matching = false;
        }
    }
    return current;
}

std::optional<Snapshot> ReadStamped(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    Snapshot snapshot;
    snapshot.before = StampFrom(st);
    // One byte of room past the size, so the read that meets the end needs
    // no larger buffer (and no copy of the whole file) to find it.
    std::string& bytes = snapshot.bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size) + 1 + kEditRoom);
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) bytes.resize(bytes.size() + 4096); // the file grew meanwhile
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    snapshot.writing = OpenForWriting(fd);
    const bool stamped = ::fstat(fd, &st) == 0;
    ::close(fd);
    if (!stamped) return std::nullopt;
    snapshot.after = StampFrom(st);
    bytes.resize(got);
    return snapshot;
}

std::optional<std::string> ReadAll(const fs::path& path)
{
    auto snapshot = ReadStamped(path);
    if (!snapshot) return std::nullopt;
    return std::move(snapshot->bytes);
}

bool Exists(const fs::path& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool IsWriteProtected(const fs::path& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

bool ClearAttributes(const fs::path& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    const mode_t wanted = st.st_mode | S_IRUSR | S_IWUSR;
    if (wanted == st.st_mode) return true;
    return ::chmod(path.c_str(), wanted & 07777) == 0;
}

bool Append(const fs::path& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

namespace {

using StampOrMissing = std::optional<Stamp>;

// Moves the new file to the target's name. expected: the file it may take
// the place of (nothing: no file at all). Where the system can swap two
// names in one step, the file swapped out is looked at afterwards: one
// saved by another program in the moment before the swap is swapped back
// and the move reported Changed, so that no moment remains in which a save
// is undone unseen. Elsewhere only the instant of the rename remains.
Outcome MoveInto(const fs::path& temp, const fs::path& target, const StampOrMissing* expected, const Stamp& own)
{
#if defined(RENAME_EXCHANGE) && defined(RENAME_NOREPLACE)
    if (expected && !*expected) {
        if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return Outcome::Replaced;
        if (errno == EEXIST) return Outcome::Changed;
        if (errno != EINVAL && errno != ENOSYS) return Outcome::Failed;
    } else if (expected) {
        if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
            // The swap itself moves the change time of both files.
            const auto swapped = StampOf(temp);
            if (swapped && swapped->SameContent(**expected) && !OpenForWriting(temp)) {
                ::unlink(temp.c_str());
                return Outcome::Replaced;
            }
            const auto now = StampOf(target);
            if (now && now->SameContent(own))
                ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE);
            return Outcome::Changed; // the caller removes what is left under the temporary's name
        }
        if (errno != EINVAL && errno != ENOSYS) return Outcome::Failed;
    }
#else
    (void)expected;
    (void)own;
#endif
    return ::rename(temp.c_str(), target.c_str()) == 0 ? Outcome::Replaced : Outcome::Failed;
}

} // namespace

Outcome ReplaceChecked(const fs::path& path, std::string_view bytes, const std::optional<Stamp>* expected,
                       Stamp* written)
{
    const fs::path target = RealTarget(path);
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";

    struct stat dirSt;
    // A directory without its owner's write bit is protected, for root too.
    if (::stat(dir.c_str(), &dirSt) != 0 || !S_ISDIR(dirSt.st_mode) || (dirSt.st_mode & S_IWUSR) == 0)
        return Outcome::Failed;

    struct stat old;
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && (!S_ISREG(old.st_mode) || (old.st_mode & S_IWUSR) == 0)) return Outcome::Failed;

    const std::string prefix = TempPrefix(target);
    SweepOnce(dir, dirSt, prefix);
    const fs::path temp = dir / (prefix + RandomTag() + std::string(kTempEnd));

    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Outcome::Failed;
    bool ok = WriteAll(fd, bytes) == 0;
    if (ok && existed) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
            // Only root may hand the file back to its owner; others keep theirs.
            if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) ok = false;
        }
    }
    ok = ok && ::fsync(fd) == 0;
    struct stat own;
    ok = ok && ::fstat(fd, &own) == 0;
    ok = (::close(fd) == 0) && ok;
    Outcome outcome = ok ? Outcome::Replaced : Outcome::Failed;
    // The last look, its cheapest part last.
    if (ok && expected && ((*expected && OpenForWriting(target)) || StampOf(target) != *expected))
        outcome = Outcome::Changed;
    if (outcome == Outcome::Replaced) {
        const StampOrMissing previous = expected && *expected ? StampOrMissing(**expected) : StampOrMissing();
        outcome = MoveInto(temp, target, expected ? &previous : nullptr, StampFrom(own));
    }
    if (outcome != Outcome::Replaced) {
        ::unlink(temp.c_str());
        return outcome;
    }
    if (written) *written = StampFrom(own);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd); // the rename itself must survive a power cut
        ::close(dfd);
    }
    return Outcome::Replaced;
}

} // namespace fenwake::files
