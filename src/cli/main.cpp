// fenwake-cli: the key bindings and aliases of Deus Ex's User.ini from a
// terminal, through the same saves as the window.
#include "cli/BindingSet.h"
#include "config/ConfigFile.h"
#include "config/FileSystem.h"
#include "config/GameFiles.h"
#include "config/Safeguards.h"
#include "pages/KeyAliases.h"
#include "pages/KeyBindings.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>

namespace fenwake::cli {
namespace {
namespace fs = std::filesystem;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// A refusal or failure already worded for the player.
struct Refusal {
    int code;
    std::string message;
};

bool tsv = false;

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

ConfigFile User() { return game::UserIni(); }

std::string_view ListedKey(const std::string& key)
{
    const auto listed = keys::ListSpelling(key);
    if (listed && *listed == key) return *listed;
    std::string message = "No key \"" + key + "\" in the key list.";
    if (listed) message += " Did you mean \"" + std::string(*listed) + "\"?";
    throw Refusal{kUsage, message};
}

// Name and value, tab-separated or in a column wide enough for the key names.
void PrintPair(const std::string& name, const std::string& value)
{
    if (tsv)
        std::cout << name << '\t' << value << '\n';
    else
        std::cout << name << std::string(name.size() < 16 ? 16 - name.size() : 1, ' ') << value << '\n';
}

void PrintChanges(const std::vector<Change>& changes)
{
    for (const Change& c : changes) {
        if (tsv)
            std::cout << c.name << '\t' << c.before << '\t' << c.after << '\n';
        else
            std::cout << c.name << ": \"" << c.before << "\" -> \"" << c.after << "\"\n";
    }
}

// The window takes the backup pair when it first starts in a folder; a
// player who only ever uses this program gets the same way back.
void EnsureBackups()
{
    switch (safeguards::BuildIniBackups()) {
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

void Keys()
{
    const Shown shown = ReadShown(User());
    for (std::size_t i = 0; i < keys::kKeyNames.size(); ++i) PrintPair(std::string(keys::kKeyNames[i]), shown.keys[i]);
}

void Aliases()
{
    const std::vector<std::string> rows = aliases::LoadRows(User());
    for (int n = 0; n < aliases::kSlotCount; ++n) {
        const std::string& row = rows[static_cast<std::size_t>(n)];
        const aliases::AliasFields f = aliases::ParseRow(row);
        const bool locked = aliases::IsLocked(n, true);
        if (tsv) {
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

void Find(const std::string& text)
{
    const std::string needle = Lower(text);
    const auto has = [&](std::string_view s) { return Lower(s).find(needle) != std::string::npos; };
    const ConfigFile user = User();
    const Shown shown = ReadShown(user);
    for (std::size_t i = 0; i < keys::kKeyNames.size(); ++i)
        if (shown.keys[i] != keys::kNoBind && has(shown.keys[i]))
            PrintPair(std::string(keys::kKeyNames[i]), shown.keys[i]);
    const std::vector<std::string> rows = aliases::LoadRows(user);
    for (int n = 0; n < aliases::kSlotCount; ++n) {
        const aliases::AliasFields f = aliases::ParseRow(rows[static_cast<std::size_t>(n)]);
        if (!f.command.empty() && has(f.command)) PrintPair(aliases::SlotKey(n), f.command);
    }
}

void Bind(const std::string& key, const std::string& text)
{
    const std::string_view listed = ListedKey(key);
    EnsureBackups();
    keys::SaveKeyBind(User(), listed, text);
}

void Alias(int slot, const std::string& command, const std::string& name, bool unlock)
{
    if (!aliases::IsSlot(slot))
        throw Refusal{kUsage, "No alias slot " + std::to_string(slot) + ": slots are 0 to " +
                                  std::to_string(aliases::kSlotCount - 1) + "."};
    if (name.empty()) throw Refusal{kUsage, std::string(aliases::kEmptyName)};
    if (aliases::IsLocked(slot, !unlock))
        throw Refusal{kUsage, "Alias slot " + std::to_string(slot) + " is locked (slots 0 to " +
                                  std::to_string(aliases::kLockedSlotCount - 1) + "); add --unlock to change it."};
    EnsureBackups();
    aliases::SaveSlot(User(), slot, {command, name});
}

void Export(const std::string& file)
{
    if (file.empty()) {
        // The C runtime gives standard output the platform's line ends.
        std::cout << ExportSet(ReadShown(User()), "\n") << std::flush;
        return;
    }
    if (!files::Replace(file, ExportSet(ReadShown(User()), "\r\n"))) throw WriteError(file);
}

void Import(const std::string& file, bool dryRun, bool unlock)
{
    const auto text = files::ReadAll(file);
    if (!text) throw Refusal{kUsage, "Unable to read " + file};
    const Fragment fragment = ReadFragment(*text);
    for (const std::string& name : fragment.unknown) std::cerr << "Skipped, not in the key list: " << name << '\n';
    const ConfigFile user = User();
    const Plan plan = PlanImport(user, fragment, unlock);
    for (const std::string& key : plan.locked) std::cerr << "Skipped, locked (add --unlock): " << key << '\n';
    for (const std::string& key : plan.refused) std::cerr << "Skipped, no alias name: " << key << '\n';
    PrintChanges(plan.changes);
    if (dryRun) {
        std::cerr << plan.changes.size() << " change(s); dry run, nothing written.\n";
        return;
    }
    if (plan.writes.empty()) return;
    EnsureBackups();
    Apply(user, plan);
    std::cerr << plan.changes.size() << " change(s) written.\n";
}

void Diff()
{
    const ConfigFile backup{std::string(safeguards::kUserBackup)};
    if (!files::Exists(files::Resolve(backup.Path())))
        throw Refusal{kFailed, "No backup " + std::string(safeguards::kUserBackup) + " to compare with."};
    PrintChanges(Differences(ReadShown(backup), ReadShown(User())));
}

void Restore(bool yes)
{
    if (!yes) {
        std::cerr << "Put " << safeguards::kUserBackup << " and " << safeguards::kSystemBackup << " back over "
                  << safeguards::kUserIni << " and " << safeguards::kSystemIni << ", losing every change since? [y/N] "
                  << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer)) std::cerr << '\n';
        if (answer != "y" && answer != "Y" && Lower(answer) != "yes") throw Refusal{kFailed, "Nothing restored."};
    }
    if (!safeguards::RestoreIniBackups())
        throw Refusal{kFailed, "Unable to restore the backup copies; " + std::string(safeguards::kUserIni) + " and " +
                                   std::string(safeguards::kSystemIni) + " are unchanged."};
}

int Run(int argc, char** argv)
{
    const std::string slots = std::to_string(aliases::kSlotCount);
    const std::string lockedSlots = "slots 0 to " + std::to_string(aliases::kLockedSlotCount - 1);
    CLI::App app{"Reads and edits the key bindings and the " + slots + " aliases of Deus Ex's User.ini.",
                 "fenwake-cli"};
    app.set_version_flag("--version", std::string("fenwake-cli ") + FENWAKE_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    std::string dir;
    app.add_option("-C", dir, "The game's System folder (default: the current directory)")->type_name("DIR");
    app.add_flag("--tsv", tsv, "Tab-separated output");

    std::string key, text, file, command, name;
    int slot = -1;
    bool unlock = false, dryRun = false, yes = false;

    auto* keysCmd = app.add_subcommand("keys", "The " + std::to_string(keys::kKeyNames.size()) +
                                                   " keys in list order with their bindings");
    auto* getCmd =
        app.add_subcommand("get", "One key's binding (" + std::string(keys::kNoBind) + " when it has no line)");
    getCmd->add_option("KEY", key, "Key name as the key list spells it")->required();
    auto* bindCmd = app.add_subcommand("bind", "Bind a key, in both input sections, as the window does");
    bindCmd->add_option("KEY", key, "Key name as the key list spells it")->required();
    bindCmd->add_option("TEXT", text, "The commands, separated by |")->required();
    auto* aliasesCmd = app.add_subcommand("aliases", "The " + slots + " alias slots: number, command, name, lock");
    auto* aliasCmd = app.add_subcommand("alias", "Save an alias slot as the window's \"Save alias\" does");
    aliasCmd->add_option("N", slot, "Slot number, 0 to " + std::to_string(aliases::kSlotCount - 1))->required();
    aliasCmd->add_option("COMMAND", command, "The command")->required();
    aliasCmd->add_option("NAME", name, "The alias name")->required();
    aliasCmd->add_flag("--unlock", unlock, "Allow " + lockedSlots + ", the game's own");
    auto* findCmd = app.add_subcommand("find", "Keys and aliases whose command contains TEXT, ignoring case");
    findCmd->add_option("TEXT", text, "Text to look for")->required();
    auto* exportCmd = app.add_subcommand("export", "Write a binding set: every binding and alias line");
    exportCmd->add_option("FILE", file, "Where to write it (default: standard output)");
    auto* importCmd = app.add_subcommand("import", "Apply a binding set or a pasted block of Key=Command lines");
    importCmd->add_option("FILE", file, "The set or fragment")->required();
    importCmd->add_flag("--dry-run", dryRun, "Print the changes, write nothing");
    importCmd->add_flag("--unlock", unlock, "Also change alias " + lockedSlots);
    auto* diffCmd =
        app.add_subcommand("diff", "What differs from the first-run backup " + std::string(safeguards::kUserBackup));
    auto* restoreCmd = app.add_subcommand("restore", "Put both first-run backups back");
    restoreCmd->add_flag("--yes", yes, "Do not ask first");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : kUsage;
    }

    try {
        // Files named on the command line stay relative to where the player is.
        if (!file.empty()) file = fs::absolute(file).string();
        if (!dir.empty()) {
            std::error_code ec;
            fs::current_path(dir, ec);
            if (ec) throw Refusal{kUsage, "No folder " + dir};
        }
        if (!restoreCmd->parsed() && !files::Exists(files::Resolve(safeguards::kUserIni)))
            throw Refusal{kFailed, "No " + std::string(safeguards::kUserIni) +
                                       " here: run in the game's System folder or name it with -C."};

        if (keysCmd->parsed())
            Keys();
        else if (getCmd->parsed())
            std::cout << keys::LoadKeyBind(User(), ListedKey(key)) << '\n';
        else if (bindCmd->parsed())
            Bind(key, text);
        else if (aliasesCmd->parsed())
            Aliases();
        else if (aliasCmd->parsed())
            Alias(slot, command, name, unlock);
        else if (findCmd->parsed())
            Find(text);
        else if (exportCmd->parsed())
            Export(file);
        else if (importCmd->parsed())
            Import(file, dryRun, unlock);
        else if (diffCmd->parsed())
            Diff();
        else if (restoreCmd->parsed())
            Restore(yes);
        std::cout.flush();
        return std::cout ? 0 : kFailed;
    } catch (const Refusal& r) {
        std::cerr << r.message << '\n';
        return r.code;
    } catch (const WriteError& e) {
        std::cerr << e.what() << '\n';
        return kFailed;
    }
}

} // namespace
} // namespace fenwake::cli

int main(int argc, char** argv) { return fenwake::cli::Run(argc, argv); }
