#include "config/Safeguards.h"
#include "TempDir.h"

#include <filesystem>

namespace fenwake {
namespace {
namespace fs = std::filesystem;
using safeguards::BackupResult;

const std::string kUser = "[Extension.InputExt]\r\nF1=Jump\r\n; player's note\r\n";
const std::string kSystem = "[Fenwake]\r\nColorThemeIndex=0\r\n";

class Safeguards : public test::TempDirTest {};

TEST_F(Safeguards, BackupsAreMadeAsAPairOrNotAtAll)
{
    Put("User.ini", kUser);
    EXPECT_EQ(safeguards::TakeBackupsOnce(), BackupResult::Failed);
    EXPECT_EQ(EntryCount(), 1u) << "a half pair would block every later backup";

    Put("deusex.INI", kSystem);
    fs::create_directory("DeusEx.ini_Bak"); // no backup, and in the way of the second copy
    EXPECT_EQ(safeguards::TakeBackupsOnce(), BackupResult::Failed);
    EXPECT_FALSE(fs::exists("user.ini_Bak")) << "the first copy is taken back";

    fs::remove("DeusEx.ini_Bak");
    EXPECT_EQ(safeguards::TakeBackupsOnce(), BackupResult::Made);
    EXPECT_EQ(Get("user.ini_Bak"), kUser);
    EXPECT_EQ(Get("DeusEx.ini_Bak"), kSystem);
    fs::remove("user.ini_Bak");
    EXPECT_EQ(safeguards::TakeBackupsOnce(), BackupResult::Present) << "one backup counts as the pair";
    EXPECT_FALSE(fs::exists("user.ini_Bak"));
}

TEST_F(Safeguards, AFailedRestoreChangesNeitherFile)
{
    Put("User.ini", kUser);
    Put("DeusEx.ini", kSystem);
    ASSERT_EQ(safeguards::TakeBackupsOnce(), BackupResult::Made);
    Put("User.ini", "edited user\r\n");
    Put("DeusEx.ini", "edited system\r\n");

    for (const char* gone : {"user.ini_Bak", "DeusEx.ini_Bak"}) {
        const std::string kept = Get(gone);
        fs::remove(gone);
        EXPECT_FALSE(safeguards::RestoreBackups()) << gone;
        EXPECT_EQ(Get("User.ini"), "edited user\r\n") << gone;
        EXPECT_EQ(Get("DeusEx.ini"), "edited system\r\n") << gone;
        Put(gone, kept);
    }
    // The second file refuses the copy: the first is put back as it was.
    SetReadOnly("DeusEx.ini");
    EXPECT_FALSE(safeguards::RestoreBackups());
    EXPECT_EQ(Get("User.ini"), "edited user\r\n");
    EXPECT_EQ(EntryCount(), 4u);

    fs::permissions("DeusEx.ini", fs::perms::owner_write, fs::perm_options::add);
    fs::remove("User.ini");
    EXPECT_TRUE(safeguards::RestoreBackups());
    EXPECT_EQ(Get("User.ini"), kUser);
    EXPECT_EQ(Get("DeusEx.ini"), kSystem);
}

} // namespace
} // namespace fenwake
