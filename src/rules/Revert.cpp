#include "rules/Revert.h"

#include "config/Ascii.h"
#include "config/GameFiles.h"
#include "config/IniText.h"
#include "config/Safeguards.h"
#include "rules/BindingSet.h"
#include "rules/KeyAliases.h"
#include "rules/KeyBindings.h"

#include <algorithm>
#include <map>
#include <set>

namespace fenwake::history {
namespace {

bool OfFile(const Record& r, const ConfigFile& user)
{
    const std::string_view path = user.Path();
    const std::size_t cut = path.find_last_of("/\\");
    return ascii::EqualsNoCase(r.file, cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// A value written back as the editors show it; the shown stand-in for no
// line is written as an empty value, which the game reads the same way.
std::string ToWrite(std::string_view key, std::string_view shown)
{
    const bool alias = aliases::SlotOfKey(key).has_value();
    return shown == (alias ? aliases::kNotUsed : keys::kNoBind) ? std::string() : std::string(shown);
}

// The entries that write a shown value: both binding sections for a key.
void AddEntries(std::vector<ConfigFile::Entry>& entries, std::string_view key, std::string_view value)
{
    if (aliases::SlotOfKey(key)) {
        entries.push_back({aliases::kSection, key, value});
        return;
    }
    for (const ConfigFile::Entry& e : keys::BindingEntries(key, value)) entries.push_back(e);
}

} // namespace

std::string ShownValue(const ConfigFile& user, std::string_view key)
{
    if (const auto slot = aliases::SlotOfKey(key)) return aliases::ReadSlot(user, *slot);
    return keys::ReadBinding(user, key);
}

std::vector<Change> FindUndone(const ConfigFile& user, std::span<const Record> records)
{
    struct Seen {
        std::string last;
        std::set<std::string> earlier;
        std::size_t at = 0; // the last record's position
    };
    std::map<std::string, Seen> byKey;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        if (!OfFile(r, user)) continue;
        auto [it, fresh] = byKey.try_emplace(r.change.key);
        Seen& seen = it->second;
        if (!fresh) seen.earlier.insert(seen.last);
        seen.earlier.insert(r.change.before);
        if (r.lastSaveFrom) seen.earlier.insert(*r.lastSaveFrom);
        seen.last = r.change.after;
        seen.at = i;
    }
    std::vector<std::pair<std::size_t, Change>> found;
    for (const auto& [key, seen] : byKey) {
        std::string now = ShownValue(user, key);
        if (now != seen.last && seen.earlier.contains(now))
            found.push_back({seen.at, {key, std::move(now), seen.last}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Change> undone;
    for (auto& [at, change] : found) undone.push_back(std::move(change));
    return undone;
}

void Reapply(const ConfigFile& user, std::span<const Change> undone, const Recorder& recorder)
{
    std::vector<std::string> values;
    values.reserve(undone.size()); // the entries view them
    std::vector<ConfigFile::Entry> entries;
    std::vector<Change> written;
    for (const Change& c : undone) {
        values.push_back(ToWrite(c.key, c.after));
        AddEntries(entries, c.key, values.back());
        written.push_back({c.key, c.before, ini::ShapeValue(values.back())});
    }
    user.WriteTexts(entries);
    recorder.As(Origin::Reapply).Saved(user, written);
}

void KeepUndone(const ConfigFile& user, std::span<const Change> undone, const Recorder& recorder)
{
    std::vector<Change> kept;
    for (const Change& c : undone) kept.push_back({c.key, c.after, c.before});
    recorder.As(Origin::Undo).RecordOnly(user, kept);
}

std::vector<Record> Undoable(const ConfigFile& user, std::span<const Record> records)
{
    std::vector<Record> open;
    // The newest open change of the key that wrote the value.
    const auto take = [&open](const std::string& key, const std::string& wrote) {
        const auto found = std::find_if(open.rbegin(), open.rend(), [&](const Record& o) {
            return o.change.key == key && o.change.after == wrote;
        });
        if (found != open.rend()) open.erase(std::next(found).base());
    };
    for (const Record& r : records) {
        if (!OfFile(r, user)) continue;
        if (r.origin == Origin::Undo) {
            take(r.change.key, r.change.before);
            continue;
        }
        // Applied again, the change another program undid is this one now.
        if (r.origin == Origin::Reapply) take(r.change.key, r.change.after);
        open.push_back(r);
    }
    std::reverse(open.begin(), open.end());
    return open;
}

std::optional<std::string> UndoChange(const ConfigFile& user, const Record& record, const Recorder& recorder)
{
    const Change& c = record.change;
    std::string now = ShownValue(user, c.key);
    // The undo's record names the change it undoes, whatever stopped short of it.
    const Change undo{c.key, c.after, c.before};
    if (now == c.before) {
        // Put back already: by another program, or by a save the program
        // did not live to make after its record.
        recorder.As(Origin::Undo).RecordOnly(user, {&undo, 1});
        return std::nullopt;
    }
    if (now != c.after && now != record.lastSaveFrom) return now;
    const std::string value = ToWrite(c.key, c.before);
    std::vector<ConfigFile::Entry> entries;
    AddEntries(entries, c.key, value);
    user.WriteTexts(entries);
    recorder.As(Origin::Undo).Saved(user, {c.key, c.after, ini::ShapeValue(value)});
    return std::nullopt;
}

std::string UndoConflict(const Record& record, std::string_view holds)
{
    return record.change.key + " holds \"" + std::string(holds) + "\", not \"" + record.change.after +
           "\" as Fenwake wrote it at " + record.time;
}

std::vector<std::size_t> UndoneRecords(const ConfigFile& user, std::span<const Record> records)
{
    std::set<std::string> undone;
    for (const Change& c : FindUndone(user, records)) undone.insert(c.key);
    std::vector<std::size_t> found;
    for (std::size_t i = records.size(); i-- > 0 && !undone.empty();) {
        if (OfFile(records[i], user) && undone.erase(records[i].change.key)) found.push_back(i);
    }
    std::reverse(found.begin(), found.end());
    return found;
}

bool RestoreBackups(const Recorder& recorder)
{
    const ConfigFile user = game::UserIni();
    const sets::ShownState before = sets::ReadShownState(user);
    if (!safeguards::RestoreBackups()) return false;
    std::vector<Change> changes;
    for (sets::Change& c : sets::Differences(before, sets::ReadShownState(user)))
        changes.push_back({std::move(c.name), std::move(c.before), std::move(c.after)});
    recorder.As(Origin::Reset).Saved(user, changes);
    return true;
}

} // namespace fenwake::history
