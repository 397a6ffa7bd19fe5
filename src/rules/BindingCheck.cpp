#include "rules/BindingCheck.h"

#include "config/Ascii.h"
#include "config/GameFiles.h"
#include "config/IniText.h"
#include "rules/CommandReview.h"
#include "rules/EngineKeys.h"
#include "rules/KeyAliases.h"
#include "rules/Secrets.h"

#include <array>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>

namespace fenwake::check {
namespace {

constexpr std::array<std::pair<FindingKind, std::string_view>, 7> kKindNames = {{
    {FindingKind::ByteOrderMark, "byte-order-mark"},
    {FindingKind::SectionsDisagree, "sections-disagree"},
    {FindingKind::DuplicateKey, "duplicate-key"},
    {FindingKind::UndefinedAlias, "undefined-alias"},
    {FindingKind::DuplicateAliasName, "duplicate-alias-name"},
    {FindingKind::RiskyBinding, "risky-binding"},
    {FindingKind::MissingSection, "missing-section"},
}};

// Every section a player's file keeps bindings in; the game reads one.
constexpr std::array<std::string_view, 3> kBindingSections = {game::kInputExtSection, game::kEngineInputSection,
                                                              game::kInputSection};

// Values are cut in messages, so a huge one stays readable.
constexpr std::size_t kShownLength = 60;

std::string Folded(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string Shown(std::optional<std::string_view> value)
{
    if (!value) return "no line";
    const std::string masked = review::MaskSecrets(*value).text;
    std::string out = "\"" + masked.substr(0, kShownLength) + "\"";
    if (masked.size() > kShownLength) out.insert(out.size() - 1, "...");
    return out;
}

std::string Bracketed(std::string_view section) { return "[" + std::string(section) + "]"; }

struct Section {
    std::string_view name; // as this program names it
    std::vector<ini::Entry> entries;
    std::unordered_map<std::string, std::string> values; // by folded key: the first line's value as read

    std::optional<std::string_view> Find(std::string_view key) const
    {
        const auto it = values.find(Folded(key));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
};

std::optional<Section> Read(std::string_view text, std::string_view name)
{
    auto entries = ini::SectionEntries(text, name);
    if (!entries) return std::nullopt;
    Section s{name, std::move(*entries), {}};
    for (const ini::Entry& e : s.entries) s.values.try_emplace(Folded(e.key), ini::ShapeValue(e.value));
    return s;
}

// An alias line's name, trimmed, unless the slot is cleared or the line is none.
std::optional<aliases::AliasFields> AliasOf(std::string_view value)
{
    aliases::AliasFields fields = aliases::ParseRow(aliases::RowText(0, value));
    std::string_view name = fields.name;
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (name.empty() || ascii::EqualsNoCase(name, aliases::kClearedName)) return std::nullopt;
    fields.name = std::string(name);
    return fields;
}

bool IsAliasKey(std::string_view key)
{
    constexpr std::string_view kPrefix = "aliases[";
    return key.size() > kPrefix.size() && ascii::EqualsNoCase(key.substr(0, kPrefix.size()), kPrefix);
}

struct Slot {
    int number;
    std::string command;
};
using Aliases = std::unordered_map<std::string, std::vector<Slot>>; // by folded name, in slot order

// The slots as the game reads them: the first line of each of the forty.
Aliases DefinedAliases(const Section& read)
{
    Aliases defined;
    for (int n = 0; n < aliases::kSlotCount; ++n) {
        const auto value = read.Find(aliases::SlotKey(n));
        if (!value) continue;
        if (auto fields = AliasOf(*value)) defined[Folded(fields->name)].push_back({n, std::move(fields->command)});
    }
    return defined;
}

// Names the file itself knows as aliases, from every alias line of every
// binding section, including lines the game never reads.
std::set<std::string> KnownAliasNames(const std::vector<Section>& sections)
{
    std::set<std::string> names;
    for (const Section& s : sections)
        for (const ini::Entry& e : s.entries)
            if (IsAliasKey(e.key))
                if (const auto fields = AliasOf(ini::ShapeValue(e.value))) names.insert(Folded(fields->name));
    return names;
}

// The commands of a binding that are not plain, following its alias calls.
// Each alias is followed once, so aliases that call each other end.
void Risky(std::string_view value, const Aliases& defined, std::string_view via, std::set<std::string>& followed,
           std::vector<std::string>& out)
{
    const std::string masked = review::MaskSecrets(value).text;
    for (const review::Command& c : review::Commands(masked)) {
        if (c.cls == review::CommandClass::Plain) {
            const auto alias = defined.find(Folded(c.word));
            if (alias != defined.end() && followed.insert(alias->first).second)
                Risky(alias->second.front().command, defined, c.word, followed, out);
            continue;
        }
        std::string part = review::Describe({c});
        if (!via.empty()) part.append(" (alias ").append(via).append(")");
        out.push_back(std::move(part));
    }
}

std::string Joined(const std::vector<std::string>& parts)
{
    std::string out;
    for (const std::string& p : parts) out.append(out.empty() ? "" : "; ").append(p);
    return out;
}

} // namespace

std::string_view KindName(FindingKind kind)
{
    for (const auto& [k, name] : kKindNames)
        if (k == kind) return name;
    return {};
}

InputClass ReadInputClass(std::optional<std::string_view> systemIni)
{
    const std::string fallback(game::kDefaultInputClass);
    if (!systemIni) return {fallback, ClassSource::NoFile};
    const auto raw = ini::FindValue(*systemIni, game::kEngineSection, game::kInputClassKey);
    std::string name = raw ? ini::ShapeValue(*raw) : std::string();
    if (name.empty()) return {fallback, ClassSource::NoLine};
    return {std::move(name), ClassSource::Named};
}

Report CheckBindings(std::string_view userIni, std::string_view readSection)
{
    Report report;
    std::vector<Finding>& findings = report.findings;
    if (userIni.starts_with(game::kUtf8ByteOrderMark))
        findings.push_back({FindingKind::ByteOrderMark, "", "",
                            "the file starts with a UTF-8 byte-order mark: the game does not see a section header on "
                            "its first line"});

    std::vector<Section> sections;
    std::optional<Section> read = Read(userIni, readSection);
    if (read) sections.push_back(*read);
    for (std::string_view name : kBindingSections)
        if (!ascii::EqualsNoCase(name, readSection))
            if (auto s = Read(userIni, name)) sections.push_back(std::move(*s));

    if (!read) {
        report.notes.push_back({FindingKind::MissingSection, std::string(readSection), "",
                                "no such section, though the game reads its bindings from it"});
    } else {
        for (const Section& other : sections) {
            if (other.name == read->name) continue;
            for (std::string_view key : keys::EngineKeys()) {
                const auto theirs = other.Find(key);
                const auto ours = read->Find(key);
                if (theirs.value_or("") == ours.value_or("")) continue;
                report.notes.push_back({FindingKind::SectionsDisagree, std::string(other.name), std::string(key),
                                        Shown(theirs) + " where " + Bracketed(readSection) + " has " + Shown(ours)});
            }
        }
    }

    // A key listed twice where the game reads changes what it does; elsewhere
    // it only would once that section is read.
    for (const Section& s : sections) {
        std::unordered_map<std::string, std::size_t> count;
        for (const ini::Entry& e : s.entries) ++count[Folded(e.key)];
        for (const ini::Entry& e : s.entries) {
            std::size_t& n = count[Folded(e.key)];
            if (n < 2) continue;
            (read && s.name == read->name ? findings : report.notes)
                .push_back({FindingKind::DuplicateKey, std::string(s.name), std::string(e.key),
                            std::to_string(n) + " lines; the game reads the first"});
            n = 0; // once per key
        }
    }

    if (!read) return report;
    const Aliases defined = DefinedAliases(*read);
    const std::set<std::string> known = KnownAliasNames(sections);

    for (std::string_view key : keys::EngineKeys()) {
        const auto value = read->Find(key);
        if (!value) continue;
        std::set<std::string> reported;
        for (const review::Command& c : review::Commands(*value)) {
            const std::string word = Folded(c.word);
            if (defined.contains(word) || !known.contains(word) || !reported.insert(word).second) continue;
            findings.push_back({FindingKind::UndefinedAlias, std::string(read->name), std::string(key),
                                "calls " + std::string(c.word) + ", an alias that no slot defines"});
        }
    }

    for (int n = 0; n < aliases::kSlotCount; ++n) {
        const auto value = read->Find(aliases::SlotKey(n));
        const auto fields = value ? AliasOf(*value) : std::nullopt;
        if (!fields) continue;
        const std::vector<Slot>& slots = defined.at(Folded(fields->name));
        if (slots.size() < 2 || slots.front().number != n) continue;
        std::string list;
        for (const Slot& s : slots) list.append(list.empty() ? "" : ", ").append(std::to_string(s.number));
        findings.push_back(
            {FindingKind::DuplicateAliasName, std::string(read->name), fields->name, "defined in slots " + list});
    }

    for (std::string_view key : keys::EngineKeys()) {
        const auto value = read->Find(key);
        if (!value) continue;
        std::vector<std::string> parts;
        std::set<std::string> followed;
        Risky(*value, defined, {}, followed, parts);
        if (!parts.empty())
            findings.push_back({FindingKind::RiskyBinding, std::string(read->name), std::string(key), Joined(parts)});
    }
    return report;
}

} // namespace fenwake::check
