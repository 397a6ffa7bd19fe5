#pragma once

// Histories of changes as the benchmarks write them.
#include "BenchPlatform.h"

#include "config/FileSystem.h"
#include "rules/ChangeHistory.h"
#include "rules/KeyBindings.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fenwake::bench {
namespace fs = std::filesystem;

// A record as typing a command into the box leaves it: one letter more.
inline history::Record Typed(std::size_t n)
{
    static constexpr std::array<std::string_view, 6> kCommands = {"say gg",
                                                                  "ActivateBelt 0 | onrelease ParseLeftClick",
                                                                  "Jump",
                                                                  "Duck | OnRelease Duck",
                                                                  "Say {LOCATION} need backup",
                                                                  "SwitchWeapon 4 | onrelease Fire"};
    const std::string_view command = kCommands[n % kCommands.size()];
    const std::size_t typed = 1 + n % command.size();
    return {history::TimeOf(files::Now()),
            history::Origin::Window,
            "User.ini",
            {std::string(keys::kKeyNames[n % keys::kKeyNames.size()]), std::string(command.substr(0, typed - 1)),
             std::string(command.substr(0, typed))}};
}

class Folder {
public:
    Folder() : dir_(MakeTempDir()) {}
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    fs::path operator/(const char* name) const { return dir_ / name; }

private:
    fs::path dir_;
};

inline void Ignore(const std::string&) {}

inline std::vector<history::Record> TenThousand()
{
    std::vector<history::Record> records;
    for (std::size_t n = 0; n < history::kKeptRecords; ++n) records.push_back(Typed(n));
    return records;
}

} // namespace fenwake::bench
