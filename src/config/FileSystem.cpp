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

std::optional<std::string> ReadAll(const std::filesystem::path& path)
{
    auto snapshot = ReadStamped(path);
    if (!snapshot) return std::nullopt;
    return std::move(snapshot->bytes);
}

const Patience& CurrentPatience() { return Stored(); }

PatienceScope::PatienceScope(const Patience& patience) : saved_(std::exchange(Stored(), patience)) {}

PatienceScope::~PatienceScope() { Stored() = saved_; }

} // namespace fenwake::files
