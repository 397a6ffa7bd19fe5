#pragma once

#include "config/ConfigFile.h"
#include "config/FileSystem.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The history of changes: a record of every change Fenwake saves to a game
// folder's User.ini, so that the changes the game later undoes can be found
// and applied again, and changes can be undone one by one. Each game folder
// has its own file in the user's data folder, plain text, one record a line.
namespace fenwake::history {

// Where a change came from.
enum class Origin { Window, CliBind, CliAlias, CliImport, WindowImport, Reset, Reapply, Undo };

// As the file and the terminal tool spell it: "window", "cli-bind", ...
std::string_view Name(Origin origin);

// One key's or alias slot's change, with the values as the editors show
// them ("NOBIND", "not used" for no line).
struct Change {
    std::string key; // "F5", "Aliases[20]"
    std::string before;
    std::string after;

    bool operator==(const Change&) const = default;
};

struct Record {
    std::string time; // UTC to the millisecond: "2024-05-01T12:00:00.123Z"
    Origin origin = Origin::Window;
    std::string file; // the bare name: "User.ini"
    Change change;
    // Carries on the key's change before it, as each keystroke of typing
    // does: a loaded history holds the two as one change.
    bool continues = false;
    // Loaded, for a change of several saves: the value before its last one.
    // A run records each save before making it, so the file still holds
    // this value where the program ended between the two.
    std::optional<std::string> lastSaveFrom = std::nullopt;

    bool operator==(const Record&) const = default;
};

// The most records a history keeps; the oldest go once it holds a tenth more.
inline constexpr std::size_t kKeptRecords = 10000;

// The file's text: a header line naming the format and the game folder,
// then one line per record, its fields separated by tabs, with tabs, line
// breaks, other control characters and backslashes written as escapes.
std::string HeaderLine(std::string_view folder);
std::string RecordLine(const Record& record);
// A line of the current format (without its line break), or nothing.
std::optional<Record> ParseRecord(std::string_view line);

// The clock's time as a record carries it.
std::string TimeOf(std::int64_t nanoseconds);

// How the player hears of trouble with the history itself.
using Tell = std::function<void(const std::string&)>;

// One game folder's history in one file. Appends never rewrite what is
// there, and a file that is not a whole history of the folder is set aside
// under a new name and a new one begun: trouble with the history is told,
// never raised, so it never stands in the way of a save.
class ChangeHistory {
public:
    ChangeHistory(std::filesystem::path file, std::string folder);

    const std::filesystem::path& File() const { return file_; }

    // Every change, oldest first: the records of one run of saves (typing)
    // as one, timed by its last, and a run that ended where it began left out.
    std::vector<Record> Load(const Tell& tell);
    // Adds the records at the end of the file, begun if there is none.
    void Append(std::span<const Record> records, const Tell& tell);

private:
    // Reads and checks the file; true when records may be appended to it.
    bool Check(const Tell& tell, std::vector<Record>* records, int attempt = 0);
    bool SetAside(const std::string& trouble, const Tell& tell);
    bool Begin(std::span<const Record> records);
    void Compact();

    std::filesystem::path file_;
    std::string folder_;
    // The file as it was last checked or appended to here; an append to the
    // same file needs no new check.
    std::optional<files::Stamp> known_;
    std::size_t count_ = 0;
    // What kept the last check or setting aside from its end.
    std::string trouble_;
    // Told once that nothing can be recorded: no more appends are tried.
    bool givenUp_ = false;
};

// The history of the game folder in the user's data folder, or none where
// the platform names no data folder.
std::shared_ptr<ChangeHistory> OpenFor(const std::filesystem::path& gameFolder);

// What the saves of the rules take, so that none of them can leave a change
// out of the history: the history, where the change comes from, and whom
// to tell.
class Recorder {
public:
    // Records nothing, for callers that keep no history on purpose.
    static Recorder None();

    // saved, when given, runs after every save that changed something.
    Recorder(std::shared_ptr<ChangeHistory> history, Origin origin, Tell tell, std::function<void()> saved = {});

    // The same recorder for changes of another origin.
    Recorder As(Origin origin) const;

    // Makes a save of one change with its record: the record first in a
    // run, so that a crash between the two leaves the history ahead of the
    // file, never behind it; else the save first, as a record must never
    // name a change that failed.
    void Save(const ConfigFile& file, const Change& change, const std::function<void()>& save) const;

    // A save of the file has just made these changes: one record each that
    // changed a value.
    void Saved(const ConfigFile& file, std::span<const Change> changes) const;
    void Saved(const ConfigFile& file, const Change& change) const { Saved(file, {&change, 1}); }
    // The records alone, for changes another program made that the player
    // takes as Fenwake's own: nothing was saved.
    bool RecordOnly(const ConfigFile& file, std::span<const Change> changes) const;

private:
    friend class ChangeRun;

    std::shared_ptr<ChangeHistory> history_;
    Origin origin_ = Origin::Window;
    Tell tell_;
    std::function<void()> saved_;
    // The key whose change the run's next save of it carries on; empty
    // while none is open. Only the recorders of a ChangeRun have one.
    std::shared_ptr<std::string> run_;
};

// Saves of one key that make one change, as typing into a command box does.
// Each save is recorded as it is made, so a crash loses none of them; the
// ones after the first are marked as carrying it on, until End().
class ChangeRun {
public:
    explicit ChangeRun(Recorder recorder);

    // For the run's saves: one of another key begins a new change.
    const Recorder& Recording() const { return recorder_; }
    // The next save begins a new change.
    void End();

private:
    Recorder recorder_;
};

// The records' runs joined as Load joins them.
std::vector<Record> JoinRuns(std::vector<Record> records);

} // namespace fenwake::history
