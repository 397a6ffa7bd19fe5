#pragma once

namespace fenwake {
class ConfigFile;
}

// The tool's own settings, kept in DeusEx.ini beside the game's.
namespace fenwake::tool {

// The colour theme list's selected index; -1 for none.
int ReadThemeIndex(const ConfigFile& system);
void WriteThemeIndex(const ConfigFile& system, int index);

// Whether this is the tool's first start here. Only read: nothing writes it.
bool ReadFirstRunFlag(const ConfigFile& system);

} // namespace fenwake::tool
