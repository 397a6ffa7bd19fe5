#pragma once

#include "config/GameFiles.h"
#include "config/GameLocator.h"

#include <string_view>
#include <vector>

// Whole-file protection of the game's two configuration files: the presence
// check, the attribute reset and the one pair of backup copies. Names are the
// program's own spellings, resolved without regard to case.
namespace fenwake::safeguards {

inline constexpr std::string_view kUserIni = game::kUserIni.substr(2); // the bare file name
inline constexpr std::string_view kUserIniLower = "user.ini";
inline constexpr std::string_view kSystemIni = game::kSystemIni.substr(2);
inline constexpr std::string_view kUserBackup = "user.ini_Bak";
inline constexpr std::string_view kSystemBackup = "DeusEx.ini_Bak";

// The configuration files that are missing, User.ini first.
std::vector<std::string_view> MissingConfigFiles();

// Gives both files back their owner's read and write permission; a missing
// or unchangeable file is passed over.
void ClearReadOnlyMarks();

enum class BackupResult {
    Made,    // both copies taken now
    Present, // at least one backup already exists: nothing copied
    Failed,  // a copy could not be made; no backup is left behind
};

// Takes the backup pair when neither backup exists. Either both copies are
// made or none: a half pair would stop the backups from ever being taken.
BackupResult TakeBackupsOnce();

// Puts both backups back over the configuration files. Both backups are read
// before anything is written, and a failure on the second file puts the first
// back as it was, so a failed restore changes neither file.
bool RestoreBackups();

// Makes the install's live folder the current directory. Until the game has
// saved a DeusEx.ini beside the live User.ini it reads the game folder's, so
// a copy of that goes there first: the tool's own setting must never start
// a DeusEx.ini of one line that the game would read instead. Throws
// std::runtime_error, worded for the player, and then stays where it was.
void EnterLiveFolder(const locate::Install& install);

} // namespace fenwake::safeguards
