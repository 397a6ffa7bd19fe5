#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace fenwake::test {

// The message of a failed write to a file of the current folder, its path
// written as the platform writes paths (".\User.ini", "./User.ini").
inline std::string WriteErrorFor(const std::string& name)
{
    return "Unable to write to " + (std::filesystem::path(".") / name).string();
}

// What differs between the platforms (TempDir_posix.cpp, TempDir_win.cpp).

// A new, empty directory under the system's temporary folder.
std::filesystem::path MakeTempDir();
// Marks a file or directory read-only the platform's way: the write bits on
// POSIX, the read-only attribute on Windows.
void SetReadOnlyMark(const std::filesystem::path& p);
// Removes a tree whatever its marks.
void RemoveTree(const std::filesystem::path& p);
// Points this process's and its children's data folder (config/DataFolder.h)
// into dir, where the platform lets a process choose it: on POSIX. On
// Windows the known folder stays; histories there are one per game folder.
void UseDataFolderIn(const std::filesystem::path& dir);

// Behaviour that a test case can only check where the platform has it.
enum class Needs {
    DirectoryWriteBits, // a directory without write permission refuses new files
    UnreadableFiles,    // a file can be made unreadable to this user
    SymbolicLinks,      // any user can create symbolic links
    CaseSensitiveNames, // "User.ini" and "USER.INI" can be two files
};
bool Has(Needs need);
const char* Describe(Needs need);

// Skips the rest of the test where the platform lacks the behaviour.
#define FENWAKE_SKIP_WITHOUT(need)                                                                                     \
    if (!::fenwake::test::Has(::fenwake::test::Needs::need))                                                           \
    GTEST_SKIP() << "the platform lacks: " << ::fenwake::test::Describe(::fenwake::test::Needs::need)

// A fresh directory that is the current directory for the test's lifetime,
// as the game's System directory is for the program.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        old_ = std::filesystem::current_path();
        dir_ = MakeTempDir();
        std::filesystem::current_path(dir_);
        state_ = MakeTempDir();
        UseDataFolderIn(state_);
    }
    void TearDown() override
    {
        std::filesystem::current_path(old_);
        RemoveTree(dir_);
        RemoveTree(state_);
    }

    // Dated an hour back: a file a test starts from was saved long ago, as
    // a player's is, and writes need not wait for it to settle.
    static void Put(const std::filesystem::path& name, const std::string& bytes)
    {
        std::ofstream(name, std::ios::binary) << bytes;
        std::error_code ec;
        std::filesystem::last_write_time(name, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1),
                                         ec);
    }
    static std::string Get(const std::filesystem::path& name)
    {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The directory's entries other than the given ones, to catch litter.
    std::size_t EntryCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_), {}));
    }
    static void SetReadOnly(const std::filesystem::path& p) { SetReadOnlyMark(p); }

    std::filesystem::path dir_;
    std::filesystem::path old_;
    std::filesystem::path state_; // the user's data folder
};

} // namespace fenwake::test
