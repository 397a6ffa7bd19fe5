#include "config/ConfigFile.h"

#include "config/FileSystem.h"
#include "config/IniText.h"

#include <utility>

namespace fenwake {

WriteError::WriteError(const std::string& path) : std::runtime_error("Unable to write to " + path) {}

ConfigFile::ConfigFile(std::string path) : path_(std::move(path)) {}

std::string ConfigFile::ReadText(std::string_view section, std::string_view key, std::string_view def) const
{
    const auto bytes = files::ReadAll(files::Resolve(path_));
    if (bytes) {
        if (const auto raw = ini::FindValue(*bytes, section, key)) return ini::ShapeValue(*raw);
    }
    return ini::ShapeDefault(def);
}

std::int32_t ConfigFile::ReadNumber(std::string_view section, std::string_view key, std::int32_t def) const
{
    std::string s = ReadText(section, key, "");
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
    return ini::ParseNumber(s).value_or(def);
}

bool ConfigFile::ReadFlag(std::string_view section, std::string_view key, bool def) const
{
    return ReadNumber(section, key, def ? 1 : 0) != 0;
}

void ConfigFile::WriteText(std::string_view section, std::string_view key, std::string_view value) const
{
    // A line break in any part would add lines the caller never asked for.
    if (!ini::IsWritable(section, key, value)) throw WriteError(path_);

    const std::filesystem::path file = files::Resolve(path_);
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    std::string before;
    if (std::filesystem::exists(status)) {
        if (!std::filesystem::is_regular_file(status) || files::IsWriteProtected(file)) throw WriteError(path_);
        auto bytes = files::ReadAll(file);
        if (!bytes) throw WriteError(path_); // never replace what could not be read
        before = std::move(*bytes);
    } else if (std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) {
        throw WriteError(path_); // a dangling link: where the file should be is unknown
    }

    const std::string after = ini::ApplyWrite(before, section, key, value);
    if (std::filesystem::exists(status) && after == before) return;
    if (!files::Replace(file, after)) throw WriteError(path_);
}

void ConfigFile::WriteNumber(std::string_view section, std::string_view key, std::int32_t value) const
{
    WriteText(section, key, std::to_string(value));
}

void ConfigFile::WriteFlag(std::string_view section, std::string_view key, bool value) const
{
    WriteText(section, key, value ? "1" : "0");
}

} // namespace fenwake
