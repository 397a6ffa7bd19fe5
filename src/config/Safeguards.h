#pragma once

#include "config/GameFiles.h"

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

} // namespace fenwake::safeguards
