#include "rules/BindingSet.h"

#include "config/Ascii.h"
#include "config/IniText.h"
#include "rules/KeyAliases.h"
#include "rules/KeyBindings.h"

#include <algorithm>
#include <array>
#include <optional>

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

} // namespace

ShownState ReadShownState(const ConfigFile& user)
{
    ShownState shown;
    shown.keys.reserve(keys::kKeyNames.size());
    for (std::string_view key : keys::kKeyNames) shown.keys.push_back(keys::ReadBinding(user, key));
    for (int n = 0; n < aliases::kSlotCount; ++n) shown.aliases.push_back(aliases::ReadSlot(user, n));
    return shown;
}

std::vector<Change> Differences(const ShownState& from, const ShownState& to)
{
    std::vector<Change> changes;
    for (std::size_t i = 0; i < keys::kKeyNames.size(); ++i)
        if (from.keys[i] != to.keys[i]) changes.push_back({std::string(keys::kKeyNames[i]), from.keys[i], to.keys[i]});
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
    for (std::size_t i = 0; i < keys::kKeyNames.size(); ++i)
        if (shown.keys[i] != keys::kNoBind) line(keys::kKeyNames[i], shown.keys[i]);
    for (int n = 0; n < aliases::kSlotCount; ++n)
        if (shown.aliases[static_cast<std::size_t>(n)] != aliases::kNotUsed)
            line(aliases::SlotKey(n), shown.aliases[static_cast<std::size_t>(n)]);
    return text;
}

SetLines ReadSet(std::string_view text)
{
    if (text.starts_with(game::kUtf8ByteOrderMark)) text.remove_prefix(game::kUtf8ByteOrderMark.size());

    struct Found {
        std::size_t rank;
        std::string value;
    };
    std::array<std::optional<Found>, keys::kKeyNames.size()> keysFound;
    std::array<std::optional<Found>, aliases::kSlotCount> slotsFound;
    SetLines set;

    ini::ForEachEntryLine(text, [&](const ini::EntryLine& line) {
        // Lines before any header are pasted bindings of the shown section.
        const auto rank = line.section ? InputRank(*line.section) : std::optional<std::size_t>(0);
        if (!rank) return;
        // As the game reads a file: the first line of a key counts.
        const auto keep = [&](std::optional<Found>& slot) {
            if (!slot || *rank < slot->rank) slot = Found{*rank, std::string(line.value)};
        };
        if (const auto listed = keys::ListSpelling(line.key)) {
            const auto at = std::find(keys::kKeyNames.begin(), keys::kKeyNames.end(), *listed);
            keep(keysFound[static_cast<std::size_t>(at - keys::kKeyNames.begin())]);
        } else if (const auto slot = aliases::SlotOfKey(line.key)) {
            keep(slotsFound[static_cast<std::size_t>(*slot)]);
        } else if (!line.key.empty() &&
                   std::find(set.unknown.begin(), set.unknown.end(), line.key) == set.unknown.end()) {
            set.unknown.emplace_back(line.key);
        }
    });
    for (std::size_t i = 0; i < keysFound.size(); ++i)
        if (keysFound[i]) set.keys.emplace_back(keys::kKeyNames[i], keysFound[i]->value);
    for (int n = 0; n < aliases::kSlotCount; ++n)
        if (const auto& found = slotsFound[static_cast<std::size_t>(n)]) set.aliases.emplace_back(n, found->value);
    return set;
}

Plan PlanImport(const ConfigFile& user, const SetLines& set, bool unlock)
{
    Plan plan;
    for (const auto& [key, value] : set.keys) {
        std::string before = keys::ReadBinding(user, key);
        std::string after = ini::ShapeValue(value);
        if (before == after) continue;
        plan.changes.push_back({std::string(key), std::move(before), std::move(after)});
        plan.writes.push_back({std::string(key), value, false});
    }
    for (const auto& [n, value] : set.aliases) {
        const std::string key = aliases::SlotKey(n);
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
            plan.changes.push_back({key, std::move(before), *after});
            plan.writes.push_back({key, *after, true});
            break;
        }
    }
    return plan;
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
