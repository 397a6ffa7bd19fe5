#pragma once

#include "TempDir.h"
#include "config/GameLocator.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fenwake::test {

// Fake game trees in the test's folder, and what the locator finds there,
// spelled relative to that folder so that expectations read as tables.
class GameTreeTest : public TempDirTest {
protected:
    struct File {
        File(std::string p, std::string t = {}) : path(std::move(p)), text(std::move(t)) {}
        std::string path; // relative, '/'-separated; a trailing '/' makes a folder
        std::string text;
    };
    struct Found {
        std::string system; // "" when only the live copy was found
        locate::Kind kind;
        std::string mod;
        std::string live;
        locate::Reason reason;
    };

    std::filesystem::path At(const std::string& relative) const
    {
        return dir_ / std::filesystem::path(std::u8string(relative.begin(), relative.end()));
    }

    // A folder as Steam writes it into its library list: quoted, escaped.
    std::string Quoted(const std::string& relative) const
    {
        std::string out = "\"";
        for (const char8_t c : At(relative).u8string()) {
            if (c == '\\' || c == '"') out += '\\';
            out += static_cast<char>(c);
        }
        return out + "\"";
    }

    void Make(const std::vector<File>& files) const
    {
        for (const File& f : files) {
            const std::filesystem::path p = At(f.path);
            std::filesystem::create_directories(f.path.ends_with('/') ? p : p.parent_path());
            if (!f.path.ends_with('/')) Put(p, f.text);
        }
    }

    std::string Relative(const std::filesystem::path& p) const
    {
        if (p.empty()) return {};
        const std::u8string s = p.lexically_relative(std::filesystem::canonical(dir_)).generic_u8string();
        return {s.begin(), s.end()};
    }

    // One line per install in a stable order: compared, and read when a test fails.
    static std::vector<std::string> Show(const std::vector<Found>& found)
    {
        std::vector<std::string> lines;
        for (const Found& f : found)
            lines.push_back(f.system + " | " + std::string(locate::Describe(f.kind)) +
                            (f.mod.empty() ? "" : " " + f.mod) + " | " + f.live + " | " +
                            std::string(locate::Describe(f.reason)));
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    std::vector<std::string> Show(const std::vector<locate::Install>& installs) const
    {
        std::vector<Found> found;
        for (const auto& i : installs) found.push_back({Relative(i.system), i.kind, i.mod, Relative(i.live), i.reason});
        return Show(found);
    }
};

} // namespace fenwake::test
