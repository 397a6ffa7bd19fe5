// Taking a set in part: the file read with its limit, and a plan narrowed to
// the changes a player kept.
#include "TempDir.h"

#include "config/ConfigFile.h"
#include "rules/BindingSet.h"
#include "rules/ChangeHistory.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fenwake {
namespace {

class BindingSetFile : public test::TempDirTest {};

TEST_F(BindingSetFile, ReadsUpToTheLimitAndRefusesMoreUnread)
{
    using Status = sets::SetFile::Status;
    std::filesystem::create_directory("folder.ini");
    const struct {
        const char* name;
        std::size_t bytes; // 0: not written
        Status status;
    } cases[] = {
        {"missing.ini", 0, Status::Unreadable},
        {"folder.ini", 0, Status::Unreadable},
        {"limit.ini", sets::kMaxSetBytes, Status::Read},
        {"over.ini", sets::kMaxSetBytes + 1, Status::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes) Put(c.name, std::string(c.bytes, 'x'));
        const sets::SetFile read = sets::ReadSetFile(c.name);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.text.size(), c.status == Status::Read ? c.bytes : 0);
    }
}

TEST_F(BindingSetFile, AppliesOnlyTheChosenChangesEachRecordedOnce)
{
    const std::string user = "[Extension.InputExt]\r\nF5=Jump\r\nF6=Duck\r\nF7=Fire\r\n";
    Put("User.ini", user);
    const ConfigFile file(".\\User.ini");
    const sets::Plan plan = sets::PlanImport(
        file,
        sets::ReadSet("F5=say hi\r\nF6=disconnect\r\nF7=Fire\r\nF8=quit\r\n"
                      "Aliases[25]=(Command=\"say gg\",Alias=Gg)\r\nAliases[3]=(Command=\"x\",Alias=y)\r\n"),
        false);
    ASSERT_EQ(plan.changes.size(), 4u);
    ASSERT_EQ(plan.risky.size(), 2u);

    const std::vector<std::string> chosen = {"F8", "Aliases[25]", "F7", "NoSuchKey"};
    const sets::Plan only = sets::Only(plan, chosen);
    ASSERT_EQ(only.changes.size(), 2u);
    ASSERT_EQ(only.writes.size(), 2u);
    ASSERT_EQ(only.risky.size(), 1u);
    EXPECT_EQ(only.risky[0].name, "F8");
    EXPECT_EQ(only.locked, plan.locked);

    const auto history = history::OpenFor(std::filesystem::current_path());
    ASSERT_NE(history, nullptr);
    int told = 0;
    const auto tell = [&told](const std::string&) { ++told; };
    sets::ApplyPlan(file, only, history::Recorder(history, history::Origin::WindowImport, tell));
    EXPECT_EQ(file.ReadText("Extension.InputExt", "F5", ""), "Jump");
    EXPECT_EQ(file.ReadText("Extension.InputExt", "F6", ""), "Duck");
    EXPECT_EQ(file.ReadText("Extension.InputExt", "F8", ""), "quit");
    EXPECT_EQ(file.ReadText("Extension.InputExt", "Aliases[25]", ""), "(Command=\"say gg\",Alias=Gg)");

    std::vector<history::Change> recorded;
    for (const history::Record& r : history->Load(tell)) {
        EXPECT_EQ(r.origin, history::Origin::WindowImport);
        recorded.push_back(r.change);
    }
    EXPECT_EQ(recorded, (std::vector<history::Change>{{"F8", "NOBIND", "quit"},
                                                      {"Aliases[25]", "not used", "(Command=\"say gg\",Alias=Gg)"}}));
    EXPECT_EQ(told, 0);
}

} // namespace
} // namespace fenwake
