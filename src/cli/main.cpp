// fenwake-cli: the key bindings and aliases of Deus Ex's User.ini from a
// terminal, through the same saves as the window.
#include "cli/HelpAll.h"
#include "cli/HistoryCommands.h"
#include "config/Ascii.h"
#include "config/ConfigFile.h"
#include "config/FileSystem.h"
#include "config/GameFiles.h"
#include "config/GameLocator.h"
#include "config/IniText.h"
#include "config/Safeguards.h"
#include "config/Version.h"
#include "rules/BindingCheck.h"
#include "rules/BindingSet.h"
#include "rules/EngineKeys.h"
#include "rules/KeyAliases.h"
#include "rules/KeyBindings.h"
#include "rules/Revert.h"
#include "rules/Secrets.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fenwake::cli {
namespace {
namespace fs = std::filesystem;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The kind column of check's notes, which never decide the exit code alone.
constexpr std::string_view kNoteKind = "note";

// A refusal or failure already worded for the player.
struct Refusal {
    int code;
    std::string message;
};

ConfigFile User() { return game::UserIni(); }

// Standard output, as rows for people or tab-separated for scripts.
class Output {
public:
    bool tsv = false;

    // Name and value, tab-separated or in a column wide enough for the key names.
    void Pair(const std::string& name, const std::string& value) const
    {
        if (tsv)
            std::cout << name << '\t' << value << '\n';
        else
            std::cout << name << std::string(name.size() < 16 ? 16 - name.size() : 1, ' ') << value << '\n';
    }

    void Changes(const std::vector<sets::Change>& changes) const
    {
        for (const sets::Change& c : changes) {
            if (tsv)
                std::cout << c.name << '\t' << c.before << '\t' << c.after << '\n';
            else
                std::cout << c.name << ": \"" << c.before << "\" -> \"" << c.after << "\"\n";
        }
    }
};

// Help text in lines a terminal shows whole.
std::string Wrapped(const std::string& text)
{
    constexpr std::size_t kWidth = 79;
    std::string out, line;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (!line.empty() && line.size() + 1 + word.size() > kWidth) {
            out += line + '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return out + line;
}

// Any engine key or friendly name, in any letter case, under the spelling
// the file gets.
std::string_view EngineKey(const std::string& key)
{
    if (const auto spelling = keys::EngineSpelling(key)) return *spelling;
    throw Refusal{kUsage, "No key \"" + key + "\": fenwake-cli keys --all lists every key the game knows."};
}

// The window takes the backup pair when it first starts in a folder; a
// player who only ever uses this program gets the same way back.
void EnsureBackups()
{
    switch (safeguards::TakeBackupsOnce()) {
    case safeguards::BackupResult::Made:
        std::cerr << "First run here: backed up " << safeguards::kUserIni << " and " << safeguards::kSystemIni << " as "
                  << safeguards::kUserBackup << " and " << safeguards::kSystemBackup << ".\n";
        return;
    case safeguards::BackupResult::Present:
        return;
    case safeguards::BackupResult::Failed:
        throw Refusal{kFailed, "Unable to create the backup copies " + std::string(safeguards::kUserBackup) + " and " +
                                   std::string(safeguards::kSystemBackup) + "; nothing written."};
    }
}

void ListKeys(const Output& out)
{
    const sets::ShownState shown = sets::ReadShownState(User());
    for (std::size_t i = 0; i < keys::kKeyNames.size(); ++i) out.Pair(std::string(keys::kKeyNames[i]), shown.keys[i]);
}

// Every engine key in key-code order, with the name players know it by.
void ListAllKeys(const Output& out)
{
    const ConfigFile user = User();
    for (std::string_view key : keys::EngineKeys()) {
        const std::string value = keys::ReadBinding(user, key);
        const auto friendly = keys::FriendlyNameOf(key);
        if (out.tsv) {
            std::cout << key << '\t' << value << '\t' << friendly.value_or("") << '\n';
            continue;
        }
        // As wide as "Unknown05 (Mouse4)" and one blank.
        const std::string name = friendly ? std::string(key) + " (" + std::string(*friendly) + ")" : std::string(key);
        std::cout << name << std::string(name.size() < 19 ? 19 - name.size() : 1, ' ') << value << '\n';
    }
}

void ListAliases(const Output& out)
{
    const std::vector<std::string> rows = aliases::LoadRows(User());
    for (int n = 0; n < aliases::kSlotCount; ++n) {
        const std::string& row = rows[static_cast<std::size_t>(n)];
        const aliases::AliasFields f = aliases::ParseRow(row);
        const bool locked = aliases::IsLocked(n, true);
        if (out.tsv) {
            std::cout << n << '\t' << f.command << '\t' << f.name << '\t' << (locked ? "locked" : "open") << '\n';
            continue;
        }
        std::cout << (n < 10 ? " " : "") << n << (locked ? "  locked  " : "          ");
        if (row == aliases::RowText(n, aliases::kNotUsed))
            std::cout << aliases::kNotUsed << '\n';
        else
            std::cout << f.name << " = " << f.command << '\n';
    }
}

void FindText(const Output& out, const std::string& text)
{
    const ConfigFile user = User();
    const sets::ShownState shown = sets::ReadShownState(user);
    for (std::size_t i = 0; i < shown.keys.size(); ++i)
        if (shown.keys[i] != keys::kNoBind && ascii::ContainsNoCase(shown.keys[i], text))
            out.Pair(std::string(sets::SetKeys()[i]), shown.keys[i]);
    const std::vector<std::string> rows = aliases::LoadRows(user);
    for (int n = 0; n < aliases::kSlotCount; ++n) {
        const aliases::AliasFields f = aliases::ParseRow(rows[static_cast<std::size_t>(n)]);
        if (!f.command.empty() && ascii::ContainsNoCase(f.command, text)) out.Pair(aliases::SlotKey(n), f.command);
    }
}

void BindKey(const std::string& key, const std::string& text)
{
    const std::string_view spelling = EngineKey(key);
    EnsureBackups();
    WarnIfGameRunning();
    keys::WriteBinding(User(), spelling, text, Recorder(history::Origin::CliBind));
}

void SaveAlias(int slot, const std::string& command, const std::string& name, bool unlock)
{
    if (!aliases::IsSlot(slot))
        throw Refusal{kUsage, "No alias slot " + std::to_string(slot) + ": slots are 0 to " +
                                  std::to_string(aliases::kSlotCount - 1) + "."};
    const aliases::AliasFields fields{command, name};
    switch (aliases::CheckSave(slot, fields, !unlock)) {
    case aliases::SaveCheck::EmptyName:
        throw Refusal{kUsage, std::string(aliases::kEmptyName)};
    case aliases::SaveCheck::Locked:
        throw Refusal{kUsage, "Alias slot " + std::to_string(slot) + " is locked (slots 0 to " +
                                  std::to_string(aliases::kLockedSlotCount - 1) + "); add --unlock to change it."};
    case aliases::SaveCheck::Allowed:
        break;
    }
    EnsureBackups();
    WarnIfGameRunning();
    aliases::SaveSlot(User(), slot, fields, Recorder(history::Origin::CliAlias));
}

void ExportSet(const fs::path& file, bool keepSecrets)
{
    // The C runtime gives standard output the platform's line ends.
    const sets::SharedSet set = sets::ShareSet(User(), keepSecrets, file.empty() ? "\n" : sets::kSetFileEol);
    if (!keepSecrets && set.secrets > 0)
        std::cerr << "Masked " << set.secrets << " secret(s) as " << review::kSecretPlaceholder
                  << "; --keep-secrets writes them as they are.\n";
    if (file.empty()) {
        std::cout << set.text << std::flush;
        return;
    }
    if (!files::Replace(file, set.text)) throw WriteError(file.string());
}

// One line for everything in the input that binds nothing: a whole User.ini
// has hundreds of such lines. A few unknown names are worth seeing (typos).
void ReportSkippedLines(const sets::SetLines& set)
{
    constexpr std::size_t kNamesShown = 5;
    const std::size_t total = set.otherLines + set.emptyKeys + set.unknownLines;
    if (total == 0) return;
    std::string parts;
    const auto part = [&parts](std::size_t n, const std::string& what) {
        if (n > 0) parts.append(parts.empty() ? "" : ", ").append(std::to_string(n)).append(" ").append(what);
    };
    std::string names;
    for (std::size_t i = 0; i < set.unknown.size() && i < kNamesShown; ++i)
        names.append(i ? ", \"" : " (\"").append(set.unknown[i]).append("\"");
    if (!names.empty()) names += set.unknown.size() > kNamesShown ? ", ...)" : ")";
    part(set.otherLines, "in other sections");
    part(set.emptyKeys, "empty engine keys");
    part(set.unknownLines, "naming no key or alias slot" + names);
    std::cerr << "Skipped " << total << " line(s) that bind nothing: " << parts << ".\n";
}

// Lines the plan leaves out, and the changes the review does not class as plain.
void ReportPlan(const sets::Plan& plan)
{
    // A whole User.ini differs in most of the game's own slots: one line for them.
    std::string locked;
    for (const std::string& key : plan.locked) locked.append(locked.empty() ? "" : ", ").append(key);
    if (!locked.empty()) std::cerr << "Skipped, locked (add --unlock): " << locked << '\n';
    for (const std::string& key : plan.refused) std::cerr << "Skipped, no alias name: " << key << '\n';
    for (const std::string& key : plan.masked)
        std::cerr << "Skipped, holds a masked secret " << review::kSecretPlaceholder << ": " << key << '\n';
    for (const std::string& key : plan.withNul) std::cerr << "Skipped, holds a NUL byte: " << key << '\n';
    for (const std::string& key : plan.tooLong)
        std::cerr << "Skipped, longer than " << ini::kMaxValueLength << " characters: " << key << '\n';
    for (const sets::Plan::Risk& r : plan.risky) std::cerr << "Risky, " << r.name << ": " << r.detail << '\n';
}

void RefuseRisky(const sets::Plan& plan)
{
    std::string names;
    for (const sets::Plan::Risk& r : plan.risky) names.append(names.empty() ? "" : ", ").append(r.name);
    throw Refusal{kFailed, std::to_string(plan.risky.size()) + " risky line(s) (" + names +
                               "): nothing written. Add --allow-risky to import them anyway."};
}

void ImportSet(const Output& out, const fs::path& file, bool dryRun, bool unlock, bool allowRisky)
{
    const sets::SetFile read = sets::ReadSetFile(file);
    switch (read.status) {
    case sets::SetFile::Status::Read:
        break;
    case sets::SetFile::Status::Unreadable:
        throw Refusal{kUsage, "Unable to read " + file.string()};
    case sets::SetFile::Status::TooLarge:
        throw Refusal{kUsage, file.string() + " is larger than " + std::to_string(sets::kMaxSetBytes / (1024 * 1024)) +
                                  " MB: no binding set."};
    }
    const sets::SetLines set = sets::ReadSet(read.text);
    ReportSkippedLines(set);
    const ConfigFile user = User();
    const sets::Plan plan = sets::PlanImport(user, set, unlock);
    ReportPlan(plan);
    if (!dryRun && !allowRisky && !plan.risky.empty()) RefuseRisky(plan);
    out.Changes(plan.changes);
    if (dryRun) {
        std::cerr << plan.changes.size() << " change(s); dry run, nothing written.\n";
        return;
    }
    if (plan.writes.empty()) return;
    EnsureBackups();
    WarnIfGameRunning();
    sets::ApplyPlan(user, plan, Recorder(history::Origin::CliImport));
    std::cerr << plan.changes.size() << " change(s) written.\n";
}

// The section the game reads its bindings from, and why.
std::string ReadSection(const check::InputClass& input)
{
    const std::string section = "[" + input.name + "]";
    const std::string systemIni(safeguards::kSystemIni);
    switch (input.source) {
    case check::ClassSource::Named:
        return section + ", the input class " + systemIni + " names";
    case check::ClassSource::NoLine:
        return section + ", the default input class: " + systemIni + " names none in [" +
               std::string(game::kEngineSection) + "] " + std::string(game::kInputClassKey) + "=";
    case check::ClassSource::NoFile:
        return section + ", the default input class: there is no " + systemIni + " here";
    }
    return section;
}

void PrintFinding(const Output& out, std::string_view kind, const check::Finding& f)
{
    if (out.tsv) {
        std::cout << kind << '\t' << f.section << '\t' << f.key << '\t' << f.detail << '\n';
        return;
    }
    std::cout << kind << std::string(kind.size() < 21 ? 21 - kind.size() : 1, ' ');
    if (!f.section.empty()) std::cout << '[' << f.section << "] ";
    if (!f.key.empty()) std::cout << f.key << ": ";
    std::cout << f.detail << '\n';
}

// The findings of the binding check, one row each, then the notes; exit 1
// when there are findings, or with strict any notes.
void CheckUserIni(const Output& out, bool strict)
{
    const auto text = files::ReadAll(files::Resolve(game::kUserIni));
    if (!text) throw Refusal{kFailed, "Unable to read " + std::string(safeguards::kUserIni)};
    const fs::path systemPath = files::Resolve(game::kSystemIni);
    const auto systemIni = files::ReadAll(systemPath);
    if (!systemIni && files::Exists(systemPath))
        throw Refusal{kFailed, "Unable to read " + std::string(safeguards::kSystemIni)};
    const check::InputClass input =
        check::ReadInputClass(systemIni ? std::optional<std::string_view>(*systemIni) : std::nullopt);
    const check::Report report = check::CheckBindings(*text, input.name);
    const bool any = !report.findings.empty() || !report.notes.empty();
    // A default the player may not expect is said even when all is well.
    if (any || input.source != check::ClassSource::Named)
        std::cerr << "The game reads its bindings from " << ReadSection(input) << ".\n";
    for (const check::Finding& f : report.findings) PrintFinding(out, check::KindName(f.kind), f);
    for (const check::Finding& f : report.notes) PrintFinding(out, kNoteKind, f);
    if (!any) return;

    const std::string counts = std::to_string(report.findings.size()) + " finding(s) and " +
                               std::to_string(report.notes.size()) + " note(s) in " + std::string(safeguards::kUserIni);
    if (!report.findings.empty() || strict) throw Refusal{kFailed, counts + "."};
    std::cerr << counts << "; notes count as findings only with --strict.\n";
}

void DiffWithBackup(const Output& out)
{
    const ConfigFile backup{std::string(safeguards::kUserBackup)};
    if (!files::Exists(files::Resolve(backup.Path())))
        throw Refusal{kFailed, "No backup " + std::string(safeguards::kUserBackup) + " to compare with."};
    out.Changes(sets::Differences(sets::ReadShownState(backup), sets::ReadShownState(User())));
}

void RestoreBackups(bool yes)
{
    if (!yes) {
        std::cerr << "Put " << safeguards::kUserBackup << " and " << safeguards::kSystemBackup << " back over "
                  << safeguards::kUserIni << " and " << safeguards::kSystemIni << ", losing every change since? [y/N] "
                  << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer)) std::cerr << '\n';
        if (answer != "y" && answer != "Y" && ascii::ToLower(answer) != "yes")
            throw Refusal{kFailed, "Nothing restored."};
    }
    WarnIfGameRunning();
    if (!history::RestoreBackups(Recorder(history::Origin::Reset)))
        throw Refusal{kFailed, "Unable to restore the backup copies; " + std::string(safeguards::kUserIni) + " and " +
                                   std::string(safeguards::kSystemIni) + " are unchanged."};
}

// A history command's failure, already worded.
void Finish(const std::optional<std::string>& failure)
{
    if (failure) throw Refusal{kFailed, *failure};
}

std::string InstallKind(const locate::Install& install)
{
    std::string kind(locate::Describe(install.kind));
    if (!install.mod.empty()) kind += " " + install.mod;
    return kind;
}

// Every install found from here, the folder whose settings the game reads
// first, where its game folder lies below.
void ListInstalls(const Output& out, const std::vector<locate::Install>& installs, std::ostream& to)
{
    for (const locate::Install& i : installs) {
        if (out.tsv) {
            to << i.system.string() << '\t' << InstallKind(i) << '\t' << i.live.string() << '\t'
               << locate::Describe(i.reason) << '\n';
            continue;
        }
        to << "* " << i.live.string() << "\n    " << InstallKind(i) << ", " << locate::Describe(i.reason);
        if (!i.system.empty() && i.system != i.live) to << "; game folder " << i.system.string();
        to << '\n';
    }
}

void Where(const Output& out)
{
    const auto installs = locate::FindInstalls(fs::current_path());
    if (installs.empty()) throw Refusal{kFailed, "No Deus Ex install found."};
    ListInstalls(out, installs, std::cout);
}

// Goes into the game folder to work on: the one named, else this one, else
// the live folder of the one install found from here. The program needs no
// User.ini only to list installs or to put the backups back.
void EnterGameFolder(const Output& out, const std::string& dir, bool needsUserIni)
{
    if (!dir.empty()) {
        std::error_code ec;
        fs::current_path(dir, ec);
        if (ec) throw Refusal{kUsage, "No folder " + dir};
    }
    if (!needsUserIni) return;
    const fs::path here = fs::current_path();
    if (files::Exists(files::Resolve(safeguards::kUserIni))) {
        if (const auto elsewhere = locate::LiveElsewhere(here))
            std::cerr << "Note: Deus Ex reads its settings from " << elsewhere->live.string()
                      << ", not from this folder; name that folder with -C to change what the game reads.\n";
        return;
    }
    const std::string missing = "No " + std::string(safeguards::kUserIni) + " here";
    if (!dir.empty()) throw Refusal{kFailed, missing + ": name the game's System folder with -C."};
    const auto installs = locate::FindInstalls(here);
    if (installs.empty())
        throw Refusal{kFailed, missing + " and no Deus Ex install found: run in the game's System "
                                         "folder or name it with -C."};
    if (installs.size() > 1) {
        std::cerr << missing << ", and Deus Ex is installed more than once; name the folder with -C:\n";
        ListInstalls(out, installs, std::cerr);
        throw Refusal{kUsage, ""};
    }
    try {
        safeguards::EnterLiveFolder(installs.front());
    } catch (const std::runtime_error& e) {
        throw Refusal{kFailed, e.what()};
    }
    std::cerr << "Working on " << installs.front().live.string() << ".\n";
}

int Run(int argc, char** argv)
{
    const std::string slots = std::to_string(aliases::kSlotCount);
    const std::string lockedSlots = "slots 0 to " + std::to_string(aliases::kLockedSlotCount - 1);
    CLI::App app{"Reads and edits the key bindings and the " + slots + " aliases of Deus Ex's User.ini.",
                 "fenwake-cli"};
    app.set_version_flag("--version", std::string(kVersionLine));
    // Every command with its options: fenwake-cli(1) is made of it.
    app.set_help_all_flag("--help-all", "Print the help of every command and exit");
    app.formatter(std::make_shared<HelpAllFormatter>());
    app.require_subcommand(1);
    app.fallthrough();

    Output out;
    std::string dir;
    app.add_option("-C", dir, "The game's System folder (default: the current directory)")->type_name("DIR");
    app.add_flag("--tsv", out.tsv, "Tab-separated output");

    // Files named on the command line stay relative to where the player is.
    const fs::path startDir = fs::current_path();
    const auto here = [&startDir](const std::string& file) { return file.empty() ? fs::path() : startDir / file; };

    std::string key, text, file, command, name;
    int slot = -1, count = 1;
    bool unlock = false, dryRun = false, yes = false;
    bool allKeys = false, keepSecrets = false, allowRisky = false, strict = false;
    const std::string keyHelp = "Key name in any letter case; keys --all lists them (Mouse4, Mouse5 too)";

    auto* keysCmd = app.add_subcommand("keys", "The " + std::to_string(keys::kKeyNames.size()) +
                                                   " keys in list order with their bindings");
    keysCmd->add_flag("--all", allKeys, "Every key the game knows, in key-code order, with its friendly name");
    keysCmd->callback([&] { allKeys ? ListAllKeys(out) : ListKeys(out); });
    auto* get = app.add_subcommand("get", "One key's binding (" + std::string(keys::kNoBind) + " when it has no line)");
    get->add_option("KEY", key, keyHelp)->required();
    get->callback([&] { std::cout << keys::ReadBinding(User(), EngineKey(key)) << '\n'; });
    auto* bind = app.add_subcommand("bind", "Bind a key, in both input sections, as the window does");
    bind->add_option("KEY", key, keyHelp)->required();
    bind->add_option("TEXT", text, "The commands, separated by |")->required();
    bind->callback([&] { BindKey(key, text); });
    app.add_subcommand("aliases", "The " + slots + " alias slots: number, command, name, lock")->callback([&] {
        ListAliases(out);
    });
    auto* alias = app.add_subcommand("alias", "Save an alias slot as the window's \"Save alias\" does");
    alias->add_option("N", slot, "Slot number, 0 to " + std::to_string(aliases::kSlotCount - 1))->required();
    alias->add_option("COMMAND", command, "The command")->required();
    alias->add_option("NAME", name, "The alias name")->required();
    alias->add_flag("--unlock", unlock, "Allow " + lockedSlots + ", the game's own");
    alias->callback([&] { SaveAlias(slot, command, name, unlock); });
    auto* find = app.add_subcommand("find", "Keys and aliases whose command contains TEXT, ignoring case");
    find->add_option("TEXT", text, "Text to look for")->required();
    find->callback([&] { FindText(out, text); });
    auto* exportCmd = app.add_subcommand("export", "Write a binding set: every binding and alias line");
    exportCmd->add_option("FILE", file, "Where to write it (default: standard output)");
    exportCmd->add_flag("--keep-secrets", keepSecrets,
                        "Write passwords as they are instead of " + std::string(review::kSecretPlaceholder));
    exportCmd->callback([&] { ExportSet(here(file), keepSecrets); });
    auto* importCmd = app.add_subcommand("import", "Apply a binding set or a pasted block of Key=Command lines");
    importCmd->add_option("FILE", file, "The set or fragment")->required();
    importCmd->add_flag("--dry-run", dryRun, "Print the changes and the risky lines, write nothing");
    importCmd->add_flag("--unlock", unlock, "Also change alias " + lockedSlots);
    importCmd->add_flag("--allow-risky", allowRisky,
                        "Import lines that leave the game, change settings, act as admin or run a file");
    importCmd->callback([&] { ImportSet(out, here(file), dryRun, unlock, allowRisky); });
    auto* checkCmd = app.add_subcommand("check", "What in " + std::string(safeguards::kUserIni) +
                                                     " the game would not do as it looks; exit 1 with findings");
    checkCmd->add_flag("--strict", strict, "Count notes as findings too");
    checkCmd->footer(Wrapped(
        "The game reads its bindings from the section of " + std::string(safeguards::kUserIni) +
        " named after the input class " + std::string(safeguards::kSystemIni) + " names in [" +
        std::string(game::kEngineSection) + "] " + std::string(game::kInputClassKey) + "=, or of " +
        std::string(game::kDefaultInputClass) +
        " without that line or file. Findings are about that section and the file as a whole: a byte-order mark, a "
        "key listed twice, a binding calling an alias no slot defines, an alias name used twice, risky bindings. "
        "Notes follow them: keys where the other binding sections, which the game never reads, differ from it. With "
        "--tsv each row is kind, section, key and detail; the kind of a note is \"" +
        std::string(kNoteKind) + "\"."));
    checkCmd->callback([&] { CheckUserIni(out, strict); });
    app.add_subcommand("diff", "What differs from the first-run backup " + std::string(safeguards::kUserBackup))
        ->callback([&] { DiffWithBackup(out); });
    auto* where =
        app.add_subcommand("where", "The Deus Ex installs found, each with the folder whose settings it reads");
    where->footer("Each install: the folder the game reads, then its kind, why it reads there and\n"
                  "the game folder. With --tsv: game folder, kind, folder read, why.");
    where->callback([&] { Where(out); });
    auto* restore = app.add_subcommand("restore", "Put both first-run backups back");
    restore->add_flag("--yes", yes, "Do not ask first");
    restore->callback([&] { RestoreBackups(yes); });

    const auto printChanges = [&out](const std::vector<sets::Change>& changes) { out.Changes(changes); };
    auto* historyCmd = app.add_subcommand("history", "Every change Fenwake saved here, oldest first");
    historyCmd->add_option("KEY", key, "Only this key or alias slot (\"Aliases[20]\")");
    historyCmd->callback([&] { ListHistory(printChanges, key, out.tsv); });
    auto* reapply = app.add_subcommand("reapply", "Apply again the changes another program undid (the game, at exit)");
    reapply->add_flag("--dry-run", dryRun, "Print the changes, write nothing");
    reapply->callback([&] { Finish(ReapplyUndone(printChanges, dryRun)); });
    auto* undo = app.add_subcommand("undo", "Put back the last N changes, newest first");
    undo->add_option("N", count, "How many (default 1)")->check(CLI::PositiveNumber);
    undo->callback([&] { Finish(UndoChanges(printChanges, count)); });

    // Set last: the commands would take it over as their own.
    app.footer("Outside the game's System folder, and without -C, a command works on the one Deus Ex\n"
               "install found. \"fenwake-cli COMMAND --help\" tells more.\n\n"
               "Exit status:\n"
               "  0  done\n"
               "  1  a file could not be read or written, an import refused for its risky\n"
               "     lines, findings of check\n"
               "  2  a usage error");

    // Runs once the whole line is parsed, before the chosen command's callback.
    app.parse_complete_callback([&] {
        EnterGameFolder(out, dir, !restore->parsed() && !where->parsed());
        if (!historyCmd->parsed() && !reapply->parsed() && !undo->parsed() && !where->parsed()) NoteUndoneChanges();
    });

    try {
        app.parse(argc, argv);
        std::cout.flush();
        return std::cout ? 0 : kFailed;
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : kUsage;
    } catch (const Refusal& r) {
        if (!r.message.empty()) std::cerr << r.message << '\n';
        return r.code;
    } catch (const WriteError& e) {
        std::cerr << e.what() << '\n';
        return kFailed;
    }
}

} // namespace
} // namespace fenwake::cli

int main(int argc, char** argv) { return fenwake::cli::Run(argc, argv); }
