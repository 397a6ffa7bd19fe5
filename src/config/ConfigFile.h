#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
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
// Holds only the path: every read sees the file as it is on disk at that
// moment (reusing an earlier parse only while the file is provably the
// same), every write is on disk when it returns. Other programs may save
// the file at any time: a write builds only on a whole, settled state of
// the file and is redone when the file changes before it lands, so it
// changes its own entries and never undoes anyone else's.
class ConfigFile {
public:
    struct Entry {
        std::string_view section;
        std::string_view key;
        std::string_view value;
    };

    explicit ConfigFile(std::string path);

    const std::string& Path() const { return path_; }

    std::string ReadText(std::string_view section, std::string_view key, std::string_view def) const;
    std::int32_t ReadNumber(std::string_view section, std::string_view key, std::int32_t def) const;
    bool ReadFlag(std::string_view section, std::string_view key, bool def) const;

    void WriteText(std::string_view section, std::string_view key, std::string_view value) const;
    void WriteNumber(std::string_view section, std::string_view key, std::int32_t value) const;
    void WriteFlag(std::string_view section, std::string_view key, bool value) const;

    // WriteText of each entry in turn, in one replacement of the file: all
    // of them reach the disk together, or none.
    void WriteTexts(std::initializer_list<Entry> entries) const;
    void WriteTexts(std::span<const Entry> entries) const;

private:
    std::string path_;
};

} // namespace fenwake
