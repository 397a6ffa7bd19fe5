#pragma once

#include <optional>
#include <span>
#include <string_view>

// Every input key of the game's engine, as its binding lines name them.
namespace fenwake::keys {

// A name players know better than the engine's own.
struct FriendlyName {
    std::string_view name;
    std::string_view key; // the engine's name, which is what the file gets
};

// The keys a line can bind, in the engine's key-code order, each spelled as
// the game's files spell it (the window's list spelling where it has one).
std::span<const std::string_view> EngineKeys();

std::span<const FriendlyName> FriendlyNames();

// The spelling to read and write for a key or friendly name given in any
// letter case, or nothing for a name the engine has no key for.
std::optional<std::string_view> EngineSpelling(std::string_view name);

// "Mouse4" for "Unknown05", in any letter case; nothing without one.
std::optional<std::string_view> FriendlyNameOf(std::string_view key);

} // namespace fenwake::keys
