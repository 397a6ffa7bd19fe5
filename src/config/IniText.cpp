#include "config/IniText.h"

#include "config/Ascii.h"

#include <cstring>

namespace fenwake::ini {
namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

using ascii::EqualsNoCase;

std::string_view Trim(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// One line of the file: its content and the line break that follows it
// (empty for a last line without one).
struct Line {
    std::size_t begin;
    std::size_t end;  // end of content
    std::size_t next; // start of the next line
};

// Walks the lines of a buffer. CR LF, lone LF and lone CR all end a line.
// memchr runs once per break kind and position, which keeps the scan at
// memory speed on large files.
class LineScanner {
public:
    LineScanner(std::string_view text, std::size_t from) : text_(text), pos_(from) {}

    bool Next(Line& line)
    {
        if (pos_ >= text_.size()) return false;
        const std::size_t lf = Find(nextLf_, '\n');
        const std::size_t cr = Find(nextCr_, '\r');
        line.begin = pos_;
        if (lf == npos && cr == npos) {
            line.end = line.next = text_.size();
        } else if (cr < lf) {
            line.end = cr;
            line.next = (cr + 1 == lf) ? lf + 1 : cr + 1;
        } else {
            line.end = lf;
            line.next = lf + 1;
        }
        pos_ = line.next;
        return true;
    }

private:
    static constexpr std::size_t npos = std::string_view::npos;

    std::size_t Find(std::size_t& cached, char c)
    {
        if (cached == kExhausted) return npos;
        if (cached != npos && cached >= pos_) return cached;
        const void* hit = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
        cached = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : kExhausted;
        return hit ? cached : npos;
    }

    static constexpr std::size_t kExhausted = npos - 1;

    std::string_view text_;
    std::size_t pos_;
    std::size_t nextLf_ = npos;
    std::size_t nextCr_ = npos;
};

// The section name of a header line, if the line is one.
std::optional<std::string_view> SectionName(std::string_view content)
{
    std::size_t i = 0;
    while (i < content.size() && IsBlank(content[i])) ++i;
    if (i == content.size() || content[i] != '[') return std::nullopt;
    std::string_view rest = content.substr(i + 1);
    // Without its "]" the line is no header, as the platform's profile reader sees it.
    const std::size_t close = rest.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(rest.substr(0, close));
}

struct Located {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine{};             // the matching entry line
    std::size_t valueBegin = 0; // just past its '='
    Line lastInSection{};       // header or last entry line of the section
};

// The line whose content starts at begin.
Line LineFrom(std::string_view text, std::size_t begin)
{
    std::size_t end = begin;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::size_t next = end;
    if (end < text.size())
        next = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? end + 2 : end + 1;
    return {begin, end, next};
}

// Calls found(line, name) for each section header in order until it returns
// true. Only a "[" that stands first on its line (after blanks) can open
// one, so the walk jumps from bracket to bracket instead of line to line.
template <typename Found>
void ForEachHeader(std::string_view text, Found found)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const void* hit = std::memchr(text.data() + pos, '[', text.size() - pos);
        if (!hit) break;
        const auto bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        std::size_t begin = bracket;
        while (begin > 0 && IsBlank(text[begin - 1])) --begin;
        if (begin > 0 && text[begin - 1] != '\n' && text[begin - 1] != '\r') {
            pos = bracket + 1;
            continue;
        }
        const Line line = LineFrom(text, begin);
        const auto name = SectionName(text.substr(line.begin, line.end - line.begin));
        if (name && found(line, *name)) return;
        pos = line.next;
    }
}

// The header line of the first section of that name.
std::optional<Line> FindSection(std::string_view text, std::string_view section)
{
    std::optional<Line> header;
    ForEachHeader(text, [&](const Line& line, std::string_view name) {
        if (EqualsNoCase(name, section)) header = line;
        return header.has_value();
    });
    return header;
}

// Calls found(line, eq) for each entry line of the section whose body starts
// at body, eq being the position of its first "=", until it returns true.
// The next header ends the section, even one of the same name: only the
// first section of a name counts.
template <typename Found>
void ForEachEntry(std::string_view text, std::size_t body, Found found)
{
    LineScanner scanner(text, body);
    Line line{};
    while (scanner.Next(line)) {
        const std::string_view content = text.substr(line.begin, line.end - line.begin);
        if (SectionName(content)) return;
        const std::size_t eq = content.find('=');
        if (eq != std::string_view::npos && found(line, line.begin + eq)) return;
    }
}

Located Locate(std::string_view text, std::string_view section, std::string_view key)
{
    section = Trim(section);
    key = Trim(key);
    Located found;
    const auto header = FindSection(text, section);
    if (!header) return found;
    found.sectionFound = true;
    found.lastInSection = *header;

    ForEachEntry(text, header->next, [&](const Line& line, std::size_t eq) {
        found.lastInSection = line;
        if (!EqualsNoCase(Trim(text.substr(line.begin, eq - line.begin)), key)) return false;
        found.keyFound = true;
        found.keyLine = line;
        found.valueBegin = eq + 1;
        return true;
    });
    return found;
}

std::string_view LineEnding(std::string_view text)
{
    const std::size_t brk = text.find_first_of("\r\n");
    if (brk == std::string_view::npos) return "\r\n";
    if (text[brk] == '\n') return "\n";
    return (brk + 1 < text.size() && text[brk + 1] == '\n') ? "\r\n" : "\r";
}

} // namespace

void ForEachEntryLine(std::string_view text, const std::function<void(const EntryLine&)>& visit)
{
    LineScanner scanner(text, 0);
    Line line{};
    std::optional<std::string_view> section;
    while (scanner.Next(line)) {
        const std::string_view content = text.substr(line.begin, line.end - line.begin);
        if (const auto name = SectionName(content)) {
            section = name;
            continue;
        }
        const std::size_t eq = content.find('=');
        if (eq != std::string_view::npos) visit({section, Trim(content.substr(0, eq)), Trim(content.substr(eq + 1))});
    }
}

std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key)
{
    const Located found = Locate(text, section, key);
    if (!found.keyFound) return std::nullopt;
    return Trim(text.substr(found.valueBegin, found.keyLine.end - found.valueBegin));
}

std::optional<std::vector<Entry>> SectionEntries(std::string_view text, std::string_view section)
{
    const auto header = FindSection(text, Trim(section));
    if (!header) return std::nullopt;
    std::vector<Entry> entries;
    ForEachEntry(text, header->next, [&](const Line& line, std::size_t eq) {
        entries.push_back(
            {Trim(text.substr(line.begin, eq - line.begin)), Trim(text.substr(eq + 1, line.end - eq - 1))});
        return false;
    });
    return entries;
}

namespace {

std::string Folded(std::string_view s) { return ascii::ToLower(Trim(s)); }

} // namespace

// The same rules as Locate. Only the headers are found up front: a large
// file is mostly sections nobody asks for, so each section's entries are
// gathered at the first question about it.
Index::Index(std::string_view text) : text_(text)
{
    ForEachHeader(text, [this](const Line& line, std::string_view name) {
        sections_.try_emplace(Folded(name), line.next); // a repeated section is never read
        return false;
    });
}

Index::~Index() = default;

std::optional<std::string_view> Index::Find(std::string_view section, std::string_view key) const
{
    const auto s = sections_.find(Folded(section));
    if (s == sections_.end()) return std::nullopt;
    const std::lock_guard lock(mutex_);
    const Section& found = s->second;
    if (!found.entries) {
        found.entries = std::make_unique<Entries>();
        ForEachEntry(text_, found.body, [&](const Line& line, std::size_t eq) {
            found.entries->try_emplace(Folded(text_.substr(line.begin, eq - line.begin)),
                                       Trim(text_.substr(eq + 1, line.end - eq - 1)));
            return false;
        });
    }
    const auto k = found.entries->find(Folded(key));
    if (k == found.entries->end()) return std::nullopt;
    return k->second;
}

std::string ShapeValue(std::string_view raw)
{
    std::string_view v = Trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v.substr(0, kMaxValueLength));
}

std::string ShapeDefault(std::string_view def)
{
    std::string_view v = def.substr(0, kMaxValueLength);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    return std::string(v);
}

bool ApplyWriteInPlace(std::string& text, std::string_view section, std::string_view key, std::string_view value)
{
    const Located found = Locate(text, section, key);
    if (found.keyFound) {
        const std::size_t length = found.keyLine.end - found.valueBegin;
        if (std::string_view(text).substr(found.valueBegin, length) == value) return false;
        text.replace(found.valueBegin, length, value);
        return true;
    }

    const std::string_view eol = LineEnding(text);
    if (found.sectionFound) {
        const Line& after = found.lastInSection;
        const bool hasBreak = after.next > after.end;
        std::string line;
        line.reserve(eol.size() + key.size() + 1 + value.size());
        if (!hasBreak) line.append(eol);
        line.append(key).append("=").append(value);
        if (hasBreak) line.append(eol);
        text.insert(after.next, line);
        return true;
    }

    if (!text.empty() && text.back() != '\n' && text.back() != '\r') text.append(eol);
    text.append("[").append(section).append("]").append(eol);
    text.append(key).append("=").append(value).append(eol);
    return true;
}

std::string ApplyWrite(std::string_view text, std::string_view section, std::string_view key, std::string_view value)
{
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    out.append(text);
    ApplyWriteInPlace(out, section, key, value);
    return out;
}

std::optional<std::int32_t> ParseNumber(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i == s.size()) return std::nullopt;

    std::size_t digits = std::string_view::npos;
    if (s[i] == '$' || s[i] == 'x' || s[i] == 'X') {
        digits = i + 1;
    } else if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        digits = i + 2;
    }
    if (digits != std::string_view::npos) {
        if (digits == s.size()) return std::nullopt;
        std::uint32_t value = 0;
        int significant = 0;
        for (std::size_t j = digits; j < s.size(); ++j) {
            const char c = s[j];
            std::uint32_t d;
            if (c >= '0' && c <= '9')
                d = static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                d = static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                d = static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return std::nullopt;
            if (significant > 0 || d != 0) ++significant;
            if (significant > 8) return std::nullopt;
            value = (value << 4) | d;
        }
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool IsWritable(std::string_view section, std::string_view key, std::string_view value)
{
    const auto hasBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    // A key that starts with "[" would be read back as a section header.
    const std::string_view trimmedKey = Trim(key);
    return !hasBreak(section) && !hasBreak(key) && !hasBreak(value) && key.find('=') == std::string_view::npos &&
           (trimmedKey.empty() || trimmedKey.front() != '[');
}

} // namespace fenwake::ini
