#include "GuiTest.h"

#include "config/ConfigFile.h"
#include "ui/Colours.h"
#include "ui/Messages.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <string>

namespace fenwake::test {
namespace {

const QColor kLocked(0xC0, 0xC0, 0xC0);
const QColor kEditable(0xF7, 0xF7, 0xF7);

const ExpectedBox kResetQuestion{"Question", "Are you sure you want to do this?", QMessageBox::Question,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Ok};
const ExpectedBox kEmptyName{"ERROR!", "Alias name cannot be empty! You have to type a name before saving! ",
                             QMessageBox::Critical, QMessageBox::Ok};

class KeyAliasesPage : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
    }

    // The window as the user sees it, on the aliases page.
    void Open()
    {
        TfMain& w = Window();
        list = Find<QListWidget>("AList");
        command = Find<QLineEdit>("ECommand");
        name = Find<QLineEdit>("EAName");
        save = Find<QPushButton>("BitBtn3");
        cancelAll = Find<QPushButton>("BitBtn4");
        clear = Find<QPushButton>("BitBtn5");
        lock = Find<QCheckBox>("Lock17");
        w.show();
        QApplication::setActiveWindow(&w);
        QTest::mouseClick(Find<QAbstractButton>("ToolButton2"), Qt::LeftButton);
        ASSERT_EQ(w.CurrentPageName(), "AL");
    }

    void Choose(int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        ASSERT_EQ(list->currentRow(), row);
    }

    // Replaces a field's text by typing, as the user does.
    static void Type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    void ExpectLocked(bool locked)
    {
        for (QLineEdit* field : {command, name}) {
            EXPECT_EQ(field->isReadOnly(), locked) << field->objectName().toStdString();
            EXPECT_EQ(ui::BaseColour(field), locked ? kLocked : kEditable) << field->objectName().toStdString();
        }
    }

    static std::string Line(const std::string& text, const std::string& key)
    {
        const auto at = text.find("\r\n" + key + "=");
        if (at == std::string::npos) return {};
        return text.substr(at + 2, text.find("\r\n", at + 2) - at - 2);
    }

    QListWidget* list = nullptr;
    QLineEdit* command = nullptr;
    QLineEdit* name = nullptr;
    QPushButton* save = nullptr;
    QPushButton* cancelAll = nullptr;
    QPushButton* clear = nullptr;
    QCheckBox* lock = nullptr;
};

TEST_F(KeyAliasesPage, IsLaidOutAndShowsSlotZeroLockedAfterStartUp)
{
    Open();
    auto* frame = Find<QGroupBox>("GroupBox4");
    EXPECT_EQ(frame->geometry(), QRect(8, 8, 529, 313));
    EXPECT_EQ(frame->title(), "  Key Aliases editor  ");
    EXPECT_EQ(list->geometry(), QRect(16, 24, 497, 121));
    EXPECT_EQ(list->property("tag").toInt(), 175);
    EXPECT_EQ(ui::BaseColour(list), QColor(0xFE, 0xF9, 0xE2));
    EXPECT_EQ(command->geometry(), QRect(16, 168, 233, 24));
    EXPECT_EQ(name->geometry(), QRect(280, 168, 233, 24));
    EXPECT_EQ(Find<QLabel>("Label13")->text(), "Command for the alias:");
    EXPECT_EQ(Find<QLabel>("Label14")->text(), "Alias name");
    EXPECT_EQ(Find<QGroupBox>("GroupBox5")->title(), "         -=Help on using the Key Aliases Editor=-         ");
    EXPECT_EQ(Find<QGroupBox>("GroupBox5")->geometry(), QRect(12, 200, 373, 81));
    EXPECT_EQ(Find<QLabel>("Label17")->text(), QString::fromUtf8("• Select an alias from the list. \n"
                                                                 "• Edit the command and alias name\n"
                                                                 "• Click \"Save Alias\"\n"
                                                                 "• Do that with other aliases when necessary\n"
                                                                 "• That's all ! :)"));
    EXPECT_EQ(save->text(), "Save alias");
    EXPECT_EQ(save->geometry(), QRect(392, 208, 129, 25));
    EXPECT_EQ(cancelAll->text(), "Cancel all changes");
    EXPECT_EQ(cancelAll->geometry(), QRect(392, 240, 129, 25));
    EXPECT_EQ(clear->text(), "Clear selected alias");
    EXPECT_EQ(clear->geometry(), QRect(392, 272, 129, 25));
    EXPECT_EQ(lock->geometry(), QRect(16, 288, 369, 17));
    EXPECT_EQ(lock->text().size(), 112);
    EXPECT_EQ(lock->text(), "  Lock first 19 aliases against editing" + QString(73, u' '));
    EXPECT_EQ(lock->toolTip(),
              "Usually first 19 aliases are defauts, and should not be edited. Unccheck to edit them anyway.");
    EXPECT_TRUE(lock->isChecked());
    for (QLineEdit* field : {command, name}) EXPECT_EQ(field->contextMenuPolicy(), Qt::CustomContextMenu);

    ASSERT_EQ(list->count(), 40);
    EXPECT_EQ(list->item(0)->text(), "[0](Command=\"Button bFire | Fire\",Alias=Fire)");
    EXPECT_EQ(list->item(12)->text(), "[12](Command=\"\",Alias=None)");
    EXPECT_EQ(list->item(21)->text(), "[21](Command=\"say gg | Stat fps\",Alias=GoodGame21)");
    for (int n = 22; n < 40; ++n) EXPECT_EQ(list->item(n)->text(), QString("[%1]not used").arg(n));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(command->text(), "Button bFire | Fire");
    EXPECT_EQ(name->text(), "Fire");
    ExpectLocked(true);
}

TEST_F(KeyAliasesPage, LockCoversSlotsUpToEighteenAndTogglingItDiscardsEdits)
{
    Open();
    Choose(18);
    ExpectLocked(true);
    Choose(19);
    ExpectLocked(false);
    EXPECT_EQ(name->text(), "GoodGame19");
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 18);
    ExpectLocked(true);

    Choose(5);
    QTest::mouseClick(lock, Qt::LeftButton);
    EXPECT_FALSE(lock->isChecked());
    ExpectLocked(false);
    Type(command, "Axis aStrafe Speed=+1.0");
    Type(name, "Edited");
    QTest::mouseClick(lock, Qt::LeftButton);
    ExpectLocked(true);
    EXPECT_EQ(command->text(), "Axis aStrafe Speed=+300.0");
    EXPECT_EQ(name->text(), "StrafeRight");
}

TEST_F(KeyAliasesPage, SavingSlotTwentyFiveWritesItsLineAndKeepsTheRowSelected)
{
    Open();
    const std::string before = Get("User.ini");
    Choose(25);
    EXPECT_EQ(command->text(), "");
    EXPECT_EQ(name->text(), "");
    ExpectLocked(false);
    Type(command, "say hello");
    Type(name, "Greet");
    QTest::mouseClick(save, Qt::LeftButton);

    std::string want = before;
    const std::string after21 = "Alias=GoodGame21)\r\n";
    want.insert(want.find(after21) + after21.size(), "Aliases[25]=(Command=\"say hello\",Alias=Greet)\r\n");
    EXPECT_EQ(Get("User.ini"), want);
    ASSERT_EQ(list->count(), 40);
    EXPECT_EQ(list->currentRow(), 25);
    EXPECT_TRUE(list->item(25)->isSelected());
    EXPECT_EQ(list->item(25)->text(), "[25](Command=\"say hello\",Alias=Greet)");
    EXPECT_EQ(command->text(), "say hello");
    EXPECT_EQ(name->text(), "Greet");

    // An empty command is stored as an empty piece.
    Type(command, "");
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Line(Get("User.ini"), "Aliases[25]"), "Aliases[25]=(Command=\"\",Alias=Greet)");
}

TEST_F(KeyAliasesPage, AnEmptyNameIsRefusedAndNothingIsWritten)
{
    Open();
    const std::string before = Get("User.ini");
    Choose(20);
    Type(command, "say bye");
    Type(name, "");
    BoxAnswerer boxes;
    boxes.Expect(kEmptyName);
    QTest::mouseClick(save, Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_EQ(command->text(), "say bye");
    EXPECT_EQ(list->item(20)->text(), "[20](Command=\"say gg | Stat fps\",Alias=GoodGame20)");
}

TEST_F(KeyAliasesPage, ClearThenSaveStoresNoneAndALockedSlotCannotBeCleared)
{
    Open();
    const std::string before = Get("User.ini");
    Choose(19);
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_EQ(command->text(), "");
    EXPECT_EQ(name->text(), "None");
    EXPECT_EQ(Get("User.ini"), before);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Line(Get("User.ini"), "Aliases[19]"), "Aliases[19]=(Command=\"\",Alias=None)");
    EXPECT_EQ(list->currentRow(), 19);

    Choose(18);
    const std::string cleared = Get("User.ini");
    BoxAnswerer boxes;
    boxes.Expect({ui::ApplicationTitle(), "You cannot clear one of locked aliases! ", QMessageBox::Critical, QMessageBox::Ok});
    QTest::mouseClick(clear, Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(command->text(), "");
    EXPECT_EQ(name->text(), "None");
    EXPECT_EQ(Get("User.ini"), cleared);
}

TEST_F(KeyAliasesPage, EnterSavesAndEscapeClearsOnlyWhileThePageIsShown)
{
    Open();
    Choose(30);
    Type(command, "say one");
    Type(name, "One");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(Line(Get("User.ini"), "Aliases[30]"), "Aliases[30]=(Command=\"say one\",Alias=One)");
    EXPECT_EQ(list->currentRow(), 30);

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(name->text(), "None");
    EXPECT_EQ(command->text(), "");

    // With another button focused, Enter presses that one.
    Type(name, "Two");
    clear->setFocus();
    QTest::keyClick(clear, Qt::Key_Enter);
    EXPECT_EQ(name->text(), "None");
    EXPECT_EQ(Line(Get("User.ini"), "Aliases[30]"), "Aliases[30]=(Command=\"say one\",Alias=One)");

    Type(name, "Three");
    QTest::mouseClick(Find<QAbstractButton>("ToolButton1"), Qt::LeftButton);
    ASSERT_EQ(Window().CurrentPageName(), "Misc");
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &Window();
    QTest::keyClick(focus, Qt::Key_Return);
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_EQ(name->text(), "Three");
    EXPECT_EQ(Line(Get("User.ini"), "Aliases[30]"), "Aliases[30]=(Command=\"say one\",Alias=One)");
}

TEST_F(KeyAliasesPage, AQuoteInTheCommandIsStoredAsTypedAndLoadsBackCut)
{
    Open();
    Choose(31);
    Type(command, "say \"hi\"");
    Type(name, "G");
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Line(Get("User.ini"), "Aliases[31]"), "Aliases[31]=(Command=\"say \"hi\"\",Alias=G)");
    EXPECT_EQ(command->text(), "say \"hi\"");
    Choose(32);
    Choose(31);
    EXPECT_EQ(command->text(), "say ");
    EXPECT_EQ(name->text(), "ias=G");
}

TEST_F(KeyAliasesPage, SavingWithoutAnEditLeavesAnOddLineAlone)
{
    std::string text = Get("User.ini");
    const std::string slot2 = "Aliases[2]=(Command=\"Axis aBaseY  Speed=+300.0\",Alias=MoveForward)";
    text.replace(text.find(slot2), slot2.size(), "Aliases[2] = (Command=\"Axis aBaseY  Speed=+300.0\", Alias=MoveForward)");
    const std::string slot20 = "Aliases[20]=(Command=\"say gg | Stat fps\",Alias=GoodGame20)";
    text.replace(text.find(slot20), slot20.size(), "Aliases[20]=(Command=\"say gg\",  Alias=GG)");
    Put("User.ini", text);
    Open();

    Choose(2);
    EXPECT_EQ(name->text(), "=MoveForward");
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Get("User.ini"), text);

    // Even unlocked, the game's own slot is only written once edited.
    Choose(20);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Get("User.ini"), text);
    Type(name, "GG");
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Line(Get("User.ini"), "Aliases[20]"), "Aliases[20]=(Command=\"say gg\",Alias=GG)");

    QTest::mouseClick(lock, Qt::LeftButton);
    Choose(2);
    Type(name, "Forward");
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(ConfigFile(".\\User.ini").ReadText("Extension.InputExt", "Aliases[2]", ""),
              "(Command=\"Axis aBaseY  Speed=+300.0\",Alias=Forward)");
}

TEST_F(KeyAliasesPage, AFailedWriteIsShownAndTheListIsNotReloaded)
{
    Open();
    Choose(26);
    Type(command, "say x");
    Type(name, "X");
    std::filesystem::permissions("User.ini", std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    const std::string before = Get("User.ini");
    BoxAnswerer boxes;
    boxes.Expect({ui::ApplicationTitle(), "Unable to write to .\\User.ini.", QMessageBox::Critical, QMessageBox::Ok});
    QTest::mouseClick(save, Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), before);
    EXPECT_EQ(list->item(26)->text(), "[26]not used");
    EXPECT_EQ(name->text(), "X");
}

TEST_F(KeyAliasesPage, TheResetKeepsTheFieldsAndTheSlotTheyBelongTo)
{
    std::filesystem::copy_file("User.ini", "user.ini_Bak");
    std::filesystem::copy_file("DeusEx.ini", "DeusEx.ini_Bak");
    Open();
    Choose(25);
    Type(command, "say hello");
    Type(name, "Greet");
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_NE(Line(Get("User.ini"), "Aliases[25]"), "");
    Type(command, "say later");
    // What the reset reloads is the file as the restore leaves it; putting
    // the backup back here keeps this test about the page alone.
    Put("User.ini", Get("user.ini_Bak"));

    BoxAnswerer boxes;
    boxes.Expect(kResetQuestion);
    QTest::mouseClick(cancelAll, Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), Get("user.ini_Bak"));
    ASSERT_EQ(list->count(), 40);
    EXPECT_EQ(list->item(25)->text(), "[25]not used");
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(command->text(), "say later");
    EXPECT_EQ(name->text(), "Greet");

    // Save and clear act on slot 25, never on a slot -1.
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Line(Get("User.ini"), "Aliases[25]"), "Aliases[25]=(Command=\"say later\",Alias=Greet)");
    EXPECT_EQ(list->currentRow(), 25);

    Put("User.ini", Get("user.ini_Bak"));
    boxes.Expect(kResetQuestion);
    QTest::mouseClick(cancelAll, Qt::LeftButton);
    boxes.Verify();
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_EQ(name->text(), "None");
    // The lock's re-parse shows slot 25 as restored.
    QTest::mouseClick(lock, Qt::LeftButton);
    EXPECT_EQ(command->text(), "");
    EXPECT_EQ(name->text(), "");
    ExpectLocked(false);
    EXPECT_EQ(Get("User.ini"), Get("user.ini_Bak"));
}

} // namespace
} // namespace fenwake::test
