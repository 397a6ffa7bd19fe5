#include "rules/BindingSet.h"

#include "config/Ascii.h"
#include "config/FileSystem.h"
#include "config/IniText.h"
#include "rules/CommandReview.h"
#include "rules/EngineKeys.h"
#include "rules/KeyAliases.h"
#include "rules/KeyBindings.h"
#include "rules/Secrets.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace fenwake::sets {
namespace {

// The sections a fragment's bindings may come from, the one the window
// shows first: where a key appears in several, that one wins.
constexpr std::array<std::string_view, 3> kInputSections = {keys::kBindingSection, keys::kCopySection,
                                                            game::kEngineInputSection};

std::optional<std::size_t> InputRank(std::string_view section)
{
    for (std::size_t i = 0; i < kInputSections.size(); ++i)
        if (ascii::EqualsNoCase(kInputSections[i], section)) return i;
    return std::nullopt;
}

// A value the reader would change (one that is itself quoted) is quoted
// once more, so that it reads back as it was shown.
std::string Protected(const std::string& value) { return ini::ShapeValue(value) == value ? value : '"' + value + '"'; }

std::vector<std::string_view> Ordered()
{
    std::vector<std::string_view> names(keys::kKeyNames.begin(), keys::kKeyNames.end());
    for (std::string_view key : keys::EngineKeys())
        if (!keys::ListSpelling(key)) names.push_back(key);
    return names;
}

// Where a spelling of SetKeys() stands in it.
std::size_t SetIndex(std::string_view spelling)
{
    static const std::unordered_map<std::string_view, std::size_t> index = [] {
        std::unordered_map<std::string_view, std::size_t> map;
        const auto names = SetKeys();
        for (std::size_t i = 0; i < names.size(); ++i) map.emplace(names[i], i);
        return map;
    }();
    return index.at(spelling);
}

// A key off the window's list whose line binds nothing: a set leaves it out.
bool Unbound(std::size_t index, std::string_view shown)
{
    return index >= keys::kKeyNames.size() && (shown.empty() || shown == keys::kNoBind);
}

// Takes the line out of the plan, naming it, when it must not be written.
bool Skipped(const std::string& name, std::string_view raw, Plan& plan)
{
    std::vector<std::string>* list = nullptr;
    if (review::HoldsPlaceholder(raw))
        list = &plan.masked;
    else if (raw.find('\0') != std::string_view::npos)
        list = &plan.withNul;
    else if (raw.size() > ini::kMaxValueLength)
        list = &plan.tooLong;
    if (list) list->push_back(name);
    return list != nullptr;
}

void Review(const std::string& name, std::string_view commands, Plan& plan)
{
    const std::string masked = review::MaskSecrets(commands).text;
    std::string detail = review::Describe(review::Commands(masked));
    if (!detail.empty()) plan.risky.push_back({name, std::move(detail)});
}

} // namespace

std::span<const std::string_view> SetKeys()
{
    static const std::vector<std::string_view> names = Ordered();
    return names;
}

ShownState ReadShownState(const ConfigFile& user)
{
    ShownState shown;
    shown.keys.reserve(SetKeys().size());
    for (std::string_view key : SetKeys()) shown.keys.push_back(keys::ReadBinding(user, key));
    for (int n = 0; n < aliases::kSlotCount; ++n) shown.aliases.push_back(aliases::ReadSlot(user, n));
    return shown;
}

std::size_t HideSecrets(ShownState& shown)
{
    std::size_t count = 0;
    for (std::string& value : shown.keys) {
        review::Masked m = review::MaskSecrets(value);
        count += m.Count();
        value = std::move(m.text);
    }
    for (std::string& value : shown.aliases) {
        review::Masked m = review::MaskAliasSecrets(value);
        count += m.Count();
        value = std::move(m.text);
    }
    return count;
}

std::vector<Change> Differences(const ShownState& from, const ShownState& to)
{
    std::vector<Change> changes;
    const auto names = SetKeys();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (from.keys[i] != to.keys[i]) changes.push_back({std::string(names[i]), from.keys[i], to.keys[i]});
    for (int n = 0; n < aliases::kSlotCount; ++n) {
        const auto i = static_cast<std::size_t>(n);
        if (from.aliases[i] != to.aliases[i]) changes.push_back({aliases::SlotKey(n), from.aliases[i], to.aliases[i]});
    }
    return changes;
}

std::string WriteSet(const ShownState& shown, std::string_view eol)
{
    std::string text = "[" + std::string(keys::kBindingSection) + "]" + std::string(eol);
    const auto line = [&](std::string_view key, const std::string& value) {
        text.append(key).append("=").append(Protected(value)).append(eol);
    };
    // Nothing stands for a missing line: leaving it out keeps it missing.
    const auto names = SetKeys();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (shown.keys[i] != keys::kNoBind && !Unbound(i, shown.keys[i])) line(names[i], shown.keys[i]);
    for (int n = 0; n < aliases::kSlotCount; ++n)
        if (shown.aliases[static_cast<std::size_t>(n)] != aliases::kNotUsed)
            line(aliases::SlotKey(n), shown.aliases[static_cast<std::size_t>(n)]);
    return text;
}

SharedSet ShareSet(const ConfigFile& user, bool keepSecrets, std::string_view eol)
{
    ShownState shown = ReadShownState(user);
    ShownState masked = shown;
    const std::size_t secrets = HideSecrets(masked);
    return {WriteSet(keepSecrets ? shown : masked, eol), secrets};
}

SetLines ReadSet(std::string_view text)
{
    if (text.starts_with(game::kUtf8ByteOrderMark)) text.remove_prefix(game::kUtf8ByteOrderMark.size());

    struct Found {
        std::size_t rank;
        std::string value;
    };
    const auto names = SetKeys();
    std::vector<std::optional<Found>> keysFound(names.size());
    std::array<std::optional<Found>, aliases::kSlotCount> slotsFound;
    std::unordered_set<std::string_view> unknown;
    SetLines set;

    ini::ForEachEntryLine(text, [&](const ini::EntryLine& line) {
        // Lines before any header are pasted bindings of the shown section.
        const auto rank = line.section ? InputRank(*line.section) : std::optional<std::size_t>(0);
        if (!rank) {
            ++set.otherLines;
            return;
        }
        // As the game reads a file: the first line of a key counts.
        const auto keep = [&](std::optional<Found>& slot) {
            if (!slot || *rank < slot->rank) slot = Found{*rank, std::string(line.value)};
        };
        if (const auto spelling = keys::EngineSpelling(line.key)) {
            keep(keysFound[SetIndex(*spelling)]);
        } else if (const auto slot = aliases::SlotOfKey(line.key)) {
            keep(slotsFound[static_cast<std::size_t>(*slot)]);
        } else {
            ++set.unknownLines;
            if (!line.key.empty() && unknown.insert(line.key).second) set.unknown.emplace_back(line.key);
        }
    });
    for (std::size_t i = 0; i < keysFound.size(); ++i) {
        if (!keysFound[i]) continue;
        if (Unbound(i, ini::ShapeValue(keysFound[i]->value)))
            ++set.emptyKeys;
        else
            set.keys.emplace_back(names[i], keysFound[i]->value);
    }
    for (int n = 0; n < aliases::kSlotCount; ++n)
        if (const auto& found = slotsFound[static_cast<std::size_t>(n)]) set.aliases.emplace_back(n, found->value);
    return set;
}

SetFile ReadSetFile(const std::filesystem::path& file)
{
    const auto stamp = files::StampOf(file);
    if (!stamp) return {};
    if (stamp->size > kMaxSetBytes) return {SetFile::Status::TooLarge, {}};
    auto text = files::ReadAll(file);
    if (!text) return {};
    // It may have grown since.
    if (text->size() > kMaxSetBytes) return {SetFile::Status::TooLarge, {}};
    return {SetFile::Status::Read, std::move(*text)};
}

Plan PlanImport(const ConfigFile& user, const SetLines& set, bool unlock)
{
    Plan plan;
    for (const auto& [key, value] : set.keys) {
        const std::string name(key);
        if (Skipped(name, value, plan)) continue;
        std::string before = keys::ReadBinding(user, key);
        std::string after = ini::ShapeValue(value);
        if (before == after) continue;
        Review(name, after, plan);
        plan.changes.push_back({name, std::move(before), std::move(after)});
        plan.writes.push_back({name, value, false});
    }
    for (const auto& [n, value] : set.aliases) {
        const std::string key = aliases::SlotKey(n);
        if (Skipped(key, value, plan)) continue;
        // The fields the window would show for the line, saved as "Save alias" saves them.
        const aliases::AliasFields fields = aliases::ParseRow(aliases::RowText(n, ini::ShapeValue(value)));
        std::string before = aliases::ReadSlot(user, n);
        const auto after = aliases::ValueToSave(n, before, fields);
        if (!after) continue;
        switch (aliases::CheckSave(n, fields, !unlock)) {
        case aliases::SaveCheck::EmptyName:
            plan.refused.push_back(key);
            break;
        case aliases::SaveCheck::Locked:
            plan.locked.push_back(key);
            break;
        case aliases::SaveCheck::Allowed:
            Review(key, fields.command, plan);
            plan.changes.push_back({key, std::move(before), *after});
            plan.writes.push_back({key, *after, true});
            break;
        }
    }
    return plan;
}

Plan Only(const Plan& plan, std::span<const std::string> names)
{
    const auto named = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    Plan only = plan;
    only.changes.clear();
    only.writes.clear();
    only.risky.clear();
    for (std::size_t i = 0; i < plan.changes.size() && i < plan.writes.size(); ++i) {
        if (!named(plan.changes[i].name)) continue;
        only.changes.push_back(plan.changes[i]);
        only.writes.push_back(plan.writes[i]);
    }
    for (const Plan::Risk& r : plan.risky)
        if (named(r.name)) only.risky.push_back(r);
    return only;
}

void ApplyPlan(const ConfigFile& user, const Plan& plan, const history::Recorder& recorder)
{
    std::vector<ConfigFile::Entry> entries;
    for (const Plan::Write& w : plan.writes) {
        if (w.alias) {
            entries.push_back({aliases::kSection, w.key, w.value});
        } else {
            for (const ConfigFile::Entry& e : keys::BindingEntries(w.key, w.value)) entries.push_back(e);
        }
    }
    user.WriteTexts(entries);
    // The plan lists each write's change beside it.
    std::vector<history::Change> changes;
    for (std::size_t i = 0; i < plan.writes.size() && i < plan.changes.size(); ++i)
        changes.push_back({plan.writes[i].key, plan.changes[i].before, ini::ShapeValue(plan.writes[i].value)});
    recorder.Saved(user, changes);
}

} // namespace fenwake::sets
