#pragma once

#include "config/ConfigFile.h"
#include "rules/ChangeHistory.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The ways back that the history of changes gives: the changes another
// program turned back found and applied again, changes undone newest first,
// and the reset to the first-run backups, recorded like any other save.
namespace fenwake::history {

// The value the key or alias slot ("F5", "Aliases[20]") shows now.
std::string ShownValue(const ConfigFile& user, std::string_view key);

// For each key and slot of the file in the records: the last value Fenwake
// wrote, where the file now holds a value the key had before it instead, as
// when the game writes back its settings at exit. In the order of their
// last records; before is the value now, after the value Fenwake wrote.
std::vector<Change> FindUndone(const ConfigFile& user, std::span<const Record> records);

// Writes the changes' after values in one replacement of the file and
// records them as re-applied. Throws WriteError.
void Reapply(const ConfigFile& user, std::span<const Change> undone, const Recorder& recorder);

// The player keeps what another program put back: the changes are recorded
// as undone (before the value Fenwake wrote, after the value now), so that
// they are not offered again. Writes nothing.
void KeepUndone(const ConfigFile& user, std::span<const Change> undone, const Recorder& recorder);

// The records of the file's changes that are not undone yet, newest first:
// an undo's own record takes the change it put back off the list, and a
// re-apply takes the place of the change it applied again.
std::vector<Record> Undoable(const ConfigFile& user, std::span<const Record> records);

// Puts the change's before value back and records the undo, when the file
// still holds what the change wrote; only records it when the file holds
// the value before already. Otherwise writes nothing and returns the value
// the file holds. Throws WriteError.
std::optional<std::string> UndoChange(const ConfigFile& user, const Record& record, const Recorder& recorder);

// Why the change could not be undone: "F5 holds "x", not "y" as Fenwake
// wrote it at <time>".
std::string UndoConflict(const Record& record, std::string_view holds);

// The positions of the records whose change another program undid since:
// the last record of each key FindUndone finds.
std::vector<std::size_t> UndoneRecords(const ConfigFile& user, std::span<const Record> records);

// Puts both first-run backups back (safeguards::RestoreBackups) and records
// every key and slot that changed as a reset. False when they could not be
// restored; nothing is changed then.
bool RestoreBackups(const Recorder& recorder);

} // namespace fenwake::history
