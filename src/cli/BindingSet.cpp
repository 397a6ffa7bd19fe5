#include "cli/BindingSet.h"

#include "config/IniText.h"
#include "pages/KeyAliases.h"
#include "pages/KeyBindings.h"

#include <algorithm>
#include <array>
#include <optional>

namespace fenwake::cli {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The sections a fragment's bindings may come from, the one the window
// shows first: where a key appears in several, that one wins.
constexpr std::array<std::string_view, 3> kInputSections = {keys::kBindingSection, keys::kCopySection, "Engine.Input"};

std::optional<std::size_t> InputRank(std::string_view section)
{
    for (std::size_t i = 0; i < kInputSections.size(); ++i)
        if (ini::EqualsNoCase(kInputSections[i], section)) return i;
    return std::nullopt;
}

// A value the reader would change (one that is itself quoted) is quoted
// once more, so that it reads back as it was shown.
std::string Protected(const std::string& value) { return ini::ShapeValue(value) == value ? value : '"' + value + '"'; }

} // namespace

Shown ReadShown(const ConfigFile& user)
{
    Shown shown;
    shown.keys.reserve(keys::kKeyNames.size());
    for (std::string_view key : keys::kKeyNames) shown.keys.push_back(keys::LoadKeyBind(user, key));
    for (int n = 0; n < aliases::kSlotCount; ++n)
        shown.aliases.push_back(user.ReadText(aliases::kSection, aliases::SlotKey(n), aliases::kNotUsed));
    return shown;
}

std::vector<Change> Differences(const Shown& from, const Shown& to)
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

std::string ExportSet(const Shown& shown, std::string_view eol)
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

Fragment ReadFragment(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3); // saved by an editor as UTF-8

    struct Found {
        std::size_t rank;
        std::string value;
    };
    std::array<std::optional<Found>, keys::kKeyNames.size()> keysFound;
    std::array<std::optional<Found>, aliases::kSlotCount> slotsFound;
    Fragment fragment;

    // Lines before any header are pasted bindings of the shown section.
    std::optional<std::size_t> rank = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view content = Trim(text.substr(0, end));
        text.remove_prefix(end);
        if (text.starts_with("\r\n"))
            text.remove_prefix(2);
        else if (!text.empty())
            text.remove_prefix(1);

        if (content.starts_with('[') && content.find(']') != std::string_view::npos) {
            rank = InputRank(Trim(content.substr(1, content.rfind(']') - 1)));
            continue;
        }
        const std::size_t eq = content.find('=');
        if (!rank || eq == std::string_view::npos) continue;
        const std::string_view name = Trim(content.substr(0, eq));
        const std::string value(Trim(content.substr(eq + 1)));
        // As the game reads a file: the first line of a key counts.
        const auto keep = [&](std::optional<Found>& slot) {
            if (!slot || *rank < slot->rank) slot = Found{*rank, value};
        };
        if (const auto listed = keys::ListSpelling(name)) {
            const auto at = std::find(keys::kKeyNames.begin(), keys::kKeyNames.end(), *listed);
            keep(keysFound[static_cast<std::size_t>(at - keys::kKeyNames.begin())]);
        } else if (const auto slot = aliases::SlotOfKey(name)) {
            keep(slotsFound[static_cast<std::size_t>(*slot)]);
        } else if (!name.empty() &&
                   std::find(fragment.unknown.begin(), fragment.unknown.end(), name) == fragment.unknown.end()) {
            fragment.unknown.emplace_back(name);
        }
    }
    for (std::size_t i = 0; i < keysFound.size(); ++i)
        if (keysFound[i]) fragment.keys.emplace_back(keys::kKeyNames[i], keysFound[i]->value);
    for (int n = 0; n < aliases::kSlotCount; ++n)
        if (const auto& found = slotsFound[static_cast<std::size_t>(n)]) fragment.aliases.emplace_back(n, found->value);
    return fragment;
}

Plan PlanImport(const ConfigFile& user, const Fragment& fragment, bool unlock)
{
    Plan plan;
    for (const auto& [key, value] : fragment.keys) {
        std::string before = keys::LoadKeyBind(user, key);
        std::string after = ini::ShapeValue(value);
        if (before == after) continue;
        plan.changes.push_back({std::string(key), std::move(before), std::move(after)});
        plan.writes.push_back({std::string(key), value, false});
    }
    for (const auto& [n, value] : fragment.aliases) {
        const std::string key = aliases::SlotKey(n);
        // The fields the window would show for the line, saved as "Save alias" saves them.
        const aliases::AliasFields fields = aliases::ParseRow(aliases::RowText(n, ini::ShapeValue(value)));
        std::string before = user.ReadText(aliases::kSection, key, aliases::kNotUsed);
        const auto after = aliases::ValueToSave(n, before, fields);
        if (!after) continue;
        if (fields.name.empty()) {
            plan.refused.push_back(key);
        } else if (aliases::IsLocked(n, !unlock)) {
            plan.locked.push_back(key);
        } else {
            plan.changes.push_back({key, std::move(before), *after});
            plan.writes.push_back({key, *after, true});
        }
    }
    return plan;
}

void Apply(const ConfigFile& user, const Plan& plan)
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
}

} // namespace fenwake::cli
