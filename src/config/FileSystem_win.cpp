#include "config/FileSystem.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include <windows.h>
#include <winternl.h>

// Wide calls throughout: a std::filesystem::path is UTF-16 on Windows, so a
// game folder whose name is outside the ANSI code page still works. Narrow
// names from the program are ANSI, as the platform's own "A" calls take them.
namespace fenwake::files {
namespace fs = std::filesystem;
namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    void Reset(HANDLE h)
    {
        Close();
        h_ = h;
    }
    bool Close()
    {
        if (!Valid()) return true;
        const bool ok = ::CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

DWORD Attributes(const fs::path& p) { return ::GetFileAttributesW(p.c_str()); }

bool IsMissing(DWORD attrs)
{
    if (attrs != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD e = ::GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
}

std::wstring Widen(std::string_view s)
{
    if (s.empty() || s.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

bool WriteAll(HANDLE h, std::string_view bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(left < (1u << 30) ? left : (1u << 30));
        DWORD written = 0;
        if (!::WriteFile(h, p, chunk, &written, nullptr) || written == 0) return false;
        p += written;
        left -= written;
    }
    return true;
}

constexpr std::wstring_view kTempMark = L".fenwake-";
constexpr std::wstring_view kTempEnd = L".tmp";

std::wstring TempPrefix(const fs::path& target)
{
    std::wstring prefix(1, L'.');
    prefix.append(target.filename().native()).append(kTempMark);
    return prefix;
}

// A write killed before its rename leaves its temporary behind; the next
// write of the same file clears it so the game folder collects no litter.
// A temporary still being written elsewhere is open without delete sharing,
// so it survives this.
void RemoveStaleTemporaries(const fs::path& dir, const std::wstring& prefix)
{
    WIN32_FIND_DATAW found;
    const fs::path pattern = dir / (prefix + L"*");
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> stale;
    do {
        const std::wstring_view name(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name.size() > prefix.size() + kTempEnd.size() &&
            name.starts_with(prefix) && name.ends_with(kTempEnd))
            stale.emplace_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    for (const auto& name : stale) ::DeleteFileW((dir / name).c_str());
}

std::wstring RandomTag()
{
    static std::mt19937_64 gen{std::random_device{}() ^ (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^
                               ::GetTickCount64()};
    wchar_t buf[17];
    std::swprintf(buf, sizeof buf / sizeof buf[0], L"%016llx", static_cast<unsigned long long>(gen()));
    return buf;
}

// Where the bytes really go: a symbolic link keeps pointing at its target.
std::optional<fs::path> FinalPath(const fs::path& link)
{
    Handle h(::CreateFileW(link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.Valid()) return std::nullopt;
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFinalPathNameByHandleW(h.Get(), buf.data(), static_cast<DWORD>(buf.size()),
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return std::nullopt;
        if (n < buf.size()) {
            buf.resize(n);
            return fs::path(buf);
        }
        buf.resize(n);
    }
}

// FILETIME counts 100 ns steps from 1601.
std::int64_t Nanoseconds(std::uint64_t high, std::uint64_t low)
{
    constexpr std::int64_t kFrom1601To1970 = 116444736000000000;
    return (static_cast<std::int64_t>((high << 32) | low) - kFrom1601To1970) * 100;
}

std::int64_t Nanoseconds(const FILETIME& t) { return Nanoseconds(t.dwHighDateTime, t.dwLowDateTime); }

std::int64_t Nanoseconds(const LARGE_INTEGER& t)
{
    return Nanoseconds(static_cast<std::uint32_t>(t.HighPart), t.LowPart);
}

// The file's index by the NT call, which Wine answers from the file alone:
// GetFileInformationByHandle and FileIdInfo also ask the volume for its
// serial number, a third of a millisecond a call under Wine. The volume is
// left out of the stamp; it does not change under one name.
std::optional<std::uint64_t> FileIndex(HANDLE h)
{
    using Query = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS);
    static const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    IO_STATUS_BLOCK io;
    FILE_INTERNAL_INFORMATION info;
    if (query && query(h, &io, &info, sizeof info, FileInternalInformation) >= 0)
        return static_cast<std::uint64_t>(info.IndexNumber.QuadPart);
    BY_HANDLE_FILE_INFORMATION byHandle;
    if (!::GetFileInformationByHandle(h, &byHandle)) return std::nullopt;
    return (static_cast<std::uint64_t>(byHandle.nFileIndexHigh) << 32) | byHandle.nFileIndexLow;
}

std::optional<Stamp> StampOfHandle(HANDLE h)
{
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ||
        !::GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard) || standard.Directory)
        return std::nullopt;
    const auto index = FileIndex(h);
    if (!index) return std::nullopt;
    Stamp stamp;
    stamp.file = *index;
    stamp.size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    stamp.modified = Nanoseconds(basic.LastWriteTime);
    stamp.changed = Nanoseconds(basic.ChangeTime);
    return stamp;
}

// The size and write time by name, in one call: the cheapest last look
// before a rename, after the full stamp was compared.
bool SameSizeAndTime(const fs::path& path, const std::optional<Stamp>& expected)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return !expected && IsMissing(INVALID_FILE_ATTRIBUTES);
    return expected && expected->size == ((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) &&
           expected->modified == Nanoseconds(data.ftLastWriteTime);
}

bool IsHeld(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Renaming over a file that another program holds open fails; virus
// scanners and indexers let go within milliseconds, so it is tried for
// Patience::held. expected: before each try, the file must still be the
// one it stamps (or still be missing). The rename goes through a handle
// opened beforehand, so that only one call follows the last look; should
// the system refuse that way, the plain move is used.
Outcome MoveOver(const fs::path& from, const fs::path& to, const std::optional<Stamp>* expected)
{
    Handle source(::CreateFileW(from.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::error_code ec;
    const std::wstring name = fs::absolute(to, ec).native();
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.data(), rename->FileNameLength);
    const auto renamed = [&] {
        if (source.Valid() && !ec) {
            if (::SetFileInformationByHandle(source.Get(), FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) {
                ::FlushFileBuffers(source.Get()); // the rename itself must survive a power cut
                return true;
            }
            if (IsHeld(::GetLastError())) return false;
            source.Close();
        }
        return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    };

    using Clock = std::chrono::steady_clock;
    const Clock::time_point giveUp = Clock::now() + CurrentPatience().held;
    std::chrono::milliseconds wait{10};
    for (;;) {
        if (expected && (StampOf(to) != *expected || !SameSizeAndTime(to, *expected))) return Outcome::Changed;
        if (renamed()) return Outcome::Replaced;
        const DWORD e = ::GetLastError();
        const Clock::time_point now = Clock::now();
        if (now >= giveUp || !IsHeld(e)) return Outcome::Failed;
        ::Sleep(static_cast<DWORD>(std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(giveUp - now)).count()));
        wait *= 2;
    }
}

} // namespace

std::int64_t Now()
{
    FILETIME t;
    ::GetSystemTimePreciseAsFileTime(&t);
    return Nanoseconds(t);
}

std::optional<Stamp> StampOf(const fs::path& path)
{
    // Asking for attributes only is refused by no other program's sharing.
    Handle h(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.Valid()) return std::nullopt;
    return StampOfHandle(h.Get());
}

fs::path Resolve(std::string_view programPath)
{
    // The file system matches names without regard to case by itself.
    fs::path p(Widen(programPath));
    p.make_preferred();
    return p;
}

namespace {

// stamped: also the stamps before and after, which cost three queries each.
std::optional<Snapshot> Read(const fs::path& path, bool stamped)
{
    Handle h(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.Valid()) return std::nullopt; // a directory cannot be opened this way either
    Snapshot snapshot;
    LARGE_INTEGER size;
    if (stamped) {
        const auto before = StampOfHandle(h.Get());
        if (!before) return std::nullopt;
        snapshot.before = *before;
        size.QuadPart = static_cast<LONGLONG>(before->size);
    } else if (::GetFileType(h.Get()) != FILE_TYPE_DISK || !::GetFileSizeEx(h.Get(), &size)) {
        return std::nullopt;
    }
    // One byte of room past the size: a disk file's read comes back short
    // only at its end, so the first short read ends the loop.
    std::string& bytes = snapshot.bytes;
    bytes.reserve(static_cast<std::size_t>(size.QuadPart) + 1 + kEditRoom);
    bytes.resize(static_cast<std::size_t>(size.QuadPart) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) bytes.resize(bytes.size() + 4096); // the file grew meanwhile
        const std::size_t room = bytes.size() - got;
        const DWORD ask = static_cast<DWORD>(room < (1u << 30) ? room : (1u << 30));
        DWORD n = 0;
        if (!::ReadFile(h.Get(), bytes.data() + got, ask, &n, nullptr)) return std::nullopt;
        got += n;
        if (n < ask) break;
    }
    if (stamped) {
        const auto after = StampOfHandle(h.Get());
        if (!after) return std::nullopt;
        snapshot.after = *after;
    }
    bytes.resize(got);
    return snapshot;
}

} // namespace

std::optional<Snapshot> ReadStamped(const fs::path& path) { return Read(path, true); }

std::optional<std::string> ReadAll(const fs::path& path)
{
    auto snapshot = Read(path, false);
    if (!snapshot) return std::nullopt;
    return std::move(snapshot->bytes);
}

bool Exists(const fs::path& path)
{
    const DWORD attrs = Attributes(path);
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsWriteProtected(const fs::path& path)
{
    const DWORD attrs = Attributes(path);
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY) != 0;
}

bool ClearAttributes(const fs::path& path)
{
    const DWORD attrs = Attributes(path);
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    return ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

bool Append(const fs::path& path, std::string_view bytes)
{
    // Append access alone: every write goes to the end, whoever else appends.
    Handle h(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.Valid()) return false;
    const bool ok = WriteAll(h.Get(), bytes) && ::FlushFileBuffers(h.Get()) != 0;
    return h.Close() && ok;
}

Outcome ReplaceChecked(const fs::path& path, std::string_view bytes, const std::optional<Stamp>* expected,
                       Stamp* written)
{
    fs::path target = path;
    DWORD old = Attributes(target);
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        (old & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        auto real = FinalPath(target);
        if (!real) return Outcome::Failed; // a dangling link: where the file should be is unknown
        target = std::move(*real);
        old = Attributes(target);
    }
    const bool existed = old != INVALID_FILE_ATTRIBUTES;
    if (!existed && !IsMissing(old)) return Outcome::Failed; // neither there nor surely absent
    if (existed && (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)) != 0)
        return Outcome::Failed;

    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    const DWORD dirAttrs = Attributes(dir);
    if (dirAttrs == INVALID_FILE_ATTRIBUTES || (dirAttrs & FILE_ATTRIBUTE_DIRECTORY) == 0) return Outcome::Failed;

    const std::wstring prefix = TempPrefix(target);
    RemoveStaleTemporaries(dir, prefix);

    fs::path temp;
    Handle h(INVALID_HANDLE_VALUE);
    for (int attempt = 0; attempt < 8 && !h.Valid(); ++attempt) {
        temp = dir / (prefix + RandomTag() + std::wstring(kTempEnd));
        // No delete sharing: a concurrent clean-up of stale temporaries cannot take it.
        h.Reset(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.Valid() && ::GetLastError() != ERROR_FILE_EXISTS) return Outcome::Failed;
    }
    if (!h.Valid()) return Outcome::Failed;

    bool ok = WriteAll(h.Get(), bytes) && ::FlushFileBuffers(h.Get());
    ok = h.Close() && ok;
    // The replacement keeps the hidden and system marks of the file it replaces.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (ok && existed && (old & kKept) != 0)
        ok = ::SetFileAttributesW(temp.c_str(), (old & kKept) | FILE_ATTRIBUTE_ARCHIVE) != 0;
    // Taken once the handle is closed, which may still move the write time.
    const auto own = ok ? StampOf(temp) : std::nullopt;
    Outcome outcome = own ? MoveOver(temp, target, expected) : Outcome::Failed;
    if (outcome != Outcome::Replaced) {
        ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(temp.c_str());
        return outcome;
    }
    if (written) *written = *own;
    return Outcome::Replaced;
}

} // namespace fenwake::files
