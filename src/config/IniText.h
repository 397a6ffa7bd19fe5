#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The profile-file rules on a file's bytes, apart from any file access.
namespace fenwake::ini {

inline constexpr std::size_t kMaxValueLength = 2047;

// The raw value of the first matching entry (untrimmed of nothing but the
// blanks around it), or nothing when the section or the key is missing.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key);

// One entry line as the engine reads it: the name and the raw value with the
// blanks around them dropped.
struct Entry {
    std::string_view key;
    std::string_view value;
};

// Every entry line of the first section of that name in file order, repeated
// keys included, or nothing when there is no such section.
std::optional<std::vector<Entry>> SectionEntries(std::string_view text, std::string_view section);

// FindValue for many reads of one unchanged text, each section parsed at
// most once. Holds views into the text; safe to ask from several threads.
class Index {
public:
    explicit Index(std::string_view text);
    ~Index();
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

private:
    // By key folded to lower case: the first entry of each key.
    using Entries = std::unordered_map<std::string, std::string_view>;
    struct Section {
        explicit Section(std::size_t b) : body(b) {}
        std::size_t body;                         // where the line after the header starts
        mutable std::unique_ptr<Entries> entries; // gathered at the first Find
    };
    std::string_view text_;
    // By name folded to lower case: the first section of each name.
    std::unordered_map<std::string, Section> sections_;
    mutable std::mutex mutex_;
};

// The value as ReadText returns it: quotes stripped and cut to the limit.
std::string ShapeValue(std::string_view raw);

// The default as ReadText returns it: cut, then trailing blanks dropped.
std::string ShapeDefault(std::string_view def);

// The file's new bytes after setting section/key to value. Lines other than
// the target entry keep their bytes and line endings.
std::string ApplyWrite(std::string_view text, std::string_view section, std::string_view key, std::string_view value);

// The same change made in place, so that a large file is not copied for it.
// False when the entry already held exactly that value.
bool ApplyWriteInPlace(std::string& text, std::string_view section, std::string_view key, std::string_view value);

// The narrow number syntax of the profile readers (after the 0x rewrite).
std::optional<std::int32_t> ParseNumber(std::string_view s);

// True when the names could be written without changing other lines or
// being read back as something else.
bool IsWritable(std::string_view section, std::string_view key, std::string_view value);

// One entry line: the key and the raw value, each without the blanks around it.
struct EntryLine {
    std::optional<std::string_view> section; // nothing before the first header
    std::string_view key;
    std::string_view value;
};

// Every line holding a "=" in file order, with the header it stands under;
// lines end and headers open as they do for the reads. Unlike a read, every
// section and every repeated key is visited.
void ForEachEntryLine(std::string_view text, const std::function<void(const EntryLine&)>& visit);

} // namespace fenwake::ini
