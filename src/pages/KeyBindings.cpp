#include "pages/KeyBindings.h"

#include "config/ConfigFile.h"

namespace fenwake::keys {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view name, std::string_view prefix)
{
    if (prefix.size() > name.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(name[i]) != Lower(prefix[i])) return false;
    }
    return true;
}

} // namespace

std::string LoadKeyBind(std::string_view key)
{
    return ConfigFile(std::string(kUserIni)).ReadText(kBindingSection, key, kNoBind);
}

void SaveKeyBind(std::string_view key, std::string_view command)
{
    ConfigFile(std::string(kUserIni)).WriteTexts({{kBindingSection, key, command}, {kCopySection, key, command}});
}

void SaveExample()
{
    ConfigFile(std::string(kUserIni)).WriteText(kBindingSection, kExampleKey, kExampleCommand);
}

std::optional<std::size_t> FindKey(std::string_view prefix, std::optional<std::size_t> selected,
                                   std::span<const std::string_view> names)
{
    if (prefix.empty() || names.empty()) return std::nullopt;
    const std::size_t count = names.size();
    // With nothing selected the walk starts at the top; otherwise just after
    // the selection, wrapping round to end on the selection itself.
    const std::size_t start = (selected && *selected < count) ? *selected + 1 : 0;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t i = (start + step) % count;
        if (StartsWithNoCase(names[i], prefix)) return i;
    }
    return std::nullopt;
}

} // namespace fenwake::keys
