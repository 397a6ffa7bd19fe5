#include "rules/Secrets.h"

#include "config/Ascii.h"
#include "config/IniText.h"
#include "rules/CommandReview.h"
#include "rules/KeyAliases.h"

#include <algorithm>
#include <optional>

namespace fenwake::review {
namespace {

constexpr std::string_view kPassword = "password";

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

using ascii::ContainsNoCase;

struct Word {
    std::size_t offset; // in the command's text
    std::string_view text;
};

std::vector<Word> Words(std::string_view s, std::size_t max)
{
    std::vector<Word> words;
    std::size_t i = 0;
    while (words.size() < max) {
        while (i < s.size() && IsBlank(s[i])) ++i;
        if (i == s.size()) break;
        const std::size_t b = i;
        while (i < s.size() && !IsBlank(s[i])) ++i;
        words.push_back({b, s.substr(b, i - b)});
    }
    return words;
}

// Where the secret argument of the command starts, if it has one: it runs
// to the command's end, blanks and all.
std::optional<std::size_t> ArgumentSecret(std::string_view text)
{
    const std::vector<Word> w = Words(text, 5);
    if (w.size() >= 2 && ascii::EqualsNoCase(w[0].text, "adminlogin")) return w[1].offset;
    // set Class Property Value, alone or after "admin"
    const std::size_t set = (!w.empty() && ascii::EqualsNoCase(w[0].text, "admin")) ? 1 : 0;
    if (w.size() >= set + 4 && ascii::EqualsNoCase(w[set].text, "set") && ContainsNoCase(w[set + 2].text, kPassword))
        return w[set + 3].offset;
    return std::nullopt;
}

// The values of "?name=value" options whose name holds "password", as in
// "open 1.2.3.4:7790?password=x". A value ends at the next option, blank
// or quote.
void OptionSecrets(std::string_view text, std::size_t base, std::vector<Span>& spans)
{
    for (std::size_t q = text.find('?'); q != std::string_view::npos; q = text.find('?', q + 1)) {
        const std::size_t eq = text.find_first_of("=? \t\"", q + 1);
        if (eq == std::string_view::npos || text[eq] != '=') continue;
        if (!ContainsNoCase(text.substr(q + 1, eq - q - 1), kPassword)) continue;
        const std::size_t end = std::min(text.find_first_of("? \t\"", eq + 1), text.size());
        if (end > eq + 1) spans.push_back({base + eq + 1, end - eq - 1});
    }
}

} // namespace

Masked MaskSecrets(std::string_view value)
{
    std::vector<Span> found;
    for (const Command& c : Commands(value)) {
        if (const auto at = ArgumentSecret(c.text)) found.push_back({c.offset + *at, c.text.size() - *at});
        OptionSecrets(c.text, c.offset, found);
    }
    std::sort(found.begin(), found.end(), [](const Span& a, const Span& b) { return a.offset < b.offset; });

    Masked out;
    std::size_t copied = 0;
    for (const Span& s : found) {
        if (s.offset < copied) continue; // inside a secret already taken
        if (value.substr(s.offset, s.length) == kSecretPlaceholder) continue;
        out.text.append(value.substr(copied, s.offset - copied)).append(kSecretPlaceholder);
        out.spans.push_back(s);
        copied = s.offset + s.length;
    }
    out.text.append(value.substr(copied));
    return out;
}

Masked MaskAliasSecrets(std::string_view aliasValue)
{
    // The command as the alias editor takes the line apart.
    const aliases::AliasFields fields = aliases::ParseRow(aliases::RowText(0, aliasValue));
    if (fields.command.empty()) return {std::string(aliasValue), {}};
    const std::size_t begin = aliasValue.find('"') + 1;
    Masked command = MaskSecrets(aliasValue.substr(begin, fields.command.size()));
    Masked out;
    out.text.append(aliasValue.substr(0, begin))
        .append(command.text)
        .append(aliasValue.substr(begin + fields.command.size()));
    for (Span s : command.spans) out.spans.push_back({begin + s.offset, s.length});
    return out;
}

bool HoldsPlaceholder(std::string_view value) { return value.find(kSecretPlaceholder) != std::string_view::npos; }

} // namespace fenwake::review
