#include "app/CommandLine.h"

#include "config/Safeguards.h"
#include "config/Version.h"
#include "rules/KeyAliases.h"

#include <string_view>

namespace fenwake {
namespace {

// help2man builds fenwake(1) from this text: its headings become the page's
// sections.
void PrintHelp(std::ostream& out)
{
    using namespace safeguards;
    out << "Usage: fenwake [--help | --version]\n"
        << "Edits, in place, the key bindings and the " << aliases::kSlotCount << " key aliases that Deus Ex keeps in "
        << kUserIni << ",\nand the player and graphics settings of " << kSystemIni
        << ". Every change is written the\nmoment it is made; comments, unknown sections, line ends and odd "
           "characters\nstay as they were.\n\n"
        << "Started in the game's System folder (the one with " << game::kGameProgram << "), it edits the\n"
        << "files there, or offers the folder whose settings the game really reads:\n"
        << "Kentie's launcher's Documents folder, Windows' VirtualStore, a Proton prefix.\n"
        << "Started anywhere else (from a desktop menu, the home folder), it looks for\n"
        << "Deus Ex in Program Files and Documents, in Steam's libraries and their\n"
        << "Proton prefixes, in ~/.wine and $WINEPREFIX, and opens the install chosen.\n\n"
        << "On its first run in a folder it copies " << kUserIni << " and " << kSystemIni << " to " << kUserBackup
        << "\nand " << kSystemBackup << "; \"Reset key bindings to previous state\" puts them back.\n\n"
        << "Options:\n"
        << "  --help     print this help and exit\n"
        << "  --version  print the version and exit\n\n"
        << "fenwake-cli makes the same changes from a terminal.\n";
}

} // namespace

std::optional<int> AnswerCommandLine(int argc, const char* const* argv, const std::function<std::ostream&()>& output)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool version = arg == "--version";
        if (!version && arg != "--help" && arg != "-h") continue;
        std::ostream& out = output();
        if (version)
            out << kVersionLine << '\n';
        else
            PrintHelp(out);
        out.flush();
        return out ? 0 : 1;
    }
    return std::nullopt;
}

} // namespace fenwake
