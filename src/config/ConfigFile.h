#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fenwake {

// Raised when a configuration file cannot be written; the file is then unchanged.
class WriteError : public std::runtime_error {
public:
    explicit WriteError(const std::string& path);
};

// Access to one INI file with the semantics of the Windows profile functions.
// Holds only the path: every read goes to the file as it is on disk at that
// moment, every write is on disk when it returns.
class ConfigFile {
public:
    explicit ConfigFile(std::string path);

    const std::string& Path() const { return path_; }

    std::string ReadText(std::string_view section, std::string_view key, std::string_view def) const;
    std::int32_t ReadNumber(std::string_view section, std::string_view key, std::int32_t def) const;
    bool ReadFlag(std::string_view section, std::string_view key, bool def) const;

    void WriteText(std::string_view section, std::string_view key, std::string_view value) const;
    void WriteNumber(std::string_view section, std::string_view key, std::int32_t value) const;
    void WriteFlag(std::string_view section, std::string_view key, bool value) const;

private:
    std::string path_;
};

} // namespace fenwake
