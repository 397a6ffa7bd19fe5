// What the crash tests kill at a moment of their choosing, in the game
// folder it is started in, with the history in the file named:
//
//   history_writer append <history file> <ready file>
//       appends records without end, each one change of F5 whose values
//       count up ("7 xxx..." -> "8 xxx..."), long enough that a kill often
//       lands inside a write;
//   history_writer reapply <history file> <older copy> <ready file>
//       puts the older copy in place as another program would (a new file
//       renamed over it), then finds the changes that undid and applies them
//       again, without end;
//   history_writer typing <history file> <ready file>
//       types into F5's binding as the window's command box saves it, one
//       run without end ("say 1", "say 12", ...).
//
// The ready file appears once the loop has begun (for append: once its first
// record is written).
#include "config/GameFiles.h"
#include "rules/ChangeHistory.h"
#include "rules/KeyBindings.h"
#include "rules/Revert.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {
namespace fs = std::filesystem;
using namespace fenwake;

void Tell(const std::string& message) { std::cerr << message << '\n'; }

std::string Value(long n) { return std::to_string(n) + ' ' + std::string(200000, 'x'); }

int Append(const std::shared_ptr<history::ChangeHistory>& history, const fs::path& ready)
{
    const auto records = history->Load(Tell);
    long n = records.empty() ? 0 : std::stol(records.back().change.after);
    for (bool told = false;; told = true) {
        const history::Record r{
            history::TimeOf(files::Now()), history::Origin::Window, "User.ini", {"F5", Value(n), Value(n + 1)}};
        history->Append({&r, 1}, Tell);
        ++n;
        // Ready once a record is whole: a kill before that would leave nothing to check.
        if (!told) std::ofstream{ready};
    }
}

int Typing(const std::shared_ptr<history::ChangeHistory>& history, const fs::path& ready)
{
    const ConfigFile user = game::UserIni();
    history::ChangeRun run(history::Recorder(history, history::Origin::Window, Tell));
    // Each run types other values, so that none ends where another began.
    std::string typed = "say " + std::to_string(files::Now()) + " ";
    for (long n = 1;; ++n) {
        typed += static_cast<char>('0' + n % 10);
        keys::WriteBinding(user, "F5", typed, run.Recording());
        if (n == 1) std::ofstream{ready};
    }
}

int Reapply(const std::shared_ptr<history::ChangeHistory>& history, const fs::path& older, const fs::path& ready)
{
    std::ifstream in(older, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const ConfigFile user = game::UserIni();
    const history::Recorder recorder(history, history::Origin::Window, Tell);
    std::ofstream{ready};
    for (;;) {
        std::ofstream("User.ini.other", std::ios::binary | std::ios::trunc) << bytes;
        fs::rename("User.ini.other", "User.ini");
        history::Reapply(user, history::FindUndone(user, history->Load(Tell)), recorder);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    const auto history = std::make_shared<history::ChangeHistory>(argv[2], fs::current_path().string());
    const std::string mode = argv[1];
    if (mode == "append" && argc == 4) return Append(history, argv[3]);
    if (mode == "typing" && argc == 4) return Typing(history, argv[3]);
    if (mode == "reapply" && argc == 5) return Reapply(history, argv[3], argv[4]);
    return 2;
}
