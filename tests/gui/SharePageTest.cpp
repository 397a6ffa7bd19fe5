// The share page: the player's binds out as a set, a friend's in through
// the review, and only the checked changes written.
#include "GuiTest.h"

#include "config/ConfigFile.h"
#include "rules/BindingSet.h"
#include "rules/ChangeHistory.h"
#include "ui/Text.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <optional>

namespace fenwake::test {
namespace {
using namespace std::string_literals;

QString Q(const std::filesystem::path& p) { return QString::fromStdU16String(p.u16string()); }

// Answers the next file dialog from a timer with a name in its field, as a
// player gives one; nothing: cancels it.
class FileDialogAnswerer {
public:
    explicit FileDialogAnswerer(std::optional<std::filesystem::path> answer) : answer_(std::move(answer))
    {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    ~FileDialogAnswerer() { EXPECT_TRUE(answered_) << "no file dialog came"; }

private:
    void Poll()
    {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || answered_) return;
        answered_ = true;
        timer_.stop();
        if (!answer_) {
            dialog->reject();
            return;
        }
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        // Typed letter by letter, the name would open the completer's popup.
        name->setText(Q(*answer_));
        static_cast<QDialog*>(dialog)->accept();
    }

    std::optional<std::filesystem::path> answer_;
    bool answered_ = false;
    QTimer timer_;
};

// A friend's set: a line of each kind the review tells apart.
const std::string kFriendsSet = "[Extension.InputExt]\r\n"
                                "F5=disconnect | open 1.2.3.4:7790\r\n"
                                "F6=say hi\r\n"
                                "F8=adminlogin <secret>\r\n"
                                "F9=say\0gg\r\n"s
                                "F10=say " +
                                std::string(3000, 'x') +
                                "\r\n"
                                "Aliases[3]=(Command=\"Jump\",Alias=Hop)\r\n"
                                "Aliases[25]=(Command=\"say gg\",Alias=Gg)\r\n"
                                "Aliases[26]=(Command=\"say nobody\",Alias=)\r\n";

class SharePage : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        CopySamples();
    }

    void Open()
    {
        MainWindow& w = Window();
        w.show();
        QApplication::setActiveWindow(&w);
        QTest::mouseClick(Find<QAbstractButton>("ToolButtonShare"), Qt::LeftButton);
        ASSERT_EQ(CurrentPageName(), "Share");
        review = Find<QTreeWidget>("ReviewList");
        apply = Find<QPushButton>("ApplyButton");
    }

    void Press(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    void Load(const std::filesystem::path& file)
    {
        FileDialogAnswerer answer(dir_ / file);
        Press("ImportButton");
    }
    static void Paste(const std::string& text) { QGuiApplication::clipboard()->setText(ui::ToQ(text)); }

    QTreeWidgetItem* Row(const char* key)
    {
        const auto found = review->findItems(QString::fromLatin1(key), Qt::MatchExactly, 0);
        EXPECT_EQ(found.size(), 1) << key;
        return found.empty() ? nullptr : found[0];
    }
    QString Status(const char* name) { return Find<QLabel>(name)->text(); }

    QTreeWidget* review = nullptr;
    QPushButton* apply = nullptr;
};

TEST_F(SharePage, SitsRightOfTheOtherTogglesAndStartsEmpty)
{
    Open();
    auto* share = Find<QAbstractButton>("ToolButtonShare");
    EXPECT_EQ(share->parentWidget()->objectName(), "CoolBar1");
    EXPECT_EQ(share->geometry(), QRect(414, 1, 115, 21));
    EXPECT_EQ(share->text(), "Share binds");
    EXPECT_TRUE(share->isChecked());
    EXPECT_EQ(Find<QWidget>("ToolBar1")->geometry(), QRect(53, 1, 246, 21));
    EXPECT_FALSE(Find<QAbstractButton>("ToolButton1")->isChecked());
    QTest::mouseClick(Find<QAbstractButton>("ToolButton2"), Qt::LeftButton);
    EXPECT_EQ(CurrentPageName(), "AL");
    EXPECT_FALSE(share->isChecked());

    EXPECT_FALSE(Find<QCheckBox>("KeepSecretsBox")->isChecked());
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(review->topLevelItemCount(), 0);
}

// The same set as fenwake-cli export, to a file with CR LF, to the
// clipboard with the platform's line ends, secrets masked unless kept.
TEST_F(SharePage, ExportsAndCopiesTheSetWithTheSecretsCounted)
{
    const ConfigFile user(".\\User.ini");
    user.WriteText("Extension.InputExt", "F7", "adminlogin hunter2");
    user.WriteText("Extension.InputExt", "Aliases[25]",
                   "(Command=\"admin set Engine.GameInfo GamePassword xyz\",Alias=Pw)");
    Open();
    const sets::ShownState shown = sets::ReadShownState(user);
    sets::ShownState masked = shown;
    ASSERT_EQ(sets::HideSecrets(masked), 2u);

    const struct {
        bool keep;
        const sets::ShownState& set;
        const char* saved;
        const char* copied;
    } cases[] = {
        {false, masked, "Saved to mine.ini: 2 secrets masked as <secret>.",
         "Copied to the clipboard: 2 secrets masked as <secret>."},
        {true, shown, "Saved to mine.ini with 2 secrets as they are: share it with care.",
         "Copied to the clipboard with 2 secrets as they are: share it with care."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keep);
        std::filesystem::remove(dir_ / "mine.ini");
        Find<QCheckBox>("KeepSecretsBox")->setChecked(c.keep);
        {
            FileDialogAnswerer answer(dir_ / "mine.ini");
            Press("ExportButton");
        }
        EXPECT_EQ(Get("mine.ini"), sets::WriteSet(c.set, "\r\n"));
        EXPECT_EQ(Status("ExportStatus"), c.saved);
        Press("CopyButton");
        EXPECT_EQ(ui::FromQ(QGuiApplication::clipboard()->text()), sets::WriteSet(c.set, "\n"));
        EXPECT_EQ(Status("ExportStatus"), c.copied);
    }
    // Cancelled: nothing saved, nothing said.
    {
        FileDialogAnswerer cancel(std::nullopt);
        Press("ExportButton");
    }
    EXPECT_EQ(Status("ExportStatus"), cases[1].copied);
}

// From the clipboard or a file alike: a row per change, risky ones
// unchecked with their class, lines that will not be written without a box
// to check, and nothing written.
TEST_F(SharePage, ReviewsASetBeforeWritingAnything)
{
    const std::string before = Get("User.ini");
    Open();
    Put("friend.ini", kFriendsSet);
    for (const bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile);
        if (fromFile) {
            Load("friend.ini");
        } else {
            Paste(kFriendsSet);
            Press("PasteButton");
        }
        const struct {
            const char* key;
            std::optional<Qt::CheckState> check; // nothing: no check box
            QString note;
        } rows[] = {
            {"F5", Qt::Unchecked, "leaves the game: disconnect; leaves the game: open 1.2.3.4:7790"},
            {"F6", Qt::Checked, ""},
            {"Aliases[25]", Qt::Checked, ""},
            {"F8", std::nullopt, "not written: holds a masked secret <secret>"},
            {"F9", std::nullopt, "not written: holds a NUL byte"},
            {"F10", std::nullopt, "not written: longer than 2047 characters"},
            {"Aliases[3]", std::nullopt, "not written: locked alias slot"},
            {"Aliases[26]", std::nullopt, "not written: no alias name"},
        };
        ASSERT_EQ(review->topLevelItemCount(), static_cast<int>(std::size(rows)));
        for (const auto& r : rows) {
            SCOPED_TRACE(r.key);
            QTreeWidgetItem* row = Row(r.key);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->text(3), r.note);
            EXPECT_EQ(bool(row->flags() & Qt::ItemIsUserCheckable), r.check.has_value());
            EXPECT_EQ(row->data(0, Qt::CheckStateRole).isValid(), r.check.has_value());
            if (r.check) {
                EXPECT_EQ(row->checkState(0), *r.check);
            }
        }
        EXPECT_EQ(Row("F6")->text(1), "");
        EXPECT_EQ(Row("F6")->text(2), "say hi");
        EXPECT_EQ(Status("ReviewStatus"), "3 changes, 1 risky; 5 lines not written.");
        EXPECT_TRUE(apply->isEnabled());
        EXPECT_EQ(Get("User.ini"), before);
    }
}

// Only the checked rows, each recorded once as the window's import; the
// other pages show them at once and no box comes.
TEST_F(SharePage, AppliesTheCheckedRowsOnly)
{
    Open();
    auto* keys = Find<QListWidget>("ListBox1");
    keys->setCurrentItem(keys->findItems(QStringLiteral("F5"), Qt::MatchExactly)[0]);
    Paste(kFriendsSet);
    Press("PasteButton");
    // The risky row taken, a plain one left out.
    for (const char* key : {"F5", "F6"}) {
        review->setCurrentItem(Row(key));
        QTest::keyClick(review, Qt::Key_Space);
    }
    EXPECT_EQ(Row("F5")->checkState(0), Qt::Checked);
    EXPECT_EQ(Row("F6")->checkState(0), Qt::Unchecked);

    BoxAnswerer boxes;
    QTest::mouseClick(apply, Qt::LeftButton);
    boxes.Verify();
    const ConfigFile user(".\\User.ini");
    EXPECT_EQ(user.ReadText("Extension.InputExt", "F5", ""), "disconnect | open 1.2.3.4:7790");
    EXPECT_EQ(user.ReadText("Extension.InputExt", "F6", "-"), "");
    EXPECT_EQ(user.ReadText("Extension.InputExt", "Aliases[25]", ""), "(Command=\"say gg\",Alias=Gg)");

    std::vector<std::string> recorded;
    for (const history::Record& r : history::OpenFor(dir_)->Load([](const std::string& m) { ADD_FAILURE() << m; })) {
        EXPECT_EQ(r.origin, history::Origin::WindowImport);
        recorded.push_back(r.change.key);
    }
    EXPECT_EQ(recorded, (std::vector<std::string>{"F5", "Aliases[25]"}));

    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText(), "disconnect | open 1.2.3.4:7790");
    EXPECT_EQ(Find<QListWidget>("AList")->item(25)->text(), "[25](Command=\"say gg\",Alias=Gg)");
    // What is left: the row left unchecked and the lines never written.
    EXPECT_EQ(review->topLevelItemCount(), 6);
    EXPECT_EQ(Row("F6")->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(Status("ReviewStatus"), "Applied 2 changes. 1 change; 5 lines not written.");
}

// Nothing to bind in it: a box, the review and the file as they were.
TEST_F(SharePage, RefusesWhatIsNoSet)
{
    const std::string before = Get("User.ini");
    Open();
    Paste("F6=say hi\n");
    Press("PasteButton");
    ASSERT_EQ(review->topLevelItemCount(), 1);

    std::string binary = "\x89PNG\r\n\x1a\n"s;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>(i * 7 % 256);
    Put("picture.png", binary);
    Put("huge.ini", std::string(sets::kMaxSetBytes + 1, '\n'));
    Put("engine.ini", "[Engine.Engine]\r\nGameRenderDevice=D3DDrv.D3DRenderDevice\r\n");
    const QString nothing = " holds no key binding or alias line (Key=Command). Nothing was changed.";
    const struct {
        const char* file; // nullptr: pasted
        std::string pasted;
        QString text;
    } cases[] = {
        {"picture.png", "", "picture.png" + nothing},
        {"huge.ini", "", "huge.ini is larger than 4 MB: it is no binding set. Nothing was changed."},
        {"engine.ini", "", "engine.ini" + nothing},
        {nullptr, "Hello, here are my binds!", "The clipboard" + nothing},
        {nullptr, "", "The clipboard" + nothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        BoxAnswerer boxes;
        boxes.Expect({"Share binds", c.text, QMessageBox::Warning});
        if (c.file) {
            Load(c.file);
        } else {
            Paste(c.pasted);
            Press("PasteButton");
        }
        boxes.Verify();
        EXPECT_EQ(review->topLevelItemCount(), 1);
        EXPECT_EQ(Get("User.ini"), before);
    }
}

} // namespace
} // namespace fenwake::test
