#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace fenwake::test {

// Points HOME at a folder of the test's own, with no XDG folder overrides,
// for as long as it lives; the caller's environment comes back afterwards.
class ScopedHome {
public:
    explicit ScopedHome(const std::filesystem::path& home)
    {
        for (auto& [name, value] : saved_)
            if (const char* v = std::getenv(name)) value = v;
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }
    ~ScopedHome()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name, value->c_str(), 1);
            else
                ::unsetenv(name);
        }
    }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

private:
    std::pair<const char*, std::optional<std::string>> saved_[3] = {
        {"HOME", {}}, {"XDG_CONFIG_HOME", {}}, {"XDG_DATA_HOME", {}}};
};

} // namespace fenwake::test
