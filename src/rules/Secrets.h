#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Passwords in bindings and aliases, masked before a set leaves the machine.
namespace fenwake::review {

// What stands in a shared set where a secret was.
inline constexpr std::string_view kSecretPlaceholder = "<secret>";

struct Span {
    std::size_t offset;
    std::size_t length;
};

struct Masked {
    std::string text;
    std::vector<Span> spans; // what was replaced, in the input, in order
    std::size_t Count() const { return spans.size(); }
};

// The value with each secret argument replaced by the placeholder: the
// password of "adminlogin", the value of a "?...password...=" address
// option, and the value a "set" (or "admin set") gives a property whose
// name holds "password". Every other byte stays as it was; a placeholder
// already there is left alone, so masking twice changes nothing more.
Masked MaskSecrets(std::string_view value);

// The same for an alias line's value, (Command="...",Alias=...): only its
// command is looked at.
Masked MaskAliasSecrets(std::string_view aliasValue);

// True when the value holds a placeholder: such a value came from a masked
// set and must never be written over a real one.
bool HoldsPlaceholder(std::string_view value);

} // namespace fenwake::review
