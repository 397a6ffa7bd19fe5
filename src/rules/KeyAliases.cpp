#include "rules/KeyAliases.h"

#include "config/Ascii.h"
#include "config/IniText.h"

#include <stdexcept>

namespace fenwake::aliases {

bool IsSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

std::string SlotKey(int slot)
{
    if (!IsSlot(slot)) throw std::out_of_range("No alias slot " + std::to_string(slot));
    return "Aliases[" + std::to_string(slot) + "]";
}

std::string ComposeValue(std::string_view command, std::string_view name)
{
    std::string value;
    value.reserve(command.size() + name.size() + 19);
    value.append("(Command=\"").append(command).append("\",Alias=").append(name).append(")");
    return value;
}

std::string RowText(int slot, std::string_view value) { return "[" + std::to_string(slot) + "]" + std::string(value); }

AliasFields ParseRow(std::string_view row)
{
    const std::size_t q1 = row.find('"');
    if (q1 == std::string_view::npos) return {};
    // From after the first quote up to, not including, the last character.
    const std::size_t restBegin = q1 + 1;
    const std::string_view rest =
        row.size() - 1 > restBegin ? row.substr(restBegin, row.size() - 1 - restBegin) : std::string_view{};
    const std::size_t q2 = rest.find('"');
    if (q2 == std::string_view::npos) return {};
    constexpr std::size_t kSkipped = 7; // ,Alias=
    const std::size_t nameBegin = q2 + 1 + kSkipped;
    return {std::string(rest.substr(0, q2)),
            nameBegin < rest.size() ? std::string(rest.substr(nameBegin)) : std::string()};
}

bool IsLocked(int slot, bool lockOn) { return lockOn && slot < kLockedSlotCount; }

SaveCheck CheckSave(int slot, const AliasFields& fields, bool lockOn)
{
    if (fields.name.empty()) return SaveCheck::EmptyName;
    if (IsLocked(slot, lockOn)) return SaveCheck::Locked;
    return SaveCheck::Allowed;
}

std::string ReadSlot(const ConfigFile& user, int slot) { return user.ReadText(kSection, SlotKey(slot), kNotUsed); }

std::vector<std::string> LoadRows(const ConfigFile& user)
{
    std::vector<std::string> rows;
    rows.reserve(kSlotCount);
    for (int n = 0; n < kSlotCount; ++n) rows.push_back(RowText(n, ReadSlot(user, n)));
    return rows;
}

std::optional<int> SlotOfKey(std::string_view key)
{
    for (int n = 0; n < kSlotCount; ++n)
        if (ascii::EqualsNoCase(SlotKey(n), key)) return n;
    return std::nullopt;
}

std::optional<std::string> ValueToSave(int slot, std::string_view stored, const AliasFields& fields)
{
    if (ParseRow(RowText(slot, stored)) == fields) return std::nullopt;
    return ComposeValue(fields.command, fields.name);
}

bool SaveSlot(const ConfigFile& user, int slot, const AliasFields& fields, const history::Recorder& recorder)
{
    std::string stored = ReadSlot(user, slot);
    const auto value = ValueToSave(slot, stored, fields);
    if (!value) return false;
    user.WriteText(kSection, SlotKey(slot), *value);
    recorder.Saved(user, {SlotKey(slot), std::move(stored), ini::ShapeValue(*value)});
    return true;
}

} // namespace fenwake::aliases
