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

} // namespace fenwake::files
