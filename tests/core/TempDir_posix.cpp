#include "TempDir.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include <unistd.h>

namespace fenwake::test {
namespace fs = std::filesystem;

fs::path MakeTempDir()
{
    std::string tmpl = (fs::temp_directory_path() / "fenwake-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    return tmpl;
}

void SetReadOnlyMark(const fs::path& p)
{
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

void RemoveTree(const fs::path& p)
{
    std::error_code ec;
    // A directory without its write or search bit cannot be emptied.
    fs::permissions(p, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(p, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(p, ec);
}

void UseDataFolderIn(const fs::path& dir) { ::setenv("XDG_STATE_HOME", dir.c_str(), 1); }

bool Has(Needs need)
{
    switch (need) {
    case Needs::UnreadableFiles:
        return ::geteuid() != 0; // root reads any file
    case Needs::DirectoryWriteBits:
    case Needs::SymbolicLinks:
    case Needs::CaseSensitiveNames:
        return true;
    }
    return false;
}

const char* Describe(Needs need)
{
    switch (need) {
    case Needs::DirectoryWriteBits:
        return "directory write permission";
    case Needs::UnreadableFiles:
        return "unreadable files (root reads any file)";
    case Needs::SymbolicLinks:
        return "symbolic links";
    case Needs::CaseSensitiveNames:
        return "case-sensitive file names";
    }
    return "?";
}

} // namespace fenwake::test
