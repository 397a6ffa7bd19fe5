#pragma once

#include "rules/BindingSet.h"
#include "rules/ChangeHistory.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// fenwake-cli's side of the history of changes and the game-running check:
// the commands history, reapply and undo, and what every change does first.
// Run in the game's System folder.
namespace fenwake::cli {

using PrintChanges = std::function<void(const std::vector<sets::Change>&)>;

// Records this folder's changes of that origin in its history; trouble
// with the history itself goes to standard error.
history::Recorder Recorder(history::Origin origin);

// Before a change: the warning on standard error while the game runs.
void WarnIfGameRunning();

// At start-up: a word on standard error when changes were undone since.
void NoteUndoneChanges();

// history [KEY]: every record, oldest first, or those of one key or slot.
void ListHistory(const PrintChanges& print, const std::string& key, bool tsv);

// reapply [--dry-run] and undo [N]: the changes they make, printed as they
// are made. Each returns a failure's message, or nothing when it could do
// what it printed.
std::optional<std::string> ReapplyUndone(const PrintChanges& print, bool dryRun);
std::optional<std::string> UndoChanges(const PrintChanges& print, int count);

} // namespace fenwake::cli
