#include "GuiTest.h"

#include "ui/Colours.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

namespace fenwake::test {
namespace {

const QString kTitle = QStringLiteral(" Fenwake Version 1.1.1.100   Language: [English]");

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

// The player and graphics pages. Unless a test says otherwise the first-run
// flag is cleared, so the resolution fields keep what the page loaded.
class SettingsPages : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
    }
    void PutSystem(const std::string& clientLines, const std::string& openGlLines = "",
                   const std::string& firstRun = "[CVFirstFun]\r\nbWasFirstRun=0\r\n")
    {
        Put("DeusEx.ini", "[Engine.Engine]\r\nGameRenderDevice=OpenGLDrv.OpenGLRenderDevice\r\n\r\n"
                          "[WinDrv.WindowsClient]\r\n" +
                              clientLines + "\r\n[OpenGLDrv.OpenGLRenderDevice]\r\n" + openGlLines + "\r\n" + firstRun);
    }
    void PutUser(const std::string& name, const std::string& speed, const std::string& help)
    {
        Put("User.ini", "[DefaultPlayer]\r\nName=" + name + "\r\n[Engine.Player]\r\nConfiguredInternetSpeed=" + speed +
                            "\r\n[DeusEx.DeusExPlayer]\r\nbHelpMessages=" + help + "\r\n[Extension.InputExt]\r\n");
    }
    // A user's pick from a closed list with the keyboard, as on the real control.
    static void Pick(QComboBox* box, int index)
    {
        while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
    }
};

TEST_F(SettingsPages, PlayerPageIsLaidOutAndLoadsTheSample)
{
    Window();
    QWidget* page = Page("Default");
    auto* name = Find<QLineEdit>("PlayerName");
    auto* speed = Find<QComboBox>("ConnSpeed");
    auto* help = Find<QCheckBox>("cShowHelpMessages");
    ASSERT_TRUE(name && speed && help);
    for (QWidget* c : {static_cast<QWidget*>(name), static_cast<QWidget*>(speed), static_cast<QWidget*>(help)})
        EXPECT_EQ(c->parentWidget(), page);
    EXPECT_EQ(name->geometry(), QRect(104, 16, 161, 23));
    EXPECT_EQ(speed->geometry(), QRect(104, 48, 161, 21));
    EXPECT_EQ(help->geometry(), QRect(8, 96, 257, 17));
    EXPECT_EQ(Find<QLabel>("Label1")->text(), "Player name:");
    EXPECT_EQ(Find<QLabel>("Label2")->pos(), QPoint(8, 48));
    EXPECT_EQ(help->text(), "Show help messages" + QString(81, u' '));
    EXPECT_FALSE(speed->isEditable());
    EXPECT_EQ(Items(speed), QStringList({"33.6k (1600)", "56k-low (2600)", "56k-High (3200)", "ISDN (5200)",
                                         "DSL (10000)", "Cable (15 000)", "T1/LAN (20 000)"}));
    EXPECT_EQ(ui::BaseColour(name), QColor(0xF8, 0xF1, 0xDE));
    EXPECT_EQ(ui::BaseColour(speed), QColor(0xFB, 0xE7, 0xE1));

    EXPECT_EQ(name->text(), "SamplePlayer");
    EXPECT_EQ(speed->currentText(), "DSL (10000)");
    EXPECT_TRUE(help->isChecked()); // the sample's True is no number: the default applies
    EXPECT_EQ(CurrentPageName(), "Misc");
}

TEST_F(SettingsPages, ASpeedOutsideTheTableLeavesTheSelection)
{
    PutUser("  Bob  ", "4000", "0");
    Window();
    auto* speed = Find<QComboBox>("ConnSpeed");
    EXPECT_EQ(speed->currentIndex(), -1);
    EXPECT_EQ(Find<QLineEdit>("PlayerName")->text(), "Bob");
    EXPECT_FALSE(Find<QCheckBox>("cShowHelpMessages")->isChecked());

    PutUser("Alice", "0x4E20", "1");
    Find<PlayerPage>("Default")->LoadSettings();
    EXPECT_EQ(speed->currentText(), "T1/LAN (20 000)");

    PutUser("Carol", "4000", "1");
    Find<PlayerPage>("Default")->LoadSettings();
    EXPECT_EQ(speed->currentText(), "T1/LAN (20 000)");
    EXPECT_EQ(Find<QLineEdit>("PlayerName")->text(), "Carol");
}

TEST_F(SettingsPages, GraphicsPageIsLaidOutWithTheGroupHidden)
{
    Window();
    QWidget* page = Page("Graphics");
    auto* group = Find<QGroupBox>("GroupBox1");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->parentWidget(), page);
    EXPECT_EQ(group->geometry(), QRect(8, 104, 521, 217));
    EXPECT_EQ(group->title(), "Video settings");
    EXPECT_TRUE(group->isHidden());
    EXPECT_EQ(Find<QLabel>("Label7")->text(), "advanced options (show)");
    EXPECT_EQ(Find<QLabel>("Label7")->palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));

    struct Box {
        const char* name;
        QRect geometry;
        QStringList items;
        bool editable;
        QWidget* parent;
    };
    const Box boxes[] = {
        {"QGraphicsQuality", {128, 16, 145, 21}, {"Low", "Medium", "High", "Custom settings "}, false, page},
        {"cbResX", {144, 77, 57, 23}, {"640", "800", "1024", "1280", "1600"}, true, page},
        {"cbResY", {217, 77, 57, 23}, {"480", "600", "768", "1024", "1200"}, true, page},
        {"cbSkinDetail", {120, 24, 145, 22}, {"Low", "High"}, false, group},
        {"cbWorldTexture", {120, 56, 145, 22}, {"Low", "Medium", "High"}, false, group},
        {"cbDecals", {120, 88, 145, 22}, {"Use", "Don't use"}, false, group},
    };
    for (const Box& b : boxes) {
        auto* box = Find<QComboBox>(b.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->geometry(), b.geometry) << b.name;
        EXPECT_EQ(Items(box), b.items) << b.name;
        EXPECT_EQ(box->isEditable(), b.editable) << b.name;
        EXPECT_EQ(box->parentWidget(), b.parent) << b.name;
    }
    auto* gamma = Find<QSlider>("tGamma");
    EXPECT_EQ(gamma->maximum(), 20);

    // The sample's True words load as the defaults: no preset matches, and
    // the program's choice of "Custom settings " opens nothing.
    EXPECT_EQ(Find<QComboBox>("QGraphicsQuality")->currentText(), "Custom settings ");
    EXPECT_TRUE(group->isHidden());
    EXPECT_EQ(gamma->value(), 10);
    EXPECT_EQ(Find<QLabel>("LGammaValue")->text(), "0.500000");
}

TEST_F(SettingsPages, GraphicsLoadMapsEachValue)
{
    PutSystem("SkinDetail=high\r\nTextureDetail=Medium\r\nDecals=False\r\nScreenFlashes=1\r\n"
              "StartupFullscreen=0\r\nBrightness=0.300000\r\nFullscreenViewportX=1366\r\nFullscreenViewportY=0x300\r\n",
              "DetailTextures=0\r\n");
    Window();
    EXPECT_EQ(Find<QComboBox>("cbSkinDetail")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>("cbWorldTexture")->currentText(), "Medium");
    EXPECT_EQ(Find<QComboBox>("cbDecals")->currentText(), "Use");
    EXPECT_FALSE(Find<QCheckBox>("cDetailTextures")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("cFullScreen")->isChecked());
    auto* gamma = Find<QSlider>("tGamma");
    EXPECT_EQ(gamma->value(), 6);
    EXPECT_EQ(Find<QComboBox>("cbResX")->currentText(), "1366");
    EXPECT_EQ(Find<QComboBox>("cbResY")->currentText(), "768");

    PutSystem("SkinDetail=Low\r\nTextureDetail=Ultra\r\nDecals=0\r\nBrightness=0.25\r\n", "DetailTextures=True\r\n");
    Find<GraphicsPage>("Graphics")->LoadSettings();
    EXPECT_EQ(Find<QComboBox>("cbSkinDetail")->currentText(), "Low");
    EXPECT_EQ(Find<QComboBox>("cbWorldTexture")->currentText(), "Medium"); // kept
    EXPECT_EQ(Find<QComboBox>("cbDecals")->currentText(), "Don't use");
    EXPECT_TRUE(Find<QCheckBox>("cDetailTextures")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("cFullScreen")->isChecked());
    EXPECT_EQ(gamma->value(), 6); // kept
    EXPECT_EQ(Find<QComboBox>("cbResX")->currentText(), "640");
    EXPECT_EQ(Find<QComboBox>("cbResY")->currentText(), "480");

    PutSystem("Brightness=0.250000\r\n");
    Find<GraphicsPage>("Graphics")->LoadSettings();
    EXPECT_EQ(gamma->value(), 3);
    EXPECT_EQ(Find<QLabel>("LGammaValue")->text(), "0.250000");
}

TEST_F(SettingsPages, PickedResolutionsPairUpAndTypedOnesStayAlone)
{
    PutSystem("FullscreenViewportX=1366\r\nFullscreenViewportY=768\r\n");
    Window();
    auto* x = Find<QComboBox>("cbResX");
    auto* y = Find<QComboBox>("cbResY");
    EXPECT_EQ(x->currentText(), "1366");
    QSignalSpy yPicked(y, &QComboBox::activated);

    Pick(x, 1);
    EXPECT_EQ(x->currentText(), "800");
    EXPECT_EQ(y->currentText(), "600");
    EXPECT_EQ(yPicked.count(), 0); // setting the height is no pick of the height box

    Pick(y, 3);
    EXPECT_EQ(x->currentText(), "1280");
    EXPECT_EQ(y->currentText(), "1024");

    // Typing an item's text and leaving the field selects that item in Qt,
    // but it was typed: 1024 x 600 must be possible.
    x->lineEdit()->selectAll();
    QTest::keyClicks(x->lineEdit(), "1024");
    QTest::keyClick(x->lineEdit(), Qt::Key_Return);
    y->lineEdit()->selectAll();
    QTest::keyClicks(y->lineEdit(), "600");
    QTest::keyClick(y->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(x->currentText(), "1024");
    EXPECT_EQ(y->currentText(), "600");

    // A height typed over the paired one gives way to the next pick, even
    // of the same width from the list.
    Pick(x, 1);
    y->lineEdit()->selectAll();
    QTest::keyClicks(y->lineEdit(), "1050");
    EXPECT_EQ(y->currentIndex(), 1);
    emit x->activated(1);
    EXPECT_EQ(y->currentText(), "600");
    QTest::keyClicks(x->lineEdit(), "x.-");
    EXPECT_EQ(x->currentText(), "800"); // digits only
    EXPECT_EQ(x->count(), 5);           // nothing typed is added to the list
}

TEST_F(SettingsPages, ResolutionFieldsTakeUpToFiveDigitsFromTheKeyboardOnly)
{
    PutSystem("FullscreenViewportX=1234567\r\nFullscreenViewportY=768\r\n");
    Window();
    auto* x = Find<QComboBox>("cbResX");
    auto* y = Find<QComboBox>("cbResY");
    EXPECT_EQ(x->currentText(), "1234567"); // what the file holds is shown as it is

    y->lineEdit()->selectAll();
    QTest::keyClicks(y->lineEdit(), "1234567");
    EXPECT_EQ(y->currentText(), "12345");
    y->lineEdit()->selectAll();
    QTest::keyClick(y->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(y->currentText(), "");
    QTest::keyClicks(y->lineEdit(), "7 ");
    // Other scripts' digits are no digits.
    for (const char16_t c : {u'\u0663', u'\uFF18'})
        QTest::sendKeyEvent(QTest::Click, y->lineEdit(), Qt::Key_unknown, QString(QChar(c)), Qt::NoModifier);
    QTest::keyClicks(y->lineEdit(), "8");
    EXPECT_EQ(y->currentText(), "78");
}

TEST_F(SettingsPages, LinksToggleTheGroupAndTakeTheScreenSize)
{
    Window();
    auto* link = Find<QLabel>("Label7");
    auto* group = Find<QGroupBox>("GroupBox1");
    QTest::mousePress(link, Qt::LeftButton);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    QTest::mouseRelease(link, Qt::LeftButton);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));
    EXPECT_FALSE(group->isHidden());
    EXPECT_EQ(link->text(), "advanced options (hide)");
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_TRUE(group->isHidden());
    EXPECT_EQ(link->text(), "advanced options (show)");
    QTest::mouseClick(link, Qt::RightButton);
    EXPECT_TRUE(group->isHidden());

    QTest::mouseClick(Find<QLabel>("Label8"), Qt::LeftButton);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(Find<QComboBox>("cbResX")->currentText(), QString::number(screen.width()));
    EXPECT_EQ(Find<QComboBox>("cbResY")->currentText(), QString::number(screen.height()));
    EXPECT_EQ(Find<GraphicsPage>("Graphics")->ScreenSize(), screen);
}

TEST_F(SettingsPages, PickingAPresetSetsOnlyTheDetailLists)
{
    PutSystem("SkinDetail=Low\r\nTextureDetail=Low\r\nDecals=1\r\nBrightness=0.700000\r\n", "DetailTextures=0\r\n");
    Window();
    auto* quality = Find<QComboBox>("QGraphicsQuality");
    auto* group = Find<QGroupBox>("GroupBox1");
    ASSERT_EQ(quality->currentIndex(), 3);

    Pick(quality, 1);
    EXPECT_EQ(Find<QComboBox>("cbDecals")->currentText(), "Use");
    EXPECT_EQ(Find<QComboBox>("cbSkinDetail")->currentText(), "High");
    EXPECT_EQ(Find<QComboBox>("cbWorldTexture")->currentText(), "Medium");
    EXPECT_FALSE(Find<QCheckBox>("cDetailTextures")->isChecked());
    EXPECT_EQ(Find<QSlider>("tGamma")->value(), 14);
    EXPECT_TRUE(group->isHidden());

    Pick(quality, 0);
    EXPECT_EQ(Find<QComboBox>("cbDecals")->currentText(), "Don't use");
    EXPECT_EQ(Find<QComboBox>("cbSkinDetail")->currentText(), "Low");
    EXPECT_EQ(Find<QComboBox>("cbWorldTexture")->currentText(), "Low");

    QTest::keyClick(quality, Qt::Key_End); // straight to "Custom settings "
    ASSERT_EQ(quality->currentIndex(), 3);
    EXPECT_FALSE(group->isHidden());
    EXPECT_EQ(Find<QLabel>("Label7")->text(), "advanced options (hide)");
    EXPECT_EQ(Find<QComboBox>("cbWorldTexture")->currentText(), "Low");
}

TEST_F(SettingsPages, StartUpGreetsARecognisedPreset)
{
    struct Case {
        std::string client;
        std::string openGl;
        int choice;
        QString message;
    };
    const Case cases[] = {
        {"SkinDetail=High\r\nTextureDetail=High\r\nDecals=1\r\n", "DetailTextures=0\r\n", 2, "High"},
        {"SkinDetail=High\r\nTextureDetail=Medium\r\nDecals=0\r\n", "DetailTextures=1\r\n", 1, "Med"},
        {"SkinDetail=Low\r\nTextureDetail=Low\r\nDecals=0\r\n", "", 0, "low"},
        // What picking Medium produces is not recognised as Medium.
        {"SkinDetail=High\r\nTextureDetail=Medium\r\nDecals=1\r\n", "DetailTextures=1\r\n", 3, ""},
        {"SkinDetail=High\r\nTextureDetail=High\r\nDecals=False\r\n", "DetailTextures=False\r\n", 3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.client);
        window_.reset();
        PutSystem(c.client, c.openGl);
        BoxAnswerer boxes;
        if (!c.message.isEmpty()) boxes.Expect({kTitle, c.message, QMessageBox::NoIcon, QMessageBox::Ok});
        Window();
        boxes.Verify();
        EXPECT_EQ(Find<QComboBox>("QGraphicsQuality")->currentIndex(), c.choice);
        EXPECT_TRUE(Find<QGroupBox>("GroupBox1")->isHidden());
        EXPECT_EQ(Window().StartupSteps().size(), 19);
    }
}

TEST_F(SettingsPages, FirstRunPutsTheScreenSizeIntoTheResolution)
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    PutSystem("FullscreenViewportX=1366\r\nFullscreenViewportY=768\r\n", "", "");
    EXPECT_EQ(Find<QComboBox>("cbResX")->currentText(), QString::number(screen.width()));
    EXPECT_EQ(Find<QComboBox>("cbResY")->currentText(), QString::number(screen.height()));
    EXPECT_EQ(Find<GraphicsPage>("Graphics")->ScreenSize(), screen);

    window_.reset();
    PutSystem("FullscreenViewportX=1366\r\nFullscreenViewportY=768\r\n", "", "[CVFirstFun]\r\nbWasFirstRun=True\r\n");
    EXPECT_EQ(Find<QComboBox>("cbResX")->currentText(), QString::number(screen.width()));

    window_.reset();
    PutSystem("FullscreenViewportX=1366\r\nFullscreenViewportY=768\r\n");
    EXPECT_EQ(Find<QComboBox>("cbResX")->currentText(), "1366");
    EXPECT_EQ(Find<QComboBox>("cbResY")->currentText(), "768");
}

TEST_F(SettingsPages, ResetReloadsThePagesButNotTheQuickChoice)
{
    PutSystem("SkinDetail=High\r\nTextureDetail=High\r\nDecals=1\r\nFullscreenViewportX=1366\r\n", "", "");
    Window();
    const std::string userBefore = Get("User.ini");
    const std::string systemBefore = Get("DeusEx.ini");
    Pick(Find<QComboBox>("QGraphicsQuality"), 0);
    Find<QLineEdit>("PlayerName")->setText("typed");
    Pick(Find<QComboBox>("ConnSpeed"), 0);

    BoxAnswerer boxes;
    boxes.Expect({"Question", "Are you sure you want to do this?", QMessageBox::Question,
                  QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Ok});
    Find<QPushButton>("ResetKeyBindings")->click();
    boxes.Verify();
    EXPECT_EQ(Find<QComboBox>("QGraphicsQuality")->currentText(), "Low");
    EXPECT_EQ(Find<QComboBox>("cbSkinDetail")->currentText(), "High");
    EXPECT_EQ(Find<QComboBox>("cbDecals")->currentText(), "Use");
    EXPECT_EQ(Find<QComboBox>("cbResX")->currentText(), "1366"); // no first-run step on reset
    EXPECT_EQ(Find<QLineEdit>("PlayerName")->text(), "SamplePlayer");
    EXPECT_EQ(Find<QComboBox>("ConnSpeed")->currentText(), "DSL (10000)");
    // The pages only load.
    EXPECT_EQ(Get("User.ini"), userBefore);
    EXPECT_EQ(Get("DeusEx.ini"), systemBefore);
}

} // namespace
} // namespace fenwake::test
