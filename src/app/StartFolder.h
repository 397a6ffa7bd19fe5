#pragma once

#include <filesystem>
#include <optional>

class QWidget;

namespace fenwake {

namespace locate {
struct Places;
}

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

// "... file not found! Click OK to exit.", one box per missing configuration file.
void ReportMissingConfigFiles(QWidget* owner);

} // namespace fenwake
