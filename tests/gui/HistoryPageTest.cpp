// Typing kept as one change, and the history page: its list, undo, applying
// undone changes again.
#include "GuiTest.h"

#include "config/GameFiles.h"
#include "rules/ChangeHistory.h"
#include "rules/KeyBindings.h"
#include "rules/Revert.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>
#include <functional>

namespace fenwake::test {
namespace {

class HistoryPageTest : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
        MainWindow& w = Window();
        w.show();
        QApplication::setActiveWindow(&w);
    }

    void SelectKey(const char* key)
    {
        auto* keys = Find<QListWidget>("ListBox1");
        keys->setCurrentItem(keys->findItems(QString::fromLatin1(key), Qt::MatchExactly)[0]);
    }
    void Type(const char* key, const char* text)
    {
        SelectKey(key);
        QLineEdit* box = Find<QComboBox>("ComboBox1")->lineEdit();
        box->setFocus();
        QTest::keyClicks(box, QString::fromLatin1(text));
    }
    static std::vector<history::Record> Records()
    {
        return history::OpenFor(std::filesystem::current_path())->Load([](const std::string& m) {
            ADD_FAILURE() << m;
        });
    }
    static std::vector<history::Change> Changes()
    {
        std::vector<history::Change> changes;
        for (const auto& r : Records()) changes.push_back(r.change);
        return changes;
    }
    void ShowHistory()
    {
        Find<QToolButton>("ToolButton1")->click();
        Find<QToolButton>("ToolButtonHistory")->click();
    }
    QString Row(int row, int column) { return Find<QTreeWidget>("HistoryList")->topLevelItem(row)->text(column); }
};

TEST_F(HistoryPageTest, TypingIsOneChangeUntilSomethingEndsIt)
{
    const std::string was = keys::ReadBinding(game::UserIni(), "F5");
    Type("F5", "say gg");
    EXPECT_EQ(keys::ReadBinding(game::UserIni(), "F5"), "say gg") << "each keystroke is saved";
    EXPECT_EQ(Changes(), (std::vector<history::Change>{{"F5", was, "say gg"}}));

    struct Case {
        const char* what;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"another key", [&] { SelectKey("F6"); }},
        {"another page", [&] { Find<QToolButton>("ToolButton2")->click(); }},
        {"the focus elsewhere", [&] { Find<QLineEdit>("QSearchKey")->setFocus(); }},
        {"a pause", [] { QTest::qWait(2300); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SelectKey("F6"); // whatever was typed before is done
        const std::size_t before = Records().size();
        Type("F7", "ab");
        c.end();
        Find<QToolButton>("ToolButton1")->click();
        Type("F7", "c");
        const auto records = Records();
        ASSERT_EQ(records.size(), before + 2);
        EXPECT_EQ(records.back().change.before, records[before].change.after);
    }
}

TEST_F(HistoryPageTest, ListsUndoesAndAppliesAgain)
{
    const ConfigFile user = game::UserIni();
    const std::string wasF6 = keys::ReadBinding(user, "F6");
    const std::string wasF7 = keys::ReadBinding(user, "F7");
    Type("F5", "say one");
    Type("F6", "say two");
    Type("F7", "say three");
    ShowHistory();
    EXPECT_EQ(CurrentPageName(), "History");
    EXPECT_EQ(Find<QLineEdit>("HistoryFolder")->text(),
              QString::fromStdU16String(std::filesystem::current_path().u16string()));
    ASSERT_EQ(Find<QTreeWidget>("HistoryList")->topLevelItemCount(), 3);
    EXPECT_EQ(Row(0, 2), "F7") << "newest first";
    EXPECT_EQ(Row(0, 1), "window");
    EXPECT_TRUE(Row(0, 3).endsWith("\"say three\""));
    EXPECT_FALSE(Find<QPushButton>("ReapplyButton")->isEnabled());

    // Undo puts F7 back, and the key page shows what the file holds.
    Find<QPushButton>("UndoButton")->click();
    EXPECT_EQ(keys::ReadBinding(user, "F7"), wasF7);
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText().toStdString(), wasF7);
    ASSERT_EQ(Find<QTreeWidget>("HistoryList")->topLevelItemCount(), 4);
    EXPECT_EQ(Row(0, 1), "undo");

    // Another program turns F6 back: marked, and applied again.
    keys::WriteBinding(user, "F6", wasF6, history::Recorder::None());
    ShowHistory();
    EXPECT_TRUE(Row(2, 3).startsWith("undone by another program")) << Row(2, 3).toStdString();
    ASSERT_TRUE(Find<QPushButton>("ReapplyButton")->isEnabled());
    Find<QPushButton>("ReapplyButton")->click();
    EXPECT_EQ(keys::ReadBinding(user, "F6"), "say two");
    EXPECT_FALSE(Find<QPushButton>("ReapplyButton")->isEnabled());
    EXPECT_EQ(Row(0, 1), "reapply");

    // A value another program wrote since is never undone over.
    keys::WriteBinding(user, "F6", "say other", history::Recorder::None());
    const history::Record newest = history::Undoable(user, Records()).front();
    const std::string file = Get("User.ini");
    BoxAnswerer boxes;
    boxes.Expect({"Undo last change",
                  QString::fromStdString(history::UndoConflict(newest, "say other")) + ". Nothing was changed.",
                  QMessageBox::Warning, QMessageBox::Ok});
    Find<QPushButton>("UndoButton")->click();
    boxes.Verify();
    EXPECT_EQ(Get("User.ini"), file);
}

} // namespace
} // namespace fenwake::test
