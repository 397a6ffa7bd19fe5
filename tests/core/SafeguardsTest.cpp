#include "config/ConfigFile.h"
#include "config/FileSystem.h"
#include "config/Safeguards.h"
#include "TempDir.h"

#include <filesystem>

namespace fenwake {
namespace {
namespace fs = std::filesystem;
using safeguards::BackupResult;

const std::string kUser = "[Extension.InputExt]\r\nF1=Jump\r\n; player's note\r\n";
const std::string kSystem = "[Fenwake]\r\nColorThemeIndex=0\r\n[WinDrv.WindowsClient]\r\nBrightness=0.5\r\n";

class Safeguards : public test::TempDirTest {
protected:
    void PutPair()
    {
        Put("User.ini", kUser);
        Put("DeusEx.ini", kSystem);
    }
};

TEST_F(Safeguards, PresenceNamesEachMissingFileUserFirst)
{
    using List = std::vector<std::string_view>;
    EXPECT_EQ(safeguards::MissingConfigFiles(), (List{"User.ini", "DeusEx.ini"}));
    fs::create_directory("User.ini"); // a directory is no configuration file
    Put("DEUSEX.INI", kSystem);       // any spelling is
    EXPECT_EQ(safeguards::MissingConfigFiles(), (List{"User.ini"}));
    fs::remove("User.ini");
    Put("user.ini", kUser);
    EXPECT_TRUE(safeguards::MissingConfigFiles().empty());
}

TEST_F(Safeguards, FirstRunCopiesBothFilesByteForByte)
{
    PutPair();
    EXPECT_EQ(safeguards::BuildIniBackups(), BackupResult::Made);
    EXPECT_EQ(Get("user.ini_Bak"), kUser);
    EXPECT_EQ(Get("DeusEx.ini_Bak"), kSystem);
    EXPECT_EQ(EntryCount(), 4u);
}

TEST_F(Safeguards, BackupsAreTakenOnceAndNeverRefreshed)
{
    PutPair();
    ASSERT_EQ(safeguards::BuildIniBackups(), BackupResult::Made);
    ConfigFile(".\\User.ini").WriteText("Extension.InputExt", "F1", "Fire");
    EXPECT_EQ(safeguards::BuildIniBackups(), BackupResult::Present);
    EXPECT_EQ(Get("user.ini_Bak"), kUser);

    // One backup alone counts as a pair: the missing one is not made again.
    fs::remove("DeusEx.ini_Bak");
    EXPECT_EQ(safeguards::BuildIniBackups(), BackupResult::Present);
    EXPECT_FALSE(fs::exists("DeusEx.ini_Bak"));
    fs::remove("user.ini_Bak");
    Put("DEUSEX.INI_BAK", "other");
    EXPECT_EQ(safeguards::BuildIniBackups(), BackupResult::Present);
    EXPECT_FALSE(fs::exists("user.ini_Bak"));
}

TEST_F(Safeguards, AMissingFileMakesNoBackupAtAll)
{
    Put("User.ini", kUser);
    EXPECT_EQ(safeguards::BuildIniBackups(), BackupResult::Failed);
    EXPECT_EQ(EntryCount(), 1u) << "a half pair would block every later backup";

    fs::remove("User.ini");
    Put("DeusEx.ini", kSystem);
    EXPECT_EQ(safeguards::BuildIniBackups(), BackupResult::Failed);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(Safeguards, AFailedSecondCopyTakesTheFirstBack)
{
    PutPair();
    // A folder of that name is no backup, and no copy can replace it.
    fs::create_directory("DeusEx.ini_Bak");
    EXPECT_EQ(safeguards::BuildIniBackups(), BackupResult::Failed);
    EXPECT_FALSE(fs::exists("user.ini_Bak"));
    fs::remove("DeusEx.ini_Bak");
    EXPECT_EQ(safeguards::BuildIniBackups(), BackupResult::Made);
}

TEST_F(Safeguards, RestorePutsBothFilesBack)
{
    PutPair();
    ASSERT_EQ(safeguards::BuildIniBackups(), BackupResult::Made);
    Put("User.ini", "changed\r\n");
    Put("DeusEx.ini", "changed too\r\n");
    EXPECT_TRUE(safeguards::RestoreIniBackups());
    EXPECT_EQ(Get("User.ini"), kUser);
    EXPECT_EQ(Get("DeusEx.ini"), kSystem);
    EXPECT_EQ(Get("user.ini_Bak"), kUser);
    EXPECT_EQ(EntryCount(), 4u);

    // A deleted configuration file comes back too.
    fs::remove("User.ini");
    EXPECT_TRUE(safeguards::RestoreIniBackups());
    EXPECT_EQ(Get("User.ini"), kUser);
}

TEST_F(Safeguards, AFailedRestoreChangesNeitherFile)
{
    PutPair();
    ASSERT_EQ(safeguards::BuildIniBackups(), BackupResult::Made);
    Put("User.ini", "edited user\r\n");
    Put("DeusEx.ini", "edited system\r\n");

    for (const char* gone : {"user.ini_Bak", "DeusEx.ini_Bak"}) {
        const std::string kept = Get(gone);
        fs::remove(gone);
        EXPECT_FALSE(safeguards::RestoreIniBackups()) << gone;
        EXPECT_EQ(Get("User.ini"), "edited user\r\n") << gone;
        EXPECT_EQ(Get("DeusEx.ini"), "edited system\r\n") << gone;
        Put(gone, kept);
    }

    // The second file refuses the copy: the first is put back as it was.
    SetReadOnly("DeusEx.ini");
    EXPECT_FALSE(safeguards::RestoreIniBackups());
    EXPECT_EQ(Get("User.ini"), "edited user\r\n");
    EXPECT_EQ(Get("DeusEx.ini"), "edited system\r\n");
    EXPECT_EQ(EntryCount(), 4u);
}

TEST_F(Safeguards, UnprotectMakesBothFilesWritableAgain)
{
    safeguards::UnProtectIniFiles(); // nothing there: passed over
    PutPair();
    SetReadOnly("User.ini");
    SetReadOnly("DeusEx.ini");
    ASSERT_THROW(ConfigFile(".\\User.ini").WriteText("Extension.InputExt", "F1", "Fire"), WriteError);

    safeguards::UnProtectIniFiles();
    EXPECT_FALSE(files::IsWriteProtected("User.ini"));
    EXPECT_FALSE(files::IsWriteProtected("DeusEx.ini"));
    ConfigFile(".\\User.ini").WriteText("Extension.InputExt", "F1", "Fire");
    ConfigFile(".\\DeusEx.ini").WriteText("Fenwake", "ColorThemeIndex", "1");
    EXPECT_EQ(ConfigFile(".\\User.ini").ReadText("Extension.InputExt", "F1", ""), "Fire");
}

} // namespace
} // namespace fenwake
