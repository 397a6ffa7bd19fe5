// Before the start-up: which folder's settings the window edits, on a fake
// Windows in the test's folder (drive C, one user).
#include "GuiTest.h"
#include "TempDir.h"

#include "app/StartFolder.h"
#include "config/GameLocator.h"
#include "ui/widgets/RowChooser.h"

#include "rules/ChangeHistory.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fenwake::test {
namespace {
namespace fs = std::filesystem;

const char kGame[] = "C/Program Files/Deus Ex/System";
const char kLive[] = "C/Users/me/Documents/Deus Ex/System";
const char kOtherLive[] = "C/Users/you/Documents/Deus Ex/System";

class StartFolderTest : public GameDirTest {
protected:
    fs::path At(const std::string& relative) const { return (dir_ / relative).make_preferred(); }

    locate::Places Places() const
    {
        locate::Machine m;
        m.drive = At("C");
        m.programFiles = {At("C/Program Files")};
        m.documents = {At("C/Users/me/Documents"), At("C/Users/you/Documents")};
        locate::Places places;
        places.host = m;
        return places;
    }

    // Kentie's launcher has saved User.ini to Documents, DeusEx.ini not yet.
    void MakeInstall() const
    {
        fs::create_directories(At(kGame));
        fs::create_directories(At(kLive));
        for (const char* name : {"DeusEx.exe", "DeusExe.exe"}) Put(At(kGame) / name, "");
        Put(At(kGame) / "User.ini", "[Extension.InputExt]\r\nF1=game folder\r\n");
        Put(At(kGame) / "DeusEx.ini", "[WinDrv.WindowsClient]\r\nBrightness=0.700000\r\n");
        Put(At(kLive) / "User.ini", "[Extension.InputExt]\r\nF1=documents\r\n");
    }

    // Answers the next installs chooser: the row, or cancel.
    void AnswerChooser(std::optional<int> row)
    {
        auto* timer = new QTimer(&timers_);
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [this, timer, row] {
            auto* chooser = qobject_cast<ui::RowChooser*>(QApplication::activeModalWidget());
            if (!chooser) return;
            timer->stop();
            auto* rows = chooser->findChild<QTreeWidget*>("RowChooserRows");
            chooserRows_ = rows->topLevelItemCount();
            chooserFirst_ = rows->topLevelItem(0)->text(2);
            if (row) {
                rows->setCurrentItem(rows->topLevelItem(*row));
                chooser->accept();
            } else {
                chooser->reject();
            }
        });
        timer->start();
    }

    std::vector<fs::path> Listing(const fs::path& folder) const
    {
        std::vector<fs::path> names;
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    QObject timers_;
    int chooserRows_ = -1;
    QString chooserFirst_; // the first row's folder
};

const ExpectedBox MissingBox(const char* name)
{
    return {"Configuration file not found", QString("\"%1\" file not found! Click OK to exit.").arg(name),
            QMessageBox::Critical, QMessageBox::Ok};
}

TEST_F(StartFolderTest, AGameFolderWhoseSettingsLiveElsewhereAsksOnce)
{
    MakeInstall();
    const std::string gameIni = Get(At(kGame) / "DeusEx.ini");
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        fs::current_path(At(kGame));
        BoxAnswerer boxes;
        boxes.Expect({"Fenwake",
                      "Deus Ex reads its settings from " + QString::fromStdU16String(At(kLive).u16string()) +
                          ", not from this folder. Edit the settings there?",
                      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, answer});
        const StartFolder start = ChooseStartFolder(Places());
        boxes.Verify();
        EXPECT_TRUE(start.proceed);
        if (answer == QMessageBox::No) {
            EXPECT_FALSE(start.switchedTo);
            EXPECT_TRUE(fs::equivalent(fs::current_path(), At(kGame)));
            EXPECT_FALSE(fs::exists(At(kLive) / "DeusEx.ini"));
        } else {
            ASSERT_TRUE(start.switchedTo);
            EXPECT_TRUE(fs::equivalent(fs::current_path(), At(kLive)));
            // The game reads the game folder's DeusEx.ini until it saves one here: the same bytes.
            EXPECT_EQ(Get(At(kLive) / "DeusEx.ini"), gameIni);
        }
        EXPECT_EQ(Get(At(kGame) / "DeusEx.ini"), gameIni);
    }

    // The window built there edits what the game reads; its backups are made there too.
    Window();
    EXPECT_EQ(Get(At(kLive) / "user.ini_Bak"), "[Extension.InputExt]\r\nF1=documents\r\n");
    EXPECT_EQ(Listing(At(kGame)), (std::vector<fs::path>{"DeusEx.exe", "DeusEx.ini", "DeusExe.exe", "User.ini"}));
}

TEST_F(StartFolderTest, AFolderWithoutSettingsOffersTheInstallsOrEnds)
{
    MakeInstall();
    fs::create_directory(At("elsewhere"));
    struct Case {
        const char* what;
        bool install;
        std::optional<int> pick;
    };
    for (const Case c :
         {Case{"cancelled", true, std::nullopt}, Case{"no install", false, std::nullopt}, Case{"picked", true, 0}}) {
        SCOPED_TRACE(c.what);
        fs::current_path(At("elsewhere"));
        chooserRows_ = -1;
        if (c.install) AnswerChooser(c.pick);
        BoxAnswerer boxes;
        // Cancelled, the player has seen what there is: no box more.
        if (!c.install) boxes.Expect(MissingBox("User.ini")).Expect(MissingBox("DeusEx.ini"));
        const StartFolder start = ChooseStartFolder(c.install ? Places() : locate::Places{});
        boxes.Verify();
        EXPECT_EQ(chooserRows_, c.install ? 1 : -1);
        EXPECT_EQ(start.proceed, c.pick.has_value());
        if (c.pick) {
            EXPECT_TRUE(fs::equivalent(fs::current_path(), At(kLive)));
            EXPECT_TRUE(start.switchedTo);
        } else {
            // Nothing is made in a folder that is no game's.
            EXPECT_TRUE(fs::equivalent(fs::current_path(), At("elsewhere")));
            EXPECT_TRUE(fs::is_empty(At("elsewhere")));
        }
    }
}

// The install played last comes first, at start-up and in the window,
// which moves every page to the one chosen there.
TEST_F(StartFolderTest, TheSettingsWrittenLastComeFirstAndTheWindowMovesToAnother)
{
    MakeInstall();
    fs::create_directories(At(kOtherLive));
    Put(At(kOtherLive) / "User.ini", "[Extension.InputExt]\r\nF1=other\r\n");
    fs::last_write_time(At(kLive) / "User.ini",
                        fs::last_write_time(At(kOtherLive) / "User.ini") - std::chrono::hours(1));
    fs::create_directory(At("elsewhere"));
    fs::current_path(At("elsewhere"));
    AnswerChooser(0);
    const StartFolder start = ChooseStartFolder(Places());
    ASSERT_GE(chooserRows_, 2);
    EXPECT_EQ(chooserFirst_, QString::fromStdU16String(At(kOtherLive).u16string()));
    ASSERT_TRUE(start.proceed);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), At(kOtherLive)));

    window_ = std::make_unique<MainWindow>(start.switchedTo, Places());
    auto* keys = Find<QListWidget>("ListBox1");
    keys->setCurrentItem(keys->findItems(QStringLiteral("F1"), Qt::MatchExactly)[0]);
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText(), "other");
    Find<QToolButton>("ToolButtonHistory")->click();
    auto* other = Find<QPushButton>("SwitchInstallButton");
    ASSERT_TRUE(other->isEnabled());
    AnswerChooser(1);
    other->click();
    EXPECT_TRUE(fs::equivalent(fs::current_path(), At(kLive)));
    EXPECT_EQ(Find<QLineEdit>("HistoryFolder")->text(), QString::fromStdU16String(fs::current_path().u16string()));
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText(), "documents");
    EXPECT_EQ(Get(At(kLive) / "user.ini_Bak"), "[Extension.InputExt]\r\nF1=documents\r\n");

    // Its saves and their history are that install's now.
    Find<QToolButton>("ToolButton1")->click();
    QTest::keyClicks(Find<QComboBox>("ComboBox1")->lineEdit(), QStringLiteral("!"));
    EXPECT_EQ(Get(At(kOtherLive) / "User.ini"), "[Extension.InputExt]\r\nF1=other\r\n");
    const auto records = history::OpenFor(fs::current_path())->Load([](const std::string&) {});
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].change, (history::Change{"F1", "documents", "documents!"}));
}

} // namespace
} // namespace fenwake::test
