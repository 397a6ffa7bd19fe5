#include "rules/CommandsList.h"

#include "config/Ascii.h"
#include "config/FileSystem.h"

#include <algorithm>
#include <utility>

namespace fenwake::commands {

using ascii::LessNoCase;

std::size_t SortedPosition(const std::vector<std::string>& sorted, std::string_view entry)
{
    const auto at = std::upper_bound(sorted.begin(), sorted.end(), entry,
                                     [](std::string_view e, const std::string& s) { return LessNoCase(e, s); });
    return static_cast<std::size_t>(at - sorted.begin());
}

std::vector<std::string> ParseFile(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            entries.emplace_back(bytes.substr(start));
            break;
        }
        entries.emplace_back(bytes.substr(start, end - start));
        start = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
    }
    return entries;
}

std::string FormatFile(const std::vector<std::string>& entries)
{
    std::string out;
    for (const auto& e : entries) out.append(e).append("\r\n");
    return out;
}

CommandsList::CommandsList() : entries_(kDefaults.begin(), kDefaults.end()) {}

std::size_t CommandsList::Add(std::string entry)
{
    const std::size_t at = SortedPosition(entries_, entry);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    return at;
}

void CommandsList::Remove(std::size_t index)
{
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void CommandsList::Assign(std::vector<std::string> entries)
{
    std::stable_sort(entries.begin(), entries.end(), LessNoCase);
    entries_ = std::move(entries);
}

void CommandsList::LoadOrCreate()
{
    const std::filesystem::path file = files::Resolve(kFileName);
    if (files::Exists(file)) {
        const auto bytes = files::ReadAll(file);
        if (!bytes) throw FileError(kReadFailed);
        Assign(ParseFile(*bytes));
        return;
    }
    if (!files::Replace(file, FormatFile(entries_))) throw FileError(kCreateFailed);
}

void CommandsList::Save() const
{
    if (!files::Replace(files::Resolve(kFileName), FormatFile(entries_))) throw FileError(kSaveFailed);
}

} // namespace fenwake::commands
