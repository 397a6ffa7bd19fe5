#include "rules/KeyBindings.h"

#include "config/Ascii.h"
#include "config/ConfigFile.h"
#include "config/IniText.h"

namespace fenwake::keys {

using ascii::StartsWithNoCase;

std::string ReadBinding(const ConfigFile& user, std::string_view key)
{
    return user.ReadText(kBindingSection, key, kNoBind);
}

std::array<ConfigFile::Entry, 2> BindingEntries(std::string_view key, std::string_view command)
{
    return {{{kBindingSection, key, command}, {kCopySection, key, command}}};
}

void WriteBinding(const ConfigFile& user, std::string_view key, std::string_view command,
                  const history::Recorder& recorder)
{
    recorder.Save(user, {std::string(key), ReadBinding(user, key), ini::ShapeValue(command)},
                  [&] { user.WriteTexts(BindingEntries(key, command)); });
}

std::optional<std::string_view> ListSpelling(std::string_view name)
{
    for (std::string_view listed : kKeyNames)
        if (ascii::EqualsNoCase(listed, name)) return listed;
    return std::nullopt;
}

void WriteExampleBinding(const ConfigFile& user, const history::Recorder& recorder)
{
    std::string before = ReadBinding(user, kExampleKey);
    user.WriteText(kBindingSection, kExampleKey, kExampleCommand);
    recorder.Saved(user, {std::string(kExampleKey), std::move(before), std::string(kExampleCommand)});
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
