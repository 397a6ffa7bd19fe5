#include "config/ConfigFile.h"

#include "config/FileSystem.h"
#include "config/IniText.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace fenwake {
namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The files this process put in place last. A file that still carries one
// of their stamps holds our own complete bytes, however recent its time,
// so typing fast never waits for our own previous save to settle.
class OwnWrites {
public:
    void Remember(const files::Stamp& stamp)
    {
        const std::lock_guard lock(mutex_);
        stamps_[next_++ % stamps_.size()] = stamp;
    }
    bool Contain(const files::Stamp& stamp)
    {
        const std::lock_guard lock(mutex_);
        return std::any_of(stamps_.begin(), stamps_.end(), [&](const auto& s) { return s.SameContent(stamp); });
    }

private:
    std::mutex mutex_;
    std::array<files::Stamp, 4> stamps_{};
    std::size_t next_ = 0;
};

OwnWrites& Own()
{
    static OwnWrites own;
    return own;
}

// How much longer the file's last change has to age before its stamp is
// to be trusted (Patience::settle after it, any later write moves the
// stamp); zero or less once it has.
std::chrono::nanoseconds SettleLeft(const files::Stamp& stamp)
{
    return std::chrono::nanoseconds(files::CurrentPatience().settle) -
           std::chrono::nanoseconds(files::Now() - stamp.modified);
}

// A file as a read found it, parsed once. Kept for later reads only while
// the file is provably the same: its stamp unchanged, taken when its last
// change was already older than the timestamp tick (Patience::settle), so
// that any later write, even of the same size, moves the stamp.
struct Reading {
    Reading(fs::path f, const files::Stamp& s, std::string b)
        : file(std::move(f)), stamp(s), bytes(std::move(b)), index(bytes)
    {}
    const fs::path file;
    const files::Stamp stamp;
    const std::string bytes;
    const ini::Index index; // views into bytes
};

class Readings {
public:
    std::shared_ptr<const Reading> Current(const fs::path& file)
    {
        std::shared_ptr<const Reading> found;
        {
            const std::lock_guard lock(mutex_);
            for (const auto& r : kept_)
                if (r && r->file == file) found = r;
        }
        if (found && files::StampOf(file) != found->stamp) found.reset();
        return found;
    }
    void Keep(std::shared_ptr<const Reading> reading)
    {
        const std::lock_guard lock(mutex_);
        for (auto& r : kept_) {
            if (r && r->file == reading->file) {
                r = std::move(reading);
                return;
            }
        }
        kept_[next_++ % kept_.size()] = std::move(reading);
    }

private:
    std::mutex mutex_;
    std::array<std::shared_ptr<const Reading>, 2> kept_; // User.ini and DeusEx.ini
    std::size_t next_ = 0;
};

Readings& Kept()
{
    static Readings readings;
    return readings;
}

// The state of the file to build a write on: read whole (nothing changed
// while it was read) and settled (no other program has it open for writing,
// and its last change is our own or at least Patience::settle old), so a
// save that truncated it is not still under way. Nothing when there is no
// file.
std::optional<files::Snapshot> ReadBase(const fs::path& file, const std::string& name)
{
    const files::Patience& patience = files::CurrentPatience();
    const Clock::time_point giveUp = Clock::now() + patience.settleLimit;
    // A time stamp in the future says nothing about age; then the stamp has
    // to hold still for the settle time instead.
    std::optional<files::Stamp> seen;
    Clock::time_point seenSince;
    for (;;) {
        std::error_code ec;
        const auto status = fs::status(file, ec);
        if (!fs::exists(status)) {
            // A dangling link: where the file should be is unknown.
            if (fs::is_symlink(fs::symlink_status(file, ec))) throw WriteError(name);
            return std::nullopt;
        }
        if (!fs::is_regular_file(status) || files::IsWriteProtected(file)) throw WriteError(name);

        auto snapshot = files::ReadStamped(file);
        // Never replace what could not be read; one that vanished meanwhile is looked at again.
        if (!snapshot && files::Exists(file)) throw WriteError(name);
        std::chrono::nanoseconds wait{std::chrono::milliseconds(1)};
        if (snapshot && snapshot->before == snapshot->after && !snapshot->writing) {
            const files::Stamp& stamp = snapshot->after;
            const std::chrono::nanoseconds left = SettleLeft(stamp);
            if (left <= std::chrono::nanoseconds::zero() || Own().Contain(stamp)) return snapshot;
            if (left <= patience.settle) {
                wait = left;
            } else if (seen != stamp) {
                seen = stamp;
                seenSince = Clock::now();
                wait = patience.settle;
            } else if (Clock::now() - seenSince >= patience.settle) {
                return snapshot;
            }
        }
        const Clock::time_point now = Clock::now();
        if (now >= giveUp) throw WriteError(name);
        std::this_thread::sleep_for(std::min<Clock::duration>(wait, giveUp - now));
    }
}

// A program name (".\User.ini") as the platform writes paths: as it is on
// Windows, "./User.ini" elsewhere.
std::string Spelled(std::string path)
{
    constexpr char sep = static_cast<char>(fs::path::preferred_separator);
    std::replace(path.begin(), path.end(), '\\', sep);
    return path;
}

} // namespace

WriteError::WriteError(const std::string& path) : std::runtime_error("Unable to write to " + Spelled(path)) {}

ConfigFile::ConfigFile(std::string path) : path_(std::move(path)) {}

std::string ConfigFile::ReadText(std::string_view section, std::string_view key, std::string_view def) const
{
    const fs::path file = files::Resolve(path_);
    auto reading = Kept().Current(file);
    if (!reading) {
        // A read torn by a write under way is tried again, a few times.
        std::optional<files::Snapshot> snapshot;
        for (int attempt = 0; attempt < 3; ++attempt) {
            snapshot = files::ReadStamped(file);
            if (!snapshot || snapshot->before == snapshot->after) break;
        }
        if (!snapshot) return ini::ShapeDefault(def);
        const files::Stamp& stamp = snapshot->after;
        if (snapshot->before != stamp || SettleLeft(stamp) > std::chrono::nanoseconds::zero()) {
            const auto raw = ini::FindValue(snapshot->bytes, section, key);
            return raw ? ini::ShapeValue(*raw) : ini::ShapeDefault(def);
        }
        reading = std::make_shared<const Reading>(file, stamp, std::move(snapshot->bytes));
        Kept().Keep(reading);
    }
    const auto raw = reading->index.Find(section, key);
    return raw ? ini::ShapeValue(*raw) : ini::ShapeDefault(def);
}

std::int32_t ConfigFile::ReadNumber(std::string_view section, std::string_view key, std::int32_t def) const
{
    std::string s = ReadText(section, key, "");
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
    return ini::ParseNumber(s).value_or(def);
}

bool ConfigFile::ReadFlag(std::string_view section, std::string_view key, bool def) const
{
    return ReadNumber(section, key, def ? 1 : 0) != 0;
}

void ConfigFile::WriteText(std::string_view section, std::string_view key, std::string_view value) const
{
    WriteTexts({{section, key, value}});
}

void ConfigFile::WriteNumber(std::string_view section, std::string_view key, std::int32_t value) const
{
    WriteText(section, key, std::to_string(value));
}

void ConfigFile::WriteFlag(std::string_view section, std::string_view key, bool value) const
{
    WriteText(section, key, value ? "1" : "0");
}

void ConfigFile::WriteTexts(std::initializer_list<Entry> entries) const
{
    WriteTexts(std::span<const Entry>(entries.begin(), entries.size()));
}

void ConfigFile::WriteTexts(std::span<const Entry> entries) const
{
    // A line break in any part would add lines the caller never asked for.
    for (const Entry& e : entries)
        if (!ini::IsWritable(e.section, e.key, e.value)) throw WriteError(path_);
    if (entries.size() == 0) return;

    const fs::path file = files::Resolve(path_);
    for (int round = 0; round < files::CurrentPatience().rounds; ++round) {
        auto base = ReadBase(file, path_);
        std::string text = base ? std::move(base->bytes) : std::string();
        bool changed = !base;
        for (const Entry& e : entries) changed = ini::ApplyWriteInPlace(text, e.section, e.key, e.value) || changed;
        if (!changed) return;

        files::Stamp written;
        const auto expected = base ? std::optional(base->after) : std::nullopt;
        switch (files::ReplaceIfUnchanged(file, text, expected, written)) {
        case files::Outcome::Replaced:
            Own().Remember(written);
            return;
        case files::Outcome::Changed:
            break; // another program saved first: build on its save instead
        case files::Outcome::Failed:
            throw WriteError(path_);
        }
    }
    throw WriteError(path_);
}

} // namespace fenwake
