#pragma once

#include "config/GameLocator.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <vector>

class QWidget;

namespace fenwake {

struct StartFolder {
    bool proceed = true; // false: the program ends before its window
    // The folder the program moved to because the game reads its settings
    // there; shortcuts made later start in it.
    std::optional<std::filesystem::path> switchedTo;
};

// Before the start-up sequence touches a file: makes the folder whose
// settings the game really reads the current directory. Asks once when the
// game reads them from elsewhere; offers the installs found when started
// where neither configuration file is; when there is none, or the player
// chooses none, reports the missing files and ends, leaving the folder as
// it was.
StartFolder ChooseStartFolder(const locate::Places& places);

// Offers the installs, the one whose settings were written last first and
// chosen, and makes the chosen one's live folder the current directory;
// nothing when the player cancels or it cannot be entered (then shown).
// why, when given, comes before the prompt.
std::optional<locate::Install> EnterChosenInstall(std::vector<locate::Install> installs, QWidget* owner,
                                                  const QString& why = {});

// "... file not found! Click OK to exit.", one box per missing configuration file.
void ReportMissingConfigFiles(QWidget* owner);

} // namespace fenwake
