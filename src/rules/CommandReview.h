#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the console commands of a binding or alias do beyond the game itself:
// the review a set gets before it is taken in, and the risky-binding check.
namespace fenwake::review {

// In rising order of concern: leaving ends only the session, settings
// outlast it, admin commands act on other players, and a file may hold any
// of these.
enum class CommandClass { Plain, LeavesGame, ChangesSettings, Admin, RunsFile };

// The class as a message names it: "leaves the game", "admin", ...
std::string_view Label(CommandClass c);

// The class of a command word in any letter case. Bare alias names and the
// game's own commands are Plain.
CommandClass ClassOf(std::string_view word);

// One of the "|"-separated commands of a value.
struct Command {
    std::size_t offset = 0; // where text starts in the value
    std::string_view text;  // without "onrelease" and the blanks around it
    std::string_view word;  // the command's first word
    bool onRelease = false;
    CommandClass cls = CommandClass::Plain;
};

// The commands of a binding value or an alias's command, as the game reads
// the value; empty pieces are left out.
std::vector<Command> Commands(std::string_view value);

CommandClass Worst(std::string_view value);

// "leaves the game: disconnect; admin: adminlogin x", one entry per
// command that is not plain, each text cut to a readable length; empty when
// all are plain.
std::string Describe(const std::vector<Command>& commands);

} // namespace fenwake::review
