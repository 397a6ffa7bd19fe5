// Random writes and reads over random file bytes: a write may change only the
// target entry's line, or add one entry line, or add one section with its
// entry; a read after a write returns the written value as reads shape it.
#include "config/IniText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace fenwake;

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;

    std::string Take(std::size_t maxLen)
    {
        if (size == 0) return {};
        std::size_t len = data[0] % (maxLen + 1);
        ++data;
        --size;
        if (len > size) len = size;
        std::string out(reinterpret_cast<const char*>(data), len);
        data += len;
        size -= len;
        return out;
    }
    std::string Rest() { return Take(size); }
};

// Lines with their breaks kept, so comparisons see every byte.
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            lines.push_back(text.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string_view Content(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

void Check(bool ok)
{
    if (!ok) std::abort();
}

// Every line of before appears in after, in order, with at most `extra` new
// lines and at most one changed line (compared without its break when the
// change is the break added to a former last line).
void CheckLineDiff(std::string_view before, std::string_view after, std::size_t extra)
{
    const auto a = Lines(before);
    const auto b = Lines(after);
    Check(b.size() >= a.size() && b.size() <= a.size() + extra);
    std::size_t i = 0, j = 0, changed = 0, added = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i] == b[j]) {
            ++i, ++j;
        } else if (Content(a[i]) == Content(b[j]) && i + 1 == a.size()) {
            ++i, ++j; // the old last line gained a break
        } else if (b.size() - j > a.size() - i && added < extra) {
            ++j, ++added;
        } else {
            ++i, ++j, ++changed;
        }
    }
    Check(i == a.size());
    Check(changed <= 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in{data, size};
    const std::string section = in.Take(12);
    const std::string key = in.Take(12);
    const std::string value = in.Take(40);
    const std::string text = in.Rest();

    // Reads never crash and stay within the limit.
    const auto raw = ini::FindValue(text, section, key);
    if (raw) Check(ini::ShapeValue(*raw).size() <= ini::kMaxValueLength);
    // The reuse of a parse finds exactly what a fresh search finds.
    Check(ini::Index(text).Find(section, key) == raw);
    (void)ini::ParseNumber(value);

    if (!ini::IsWritable(section, key, value)) return 0;
    const bool hadKey = ini::FindValue(text, section, key).has_value();
    const std::string after = ini::ApplyWrite(text, section, key, value);

    const auto back = ini::FindValue(after, section, key);
    Check(back.has_value());
    Check(ini::ShapeValue(*back) == ini::ShapeValue(value));

    if (hadKey) {
        CheckLineDiff(text, after, 0);
    } else {
        CheckLineDiff(text, after, 2);
    }

    // Writing the same value again changes nothing.
    Check(ini::ApplyWrite(after, section, key, value) == after);
    return 0;
}
