#include "rules/ToolSettings.h"

#include "config/ConfigFile.h"

#include <string_view>

namespace fenwake::tool {
namespace {

constexpr std::string_view kThemeSection = "Fenwake";
constexpr std::string_view kThemeKey = "ColorThemeIndex";
constexpr std::string_view kFirstRunSection = "CVFirstFun";
constexpr std::string_view kFirstRunKey = "bWasFirstRun";

} // namespace

int ReadThemeIndex(const ConfigFile& system) { return system.ReadNumber(kThemeSection, kThemeKey, 0); }

void WriteThemeIndex(const ConfigFile& system, int index) { system.WriteNumber(kThemeSection, kThemeKey, index); }

bool ReadFirstRunFlag(const ConfigFile& system) { return system.ReadFlag(kFirstRunSection, kFirstRunKey, true); }

} // namespace fenwake::tool
