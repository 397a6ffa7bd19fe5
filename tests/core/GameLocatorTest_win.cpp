#include "config/GameLocator.h"

#include <gtest/gtest.h>

#include <filesystem>

// Windows: the places come from the platform's known folders, wherever the
// user's profile lies.
namespace fenwake {
namespace {
namespace fs = std::filesystem;

TEST(WindowsLocator, KnownFoldersComeFromThePlatform)
{
    const locate::Places places = locate::PlatformPlaces();
    ASSERT_TRUE(places.host);
    const locate::Machine& m = *places.host;
    EXPECT_TRUE(fs::is_directory(m.drive)) << m.drive;
    ASSERT_FALSE(m.programFiles.empty());
    for (const fs::path& folder : m.programFiles) EXPECT_TRUE(fs::is_directory(folder)) << folder;
    ASSERT_EQ(m.documents.size(), 1u);
    EXPECT_TRUE(fs::is_directory(m.documents.front())) << m.documents.front();
    EXPECT_TRUE(fs::is_directory(m.localAppData)) << m.localAppData;
    // Nothing Wine-like on Windows itself.
    EXPECT_TRUE(places.winePrefixes.empty());
    EXPECT_TRUE(m.dosDevices.empty());
}

} // namespace
} // namespace fenwake
