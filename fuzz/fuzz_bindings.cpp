// The binding check, the set reader, the command review and the masking of
// secrets over random bytes: nothing crashes; the reader yields only keys
// under their own spelling; masking replaces whole secrets, each within one
// command, with the placeholder, keeps every other byte and the commands'
// classes, and changes nothing when done again.
#include "rules/BindingCheck.h"
#include "rules/BindingSet.h"
#include "rules/CommandReview.h"
#include "rules/EngineKeys.h"
#include "rules/Secrets.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace fenwake;

namespace {

void Check(bool ok)
{
    if (!ok) std::abort();
}

std::vector<review::CommandClass> Classes(std::string_view value)
{
    std::vector<review::CommandClass> out;
    for (const review::Command& c : review::Commands(value)) out.push_back(c.cls);
    return out;
}

void CheckMasked(std::string_view value, const review::Masked& masked, bool commands)
{
    std::string rebuilt;
    std::size_t at = 0;
    for (const review::Span& s : masked.spans) {
        Check(s.length > 0 && s.offset >= at && s.offset + s.length <= value.size());
        const std::string_view secret = value.substr(s.offset, s.length);
        Check(secret != review::kSecretPlaceholder && secret.find('|') == std::string_view::npos);
        rebuilt.append(value.substr(at, s.offset - at)).append(review::kSecretPlaceholder);
        at = s.offset + s.length;
    }
    rebuilt.append(value.substr(at));
    Check(rebuilt == masked.text);
    Check(review::HoldsPlaceholder(masked.text) == (masked.Count() > 0 || review::HoldsPlaceholder(value)));
    if (commands) Check(Classes(masked.text) == Classes(value));
}

void CheckMasking(std::string_view value)
{
    const review::Masked once = review::MaskSecrets(value);
    CheckMasked(value, once, true);
    const review::Masked twice = review::MaskSecrets(once.text);
    Check(twice.text == once.text && twice.Count() == 0);

    const review::Masked alias = review::MaskAliasSecrets(value);
    CheckMasked(value, alias, false);
    Check(review::MaskAliasSecrets(alias.text).text == alias.text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // The input as DeusEx.ini too: whatever class it names, its section is the one checked.
    const check::InputClass input = check::ReadInputClass(text);
    Check(!input.name.empty());
    const check::Report report = check::CheckBindings(text, input.name);
    for (const auto* list : {&report.findings, &report.notes})
        for (const check::Finding& f : *list) Check(!check::KindName(f.kind).empty());
    const sets::SetLines set = sets::ReadSet(text);
    for (const auto& [key, value] : set.keys) Check(keys::EngineSpelling(key) == key);
    Check(set.unknown.size() <= set.unknownLines);

    // The whole input as one value, then each of its lines.
    CheckMasking(text);
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
        const std::string_view line = text.substr(begin, end - begin);
        CheckMasking(line);
        if (const auto key = keys::EngineSpelling(line)) Check(keys::EngineSpelling(*key) == key);
        begin = end + 1;
    }
    return 0;
}
