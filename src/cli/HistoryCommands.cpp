#include "cli/HistoryCommands.h"

#include "config/Ascii.h"
#include "config/FileSystem.h"
#include "config/GameFiles.h"
#include "config/GameProcess.h"
#include "rules/Revert.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

namespace fenwake::cli {
namespace {

void TellError(const std::string& message) { std::cerr << message << '\n'; }

// Opened once the program is in the game folder, at the first use.
const std::shared_ptr<history::ChangeHistory>& History()
{
    static const std::shared_ptr<history::ChangeHistory> history = history::OpenFor(std::filesystem::current_path());
    return history;
}

std::vector<history::Record> LoadRecords()
{
    if (!History()) {
        std::cerr << "No data folder to keep a history of changes in.\n";
        return {};
    }
    return History()->Load(TellError);
}

std::vector<sets::Change> Shown(std::span<const history::Change> changes)
{
    std::vector<sets::Change> shown;
    for (const history::Change& c : changes) shown.push_back({c.key, c.before, c.after});
    return shown;
}

} // namespace

history::Recorder Recorder(history::Origin origin) { return history::Recorder(History(), origin, TellError); }

void WarnIfGameRunning()
{
    if (!game::FindRunningGames().empty()) std::cerr << game::kRunningWarning << '\n';
}

void NoteUndoneChanges()
{
    const ConfigFile user = game::UserIni();
    if (!files::Exists(files::Resolve(user.Path()))) return;
    const std::size_t undone = history::FindUndone(user, LoadRecords()).size();
    if (undone == 0) return;
    std::cerr << undone << " of your changes were undone while Fenwake was closed (the game rewrites "
              << game::kUserIni.substr(2) << " when it exits). \"fenwake-cli reapply\" applies them again.\n";
}

void ListHistory(const PrintChanges& print, const std::string& key, bool tsv)
{
    std::vector<history::Record> records = LoadRecords();
    std::erase_if(records, [&](const auto& r) { return !key.empty() && !ascii::EqualsNoCase(r.change.key, key); });
    std::size_t width = 0; // of the origin column, for people
    for (const history::Record& r : records) width = std::max(width, history::Name(r.origin).size());
    for (const history::Record& r : records) {
        const std::string_view origin = history::Name(r.origin);
        if (tsv)
            std::cout << r.time << '\t' << origin << '\t';
        else
            std::cout << r.time << "  " << origin << std::string(width - origin.size() + 2, ' ');
        print(Shown({&r.change, 1}));
    }
}

std::optional<std::string> ReapplyUndone(const PrintChanges& print, bool dryRun)
{
    const ConfigFile user = game::UserIni();
    const std::vector<history::Change> undone = history::FindUndone(user, LoadRecords());
    print(Shown(undone));
    if (dryRun) {
        std::cerr << undone.size() << " change(s) to apply again; dry run, nothing written.\n";
        return std::nullopt;
    }
    if (undone.empty()) {
        std::cerr << "No change was undone.\n";
        return std::nullopt;
    }
    WarnIfGameRunning();
    history::Reapply(user, undone, Recorder(history::Origin::Reapply));
    std::cerr << undone.size() << " change(s) applied again.\n";
    return std::nullopt;
}

std::optional<std::string> UndoChanges(const PrintChanges& print, int count)
{
    const ConfigFile user = game::UserIni();
    const std::vector<history::Record> undoable = history::Undoable(user, LoadRecords());
    if (!undoable.empty()) WarnIfGameRunning();
    int done = 0;
    for (; done < count && static_cast<std::size_t>(done) < undoable.size(); ++done) {
        const history::Record& r = undoable[static_cast<std::size_t>(done)];
        if (const auto holds = history::UndoChange(user, r, Recorder(history::Origin::Undo))) {
            return history::UndoConflict(r, *holds) + "; it and the changes before it are left as they are. " +
                   std::to_string(done) + " change(s) undone.";
        }
        print({{r.change.key, r.change.after, r.change.before}});
    }
    if (done < count)
        return "The history holds " + std::to_string(done) + " change(s) to undo, not " + std::to_string(count) + "; " +
               std::to_string(done) + " undone.";
    return std::nullopt;
}

} // namespace fenwake::cli
