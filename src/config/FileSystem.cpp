#include "config/FileSystem.h"

#include <utility>

namespace fenwake::files {
namespace {

Patience& Stored()
{
    static Patience patience;
    return patience;
}

} // namespace

const Patience& CurrentPatience() { return Stored(); }

PatienceScope::PatienceScope(const Patience& patience) : saved_(std::exchange(Stored(), patience)) {}

PatienceScope::~PatienceScope() { Stored() = saved_; }

bool Replace(const std::filesystem::path& path, std::string_view bytes)
{
    return ReplaceChecked(path, bytes, nullptr, nullptr) == Outcome::Replaced;
}

Outcome ReplaceIfUnchanged(const std::filesystem::path& path, std::string_view bytes,
                           const std::optional<Stamp>& expected, Stamp& written)
{
    return ReplaceChecked(path, bytes, &expected, &written);
}

bool Copy(const std::filesystem::path& from, const std::filesystem::path& to)
{
    const auto bytes = ReadAll(from);
    return bytes && Replace(to, *bytes);
}

} // namespace fenwake::files
