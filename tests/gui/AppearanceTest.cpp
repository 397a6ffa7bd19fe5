#include "GuiTest.h"
#include "TempDir.h"

#include "app/Appearance.h"
#include "config/ConfigFile.h"
#include "config/GameFiles.h"
#include "ui/BorderedLineEdit.h"
#include "ui/Colours.h"
#include "ui/Cursors.h"
#include "ui/FlatMenuPainter.h"
#include "ui/Fonts.h"
#include "ui/ItemPainters.h"
#include "ui/SystemColours.h"
#include "ui/widgets/PitchedLabel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace fenwake::test {
namespace {
namespace fs = std::filesystem;

const ConfigFile kSystem(".\\DeusEx.ini");
const char* const kNoThemeSystem =
    "[URL]\r\nProtocol=deusex\r\n\r\n[Engine.Engine]\r\nGameRenderDevice=OpenGLDrv.OpenGLRenderDevice\r\n";

int StoredTheme() { return kSystem.ReadNumber("Fenwake", "ColorThemeIndex", -99); }

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// Whether some pixel of the area has exactly this colour.
bool Shows(const QImage& image, const QRect& area, const QColor& colour)
{
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb()) return true;
    return false;
}

int Count(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += test(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

QImage Grab(QWidget* widget) { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }

class Appearance : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
    }

    // Starts with this value stored (nothing: no "Fenwake" section).
    MainWindow& StartWith(const char* stored)
    {
        Put("DeusEx.ini", kNoThemeSystem);
        if (stored) kSystem.WriteText("Fenwake", "ColorThemeIndex", stored);
        return Window();
    }

    MainWindow& Shown()
    {
        MainWindow& w = Window();
        w.show();
        QApplication::setActiveWindow(&w);
        QApplication::processEvents();
        return w;
    }

    void Pick(int index)
    {
        auto* themes = Find<QComboBox>("ComboBox2");
        themes->setCurrentIndex(index);
        emit themes->activated(index);
    }

    FlatMenuPainter* Painter() { return Find<FlatMenuPainter>("XPMenu1"); }
    QListWidget* Keys() { return Find<QListWidget>("ListBox1"); }
    QColor PageArea() { return Find<QWidget>("Notebook1")->palette().color(QPalette::Window); }
};

TEST_F(Appearance, TheThemeListHoldsTheSixEntriesAsWritten)
{
    auto* themes = Find<QComboBox>("ComboBox2");
    ASSERT_EQ(themes->count(), 6);
    EXPECT_FALSE(themes->isEditable());
    EXPECT_EQ(themes->itemText(0), "System-defined (designed for Windows 2000)");
    EXPECT_EQ(themes->itemText(1), "Blue && Yellow (default)");
    EXPECT_EQ(themes->itemText(5), "Dark 1");
    EXPECT_EQ(Find<QLabel>("Label18")->text(), "Color theme:");
}

TEST_F(Appearance, AFirstStartAppliesTheSystemThemeAndStoresZero)
{
    StartWith(nullptr);
    EXPECT_EQ(Find<QComboBox>("ComboBox2")->currentIndex(), 0);
    EXPECT_EQ(StoredTheme(), 0);
    EXPECT_NE(Get("DeusEx.ini").find("[Fenwake]\r\nColorThemeIndex=0\r\n"), std::string::npos);
    EXPECT_FALSE(Painter()->Active());
    EXPECT_FALSE(Painter()->AutoDetect());
    EXPECT_EQ(ui::DrawingOf(Keys()), ui::ListDrawing::Plain);
    EXPECT_EQ(ui::DrawingOf(Find<QListWidget>("AList")), ui::ListDrawing::Plain);
    const QPalette system = QApplication::palette();
    EXPECT_EQ(PageArea(), system.color(QPalette::Button));
    EXPECT_EQ(Window().palette().color(QPalette::Window), system.color(QPalette::Button));
    EXPECT_EQ(Find<QWidget>("CoolBar1")->palette().color(QPalette::Window), system.color(QPalette::Button));
    EXPECT_EQ(ui::BaseColour(Keys()), system.color(QPalette::Base));
}

TEST_F(Appearance, AMissingSystemFileIsCreatedHoldingOnlyTheTheme)
{
    fs::remove("DeusEx.ini");
    BoxAnswerer boxes; // none expected
    Window();
    boxes.Verify();
    EXPECT_EQ(Get("DeusEx.ini"), "[Fenwake]\r\nColorThemeIndex=0\r\n");
}

TEST_F(Appearance, AValueOutsideTheListKeepsTheDesignStateAndStoresMinusOne)
{
    StartWith("7");
    EXPECT_EQ(Find<QComboBox>("ComboBox2")->currentIndex(), -1);
    EXPECT_EQ(StoredTheme(), -1);
    EXPECT_TRUE(Painter()->Active());
    EXPECT_EQ(ui::DrawingOf(Keys()), ui::ListDrawing::Custom);
    EXPECT_EQ(PageArea(), QColor(0xF9, 0xE8, 0xE8));
    EXPECT_EQ(ui::BaseColour(Keys()), QColor(0xFD, 0xE8, 0xFD));
    EXPECT_EQ(Window().palette().color(QPalette::Window), QColor(0xEC, 0xE9, 0xD8));
}

TEST_F(Appearance, TheLaterEntriesAreShownAndKept)
{
    StartWith("3");
    EXPECT_EQ(Find<QComboBox>("ComboBox2")->currentIndex(), 3);
    EXPECT_EQ(StoredTheme(), 3);
    EXPECT_TRUE(Painter()->Active());
    EXPECT_EQ(ui::DrawingOf(Keys()), ui::ListDrawing::Custom);
    EXPECT_EQ(PageArea(), ui::ToQColor(ui::ThemeFor(3)->pageArea));
}

TEST_F(Appearance, SystemColoursFollowTheDesktop)
{
    StartWith("0");
    const QPalette before = QApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(changed);
    QApplication::processEvents();
    const QColor shown = PageArea();
    QApplication::setPalette(before);
    EXPECT_EQ(shown, QColor(0x12, 0x34, 0x56));
}

TEST_F(Appearance, PickingAThemeStoresItAndSwitchesTheLists)
{
    StartWith("2");
    Pick(0);
    EXPECT_EQ(StoredTheme(), 0);
    EXPECT_EQ(ui::DrawingOf(Keys()), ui::ListDrawing::Plain);
    EXPECT_FALSE(Painter()->Active());
    EXPECT_NE(Find<QMenu>("EditPopupMenu")->style(), Painter()->Style());
    EXPECT_NE(Find<QToolButton>("ToolButton1")->style(), Painter()->Style());

    Pick(1);
    EXPECT_EQ(StoredTheme(), 1);
    EXPECT_EQ(ui::DrawingOf(Keys()), ui::ListDrawing::Custom);
    EXPECT_EQ(ui::DrawingOf(Find<QListWidget>("AList")), ui::ListDrawing::Custom);
    EXPECT_TRUE(Painter()->Active());
    EXPECT_TRUE(Painter()->AutoDetect());
    for (const char* menu : {"EditPopupMenu", "PopupMenu1"}) EXPECT_EQ(Find<QMenu>(menu)->style(), Painter()->Style());
    EXPECT_EQ(Find<QToolButton>("ToolButton1")->style(), Painter()->Style());
    EXPECT_EQ(ui::BaseColour(Keys()), QColor(0xFE, 0xED, 0xE2));
    EXPECT_EQ(PageArea(), QColor(0xEA, 0xEE, 0xFF));
    EXPECT_EQ(Window().palette().color(QPalette::Window), QColor(0xF1, 0xF1, 0xC5));
    EXPECT_EQ(Find<QWidget>("CoolBar1")->palette().color(QPalette::Window), QColor(0xF3, 0xCA, 0x7C));
    // The alias list keeps its own background in every theme.
    EXPECT_EQ(ui::BaseColour(Find<QListWidget>("AList")), QColor(0xFE, 0xF9, 0xE2));

    Pick(5);
    EXPECT_EQ(StoredTheme(), 5);
    EXPECT_EQ(PageArea(), ui::ToQColor(ui::ThemeFor(5)->pageArea));
}

TEST_F(Appearance, AWriteProtectedFileStopsThePickWithTheWriteError)
{
    StartWith("2");
    SetReadOnlyMark("DeusEx.ini");
    const std::string before = Get("DeusEx.ini");
    BoxAnswerer boxes;
    boxes.Expect({Window().windowTitle(), QString::fromStdString(WriteErrorFor("DeusEx.ini") + "."),
                  QMessageBox::Critical, QMessageBox::Ok});
    auto* themes = Find<QComboBox>("ComboBox2");
    themes->setCurrentIndex(0);
    emit themes->activated(0);
    boxes.Verify();
    EXPECT_EQ(themes->currentIndex(), 0);
    EXPECT_EQ(Get("DeusEx.ini"), before);
    EXPECT_EQ(PageArea(), QColor(0xF9, 0xE8, 0xE8));
    EXPECT_TRUE(Painter()->Active());
}

TEST_F(Appearance, AWriteProtectedFileEndsTheStartAtItsFirstStep)
{
    Put("DeusEx.ini", kNoThemeSystem);
    SetReadOnlyMark("DeusEx.ini");
    BoxAnswerer boxes;
    boxes.Expect(
        {"Fenwake", QString::fromStdString(WriteErrorFor("DeusEx.ini") + "."), QMessageBox::Critical, QMessageBox::Ok});
    Window();
    boxes.Verify();
    EXPECT_EQ(Window().StartupSteps(), QStringList{"InitializeCurrentColorTheme"});
    EXPECT_EQ(Get("DeusEx.ini"), kNoThemeSystem);
    EXPECT_TRUE(Painter()->Active()); // the design state stays
}

TEST_F(Appearance, KeyRowsPaintBoldGreenOnBlueWhenSelected)
{
    StartWith("2");
    QListWidget* keys = Keys();
    keys->resize(241, 121);
    keys->setCurrentRow(1);
    const QImage image = Grab(keys->viewport());
    const QRect selected = keys->visualItemRect(keys->item(1));
    const QRect other = keys->visualItemRect(keys->item(2));
    EXPECT_EQ(selected.height(), 16);
    EXPECT_EQ(At(image, selected.right() - 2, selected.center().y()), QColor(0x35, 0x6C, 0xFF));
    EXPECT_TRUE(Shows(image, selected, QColor(0xD2, 0xFF, 0xD2)));
    EXPECT_EQ(At(image, other.right() - 2, other.center().y()), QColor(0xFD, 0xE8, 0xFD));
    EXPECT_TRUE(Shows(image, other, QColor(0x00, 0x00, 0x80)));
    EXPECT_TRUE(ui::ListLook(keys->palette(), true, 0).bold);
    EXPECT_FALSE(ui::ListLook(keys->palette(), false, 0).bold);
}

TEST_F(Appearance, UnderTheSystemThemeKeysUseThePlatformsSelection)
{
    StartWith("0");
    QListWidget* keys = Keys();
    keys->resize(241, 121);
    keys->setCurrentRow(1);
    const QImage image = Grab(keys->viewport());
    const QRect selected = keys->visualItemRect(keys->item(1));
    EXPECT_FALSE(Shows(image, selected, QColor(0x35, 0x6C, 0xFF)));
    EXPECT_FALSE(Shows(image, selected, QColor(0xD2, 0xFF, 0xD2)));
}

TEST_F(Appearance, AliasRowsPaintBlackOnGreyGreenWhenSelected)
{
    StartWith("1");
    Shown();
    ShowPage("AL");
    auto* aliases = Find<QListWidget>("AList");
    EXPECT_EQ(ui::Tag(aliases), 175);
    aliases->setCurrentRow(3);
    const QImage image = Grab(aliases->viewport());
    const QRect selected = aliases->visualItemRect(aliases->item(3));
    const QRect other = aliases->visualItemRect(aliases->item(4));
    EXPECT_EQ(At(image, selected.right() - 2, selected.center().y()), QColor(0xBD, 0xD9, 0xD7));
    EXPECT_TRUE(Shows(image, selected, Qt::black));
    EXPECT_EQ(At(image, other.right() - 2, other.center().y()), QColor(0xFE, 0xF9, 0xE2));
}

TEST_F(Appearance, OpenDropDownListsPaintTheirSchemeByTag)
{
    Shown();
    struct Case {
        const char* page;
        const char* name;
        int row;
        QColor text, fill, background;
    };
    const Case cases[] = {
        {"Default", "ConnSpeed", 3, QColor(0x00, 0xFF, 0x00), QColor(0x00, 0x45, 0x8A), QColor(0xFB, 0xE7, 0xE1)},
        {"Graphics", "QGraphicsQuality", 1, Qt::white, QColor(0x00, 0x46, 0x00), QColor(0xDA, 0xF3, 0xF0)},
    };
    for (const Case& c : cases) {
        ShowPage(c.page);
        auto* box = Find<QComboBox>(c.name);
        ASSERT_NE(box, nullptr);
        box->setCurrentIndex(c.row);
        box->showPopup();
        QApplication::processEvents();
        QAbstractItemView* view = box->view();
        view->setCurrentIndex(box->model()->index(c.row, 0));
        const QImage image = Grab(view->viewport());
        const QRect row = view->visualRect(box->model()->index(c.row, 0));
        const QRect next = view->visualRect(box->model()->index(c.row + 1, 0));
        EXPECT_EQ(At(image, row.right() - 3, row.center().y()), c.fill) << c.name;
        EXPECT_TRUE(Shows(image, row, c.text)) << c.name;
        EXPECT_EQ(At(image, next.right() - 3, next.center().y()), c.background) << c.name;
        EXPECT_EQ(row.height(), box->property("itemHeight").toInt()) << c.name;
        box->hidePopup();
    }
}

TEST_F(Appearance, TheClosedBoxShowsItsEntrySelectedOnlyWithTheFocus)
{
    Shown();
    ShowPage("Default");
    auto* box = Find<QComboBox>("ConnSpeed");
    box->setCurrentIndex(3);
    Find<QWidget>("PlayerName")->setFocus();
    QApplication::processEvents();
    const QPoint inField(box->width() - 40, box->height() / 2);
    EXPECT_EQ(At(Grab(box), inField.x(), inField.y()), QColor(0xFB, 0xE7, 0xE1));

    box->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(box->hasFocus());
    const QImage focused = Grab(box);
    EXPECT_EQ(At(focused, inField.x(), inField.y()), QColor(0x00, 0x45, 0x8A));
    EXPECT_TRUE(Shows(focused, box->rect(), QColor(0x00, 0xFF, 0x00)));
}

TEST_F(Appearance, TheSearchFieldHasAFlatTwoPixelRing)
{
    MainWindow& w = Shown();
    (void)w;
    auto* search = Find<QLineEdit>("QSearchKey");
    auto* bordered = qobject_cast<BorderedLineEdit*>(search);
    ASSERT_NE(bordered, nullptr);
    EXPECT_EQ(bordered->BorderColor(), QColor(0x02, 0x1A, 0x4A));
    const QImage image = Grab(search);
    const int w1 = search->width() - 1;
    const int h1 = search->height() - 1;
    for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(w1, h1), QPoint(w1 - 1, h1 - 1), QPoint(w1, 0),
                            QPoint(0, h1), QPoint(60, 0), QPoint(60, 1), QPoint(60, h1), QPoint(60, h1 - 1),
                            QPoint(0, 10), QPoint(1, 10), QPoint(w1, 10), QPoint(w1 - 1, 10)})
        EXPECT_EQ(At(image, p.x(), p.y()), QColor(0x02, 0x1A, 0x4A)) << p.x() << "," << p.y();
    EXPECT_EQ(At(image, w1 - 5, 10), QColor(0xE9, 0xEE, 0xF7));
    EXPECT_EQ(At(image, 60, 2), QColor(0xE9, 0xEE, 0xF7));
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(BorderColorEdit, IsBlackByDefaultAndRepaintsOnlyForANewColour)
{
    BorderedLineEdit edit;
    edit.resize(80, 21);
    EXPECT_EQ(edit.BorderColor(), QColor(Qt::black));
    EXPECT_EQ(edit.property("BorderColor").value<QColor>(), QColor(Qt::black));
    EXPECT_TRUE(edit.testAttribute(Qt::WA_OpaquePaintEvent));
    const QImage image = Grab(&edit);
    for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(79, 20), QPoint(78, 19), QPoint(40, 0), QPoint(0, 10)})
        EXPECT_EQ(At(image, p.x(), p.y()), QColor(Qt::black)) << p.x() << "," << p.y();
    EXPECT_EQ(At(image, 40, 2), edit.palette().color(QPalette::Base));

    edit.show();
    QApplication::processEvents();
    PaintCounter counter;
    edit.installEventFilter(&counter);
    edit.SetBorderColor(Qt::black);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    edit.SetBorderColor(QColor(0x02, 0x1A, 0x4A));
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(At(Grab(&edit), 0, 0), QColor(0x02, 0x1A, 0x4A));
}

// Lines one pitch apart; one lower than the pitch is centred in it, a taller
// one hangs from its top.
TEST(PitchedLabel, SetsLinesOnePitchApart)
{
    const QFont font = ui::PixelFont(QStringLiteral("Arial"), 12);
    const int height = QFontMetrics(font).height();
    // The first inked row of each of the two lines.
    auto lineTops = [&](int pitch) {
        ui::PitchedLabel label(QStringLiteral("I\nI"), nullptr, pitch);
        label.setFont(font);
        ui::SetTextColour(&label, Qt::black);
        label.adjustSize();
        const QImage image = Grab(&label);
        std::vector<int> tops;
        bool inked = false;
        for (int y = 0; y < image.height(); ++y) {
            bool row = false;
            for (int x = 0; x < image.width(); ++x) row = row || qGray(image.pixel(x, y)) < 128;
            if (row && !inked) tops.push_back(y);
            inked = row;
        }
        return tops;
    };
    const int tight = height - 2;
    const int loose = height + 6;
    const std::vector<int> hanging = lineTops(tight);
    const std::vector<int> centred = lineTops(loose);
    ASSERT_EQ(hanging.size(), 2u);
    ASSERT_EQ(centred.size(), 2u);
    EXPECT_EQ(hanging[1] - hanging[0], tight);
    EXPECT_EQ(centred[1] - centred[0], loose);
    EXPECT_EQ(centred[0] - hanging[0], (loose - height) / 2);
}

TEST_F(Appearance, TheEditMenuIsPaintedFlat)
{
    StartWith("2");
    MainWindow& w = Shown();
    QApplication::clipboard()->clear();
    auto* search = Find<QLineEdit>("QSearchKey");
    search->setFocus();
    QTest::keyClicks(search, "abc");
    search->selectAll();
    QMenu* menu = Find<QMenu>("EditPopupMenu");
    menu->popup(w.mapToGlobal(QPoint(100, 100)));
    QApplication::processEvents();
    QAction* copy = Find<QAction>("EditCopy1");
    QAction* paste = Find<QAction>("EditPaste1");
    ASSERT_TRUE(copy->isEnabled());
    ASSERT_FALSE(paste->isEnabled());
    menu->setActiveAction(copy);
    QApplication::processEvents();
    const QImage image = Grab(menu);

    const QRect item = menu->actionGeometry(copy);
    EXPECT_EQ(At(image, item.right() - 5, item.center().y()), QColor(0xBD, 0xD9, 0xD7));
    EXPECT_EQ(At(image, item.right() - 5, item.top() + 1), QColor(0x30, 0x68, 0xFF));
    EXPECT_EQ(At(image, item.left(), item.center().y()), QColor(0x30, 0x68, 0xFF));
    EXPECT_TRUE(Shows(image, item.adjusted(24, 0, 0, 0), QColor(0x40, 0x00, 0x40)));
    EXPECT_TRUE(Shows(image, QRect(item.left(), item.top(), 24, item.height()), QColor(0x8B, 0xA9, 0xA5)));

    // Not highlighted: the menu background, the icon column and a faded icon.
    const QRect cut = menu->actionGeometry(Find<QAction>("EditCut1"));
    EXPECT_EQ(At(image, cut.right() - 5, cut.center().y()), QColor(0xFD, 0xF0, 0xC8));
    EXPECT_EQ(At(image, cut.left() + 1, cut.top() + 1), QColor(0xFD, 0xF0, 0xC8));

    const QRect disabled = menu->actionGeometry(paste);
    EXPECT_TRUE(Shows(image, disabled.adjusted(24, 0, 0, 0), ui::ToQColor(ui::SystemColour(ui::kInactiveCaption))));
    const QRect pasteIcon(disabled.left(), disabled.top(), 24, disabled.height());
    EXPECT_GT(Count(image, pasteIcon, [](QColor c) { return c.red() == c.green() && c.green() == c.blue(); }), 10);
    EXPECT_FALSE(Shows(image, pasteIcon, QColor(0xC8, 0x96, 0x4B)));

    QAction* separator = nullptr;
    for (QAction* a : menu->actions())
        if (a->isSeparator()) separator = a;
    ASSERT_NE(separator, nullptr);
    const QRect line = menu->actionGeometry(separator);
    EXPECT_EQ(line.height(), 4);
    EXPECT_EQ(At(image, line.left() + 24 + 10, line.top() + 3), QColor(0xFF, 0x80, 0x00));

    // The frame: outline, drop shadow, and the corners in the icon column's colour.
    const ui::Rgb face = ui::SystemColour(ui::kBtnFace);
    EXPECT_EQ(At(image, 0, 0), ui::ToQColor(ui::Darken(face, 90)));
    EXPECT_EQ(At(image, image.width() - 3, image.height() / 2), ui::ToQColor(ui::Darken(face, 90)));
    EXPECT_EQ(At(image, image.width() - 1, image.height() / 2), ui::ToQColor(ui::Darken(face, 76)));
    EXPECT_EQ(At(image, image.width() / 2, image.height() - 1), ui::ToQColor(ui::Darken(face, 76)));
    EXPECT_EQ(At(image, image.width() - 1, 0), QColor(0xFD, 0xF0, 0xC8));
    EXPECT_EQ(At(image, 0, image.height() - 1), QColor(0xFD, 0xF0, 0xC8));
    menu->hide();
}

TEST_F(Appearance, AShortcutWidensAnItemByItsTextAndWWW)
{
    FlatMenuPainter* xp = Painter();
    QStyleOptionMenuItem item;
    item.menuItemType = QStyleOptionMenuItem::Normal;
    item.text = "&Copy";
    const QSize plain = xp->MeasureItem(item, QSize(10, 10));
    item.text = "&Copy\tCtrl+C";
    const QSize keyed = xp->MeasureItem(item, QSize(10, 10));
    const QFontMetrics fm(xp->PaintFont());
    EXPECT_EQ(keyed.width() - plain.width(), fm.horizontalAdvance("&CopyCtrl+CWWW") - fm.horizontalAdvance("&Copy"));
    EXPECT_EQ(plain.width(), fm.horizontalAdvance("&Copy") - fm.horizontalAdvance('&') + 24 + 10);
    const int th = fm.height();
    EXPECT_EQ(plain.height(), th + ui::DivideRoundHalfEven(3 * th, 4));
    EXPECT_EQ(xp->MeasureItem(item, QSize(1000, 60)), QSize(1000, 60));

    item.menuItemType = QStyleOptionMenuItem::Separator;
    item.text.clear();
    EXPECT_EQ(xp->MeasureItem(item, QSize(10, 10)).height(), 4);
    EXPECT_EQ(xp->MeasureItem(item, QSize(10, 10)).width(), 34);
}

TEST_F(Appearance, AMenuWithAStyleOfItsOwnIsTakenOnlyWhenOverriding)
{
    MainWindow& w = Window();
    FlatMenuPainter* xp = Painter();
    std::unique_ptr<QStyle> own(QStyleFactory::create("Fusion"));
    auto* menu = new QMenu(&w);
    menu->addAction("Own");
    menu->setStyle(own.get());
    xp->SetOverrideOwnerDraw(false);
    EXPECT_EQ(menu->style(), own.get());
    EXPECT_EQ(Find<QMenu>("EditPopupMenu")->style(), xp->Style());
    xp->SetOverrideOwnerDraw(true);
    EXPECT_EQ(menu->style(), xp->Style());
    delete menu;
}

TEST_F(Appearance, MenusFilledLaterAreTakenOverWhileDetecting)
{
    StartWith("2");
    MainWindow& w = Window();
    auto* late = new QMenu(&w);
    late->addAction("Late");
    auto* sub = late->addMenu("More");
    sub->addAction("Deeper");
    QApplication::processEvents();
    EXPECT_EQ(late->style(), Painter()->Style());
    EXPECT_EQ(sub->style(), Painter()->Style());

    Pick(0);
    EXPECT_NE(late->style(), Painter()->Style());
    EXPECT_NE(sub->style(), Painter()->Style());
    auto* unseen = new QMenu(&w);
    unseen->addAction("Unseen");
    QApplication::processEvents();
    EXPECT_NE(unseen->style(), Painter()->Style());
}

TEST_F(Appearance, PageButtonsShowLightWhenCheckedAndMediumUnderThePointer)
{
    StartWith("2");
    Shown();
    auto* keysButton = Find<QToolButton>("ToolButton1");
    auto* aliasesButton = Find<QToolButton>("ToolButton2");
    ASSERT_TRUE(keysButton->isChecked());
    const QImage checked = Grab(keysButton);
    EXPECT_EQ(At(checked, 3, 10), QColor(0xEF, 0xF5, 0xF5));
    EXPECT_EQ(At(checked, 0, 10), QColor(0x30, 0x68, 0xFF));
    EXPECT_EQ(At(checked, 3, 1), QColor(0x30, 0x68, 0xFF));
    EXPECT_EQ(At(checked, 3, 0), QColor(0xFE, 0xFF, 0xEC)); // the strip shows above the fill

    auto underPointer = [this](QToolButton* button) {
        QStyleOptionToolButton opt;
        opt.initFrom(button);
        opt.rect = button->rect();
        opt.state |= QStyle::State_MouseOver | QStyle::State_Enabled;
        if (button->isChecked()) opt.state |= QStyle::State_On;
        opt.text = button->text();
        opt.toolButtonStyle = Qt::ToolButtonTextOnly;
        opt.subControls = QStyle::SC_ToolButton;
        QImage image(button->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        Painter()->Style()->drawComplexControl(QStyle::CC_ToolButton, &opt, &p, button);
        return image;
    };
    EXPECT_EQ(At(underPointer(keysButton), 3, 10), QColor(0xDE, 0xEC, 0xEB));
    EXPECT_EQ(At(underPointer(aliasesButton), 3, 10), QColor(0xEA, 0xF3, 0xF2));
    EXPECT_EQ(At(Grab(aliasesButton), 3, 10), QColor(0xFE, 0xFF, 0xEC)); // neither checked nor hot
}

TEST_F(Appearance, TheToolsCursorsReplaceTheArrowAndTheHand)
{
    MainWindow& w = Window();
    const QImage arrow = ui::ArrowCursorImage();
    const QImage hand = ui::HandCursorImage();
    EXPECT_EQ(arrow.size(), QSize(32, 32));
    EXPECT_EQ(hand.size(), QSize(32, 32));
    EXPECT_EQ(ui::ArrowCursor().hotSpot(), QPoint(1, 0));
    EXPECT_EQ(ui::HandCursor().hotSpot(), QPoint(6, 0));
    EXPECT_GT(qAlpha(arrow.pixel(1, 0)), 0);
    EXPECT_EQ(hand.pixelColor(6, 0), QColor(Qt::black));
    EXPECT_EQ(Count(hand, hand.rect(),
                    [](QColor c) { return c.alpha() != 0 && c != QColor(Qt::black) && c != QColor(Qt::white); }),
              0);

    EXPECT_TRUE(ui::IsToolArrow(w.cursor()));
    for (const char* name : {"ToolButton1", "ToolButton2", "BitBtn1", "BitBtn2", "LInsertSample", "sAddCommand",
                             "ResetKeyBindings", "BitBtn3", "Lock17"})
        EXPECT_TRUE(ui::IsToolHand(Find<QWidget>(name)->cursor())) << name;
    for (const char* name : {"PlayerName", "ListBox1", "AList", "ConnSpeed"})
        EXPECT_TRUE(ui::IsToolArrow(Find<QWidget>(name)->cursor())) << name;
    // The text cursor over text; a locked alias field shows the platform's arrow.
    Find<QListWidget>("AList")->setCurrentRow(20);
    for (const char* name : {"QSearchKey", "ECommand", "EAName"})
        EXPECT_EQ(Find<QWidget>(name)->cursor().shape(), Qt::IBeamCursor) << name;
    Find<QListWidget>("AList")->setCurrentRow(0);
    EXPECT_EQ(Find<QWidget>("ECommand")->cursor().shape(), Qt::ArrowCursor);
    for (const char* name : {"ComboBox2", "CoolBar1", "Misc", "GroupBox6"})
        EXPECT_EQ(Find<QWidget>(name)->cursor().shape(), Qt::ArrowCursor) << name;
    EXPECT_FALSE(Find<QWidget>("Label18")->testAttribute(Qt::WA_SetCursor));

    // A control that asks for the hand later gets the tool's too.
    auto* late = new QLabel("late", Page("Misc"));
    late->setCursor(Qt::PointingHandCursor);
    EXPECT_TRUE(ui::IsToolHand(late->cursor()));
}

TEST_F(Appearance, ControlsShareOneDrawingOfEachCursor)
{
    // Drawn once, not per control: one picture, one cursor of the window system.
    MainWindow& w = Window();
    const qint64 arrow = w.cursor().pixmap().cacheKey();
    for (const char* name : {"PlayerName", "ListBox1", "AList", "ConnSpeed"})
        EXPECT_EQ(Find<QWidget>(name)->cursor().pixmap().cacheKey(), arrow) << name;
    const qint64 hand = Find<QWidget>("BitBtn1")->cursor().pixmap().cacheKey();
    EXPECT_NE(hand, arrow);
    for (const char* name : {"BitBtn2", "ToolButton1", "sAddCommand", "Lock17"})
        EXPECT_EQ(Find<QWidget>(name)->cursor().pixmap().cacheKey(), hand) << name;
}

TEST_F(Appearance, PressedLinksTurnRedThenBlueOrLighterBlue)
{
    Shown();
    ShowPage("Graphics");
    auto* advanced = Find<QLabel>("Label7");
    QTest::mousePress(advanced, Qt::LeftButton);
    EXPECT_EQ(advanced->palette().color(QPalette::WindowText), QColor(0xFF, 0x00, 0x00));
    QTest::mouseRelease(advanced, Qt::LeftButton);
    EXPECT_EQ(advanced->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xFF));

    ShowPage("Misc");
    auto* example = Find<QLabel>("LInsertSample");
    EXPECT_EQ(example->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xFF));
    QTest::mousePress(example, Qt::LeftButton);
    EXPECT_EQ(example->palette().color(QPalette::WindowText), QColor(0xFF, 0x00, 0x00));
    BoxAnswerer boxes;
    boxes.Expect({"Use keybind example ?", "Do you want to use && save this example of keybind?", QMessageBox::Question,
                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::No});
    QTest::mouseRelease(example, Qt::LeftButton);
    boxes.Verify();
    EXPECT_EQ(example->palette().color(QPalette::WindowText), QColor(0x35, 0x6C, 0xFF));
}

// Players' own files get the theme's section and keep every other byte.
TEST_F(Appearance, RealSystemFilesKeepEveryOtherByte)
{
    const fs::path real =
        fs::path(FENWAKE_SAMPLES_DIR).parent_path().parent_path() / "shared" / "fixtures" / "real-world";
    if (!fs::is_directory(real)) GTEST_SKIP() << "no real-world files at " << real;
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(real)) {
        std::string name = entry.path().filename().string();
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name.size() < 10 || name.substr(name.size() - 10) != "deusex.ini") continue;
        const std::string original = Get(entry.path());
        Put("DeusEx.ini", original);
        QWidget host;
        fenwake::Appearance look(host,
                                 {new QComboBox(&host),
                                  new QWidget(&host),
                                  new QWidget(&host),
                                  new QWidget(&host),
                                  new QListWidget(&host),
                                  new QListWidget(&host),
                                  {}},
                                 game::SystemIni());
        look.ApplyStoredTheme();
        const std::string after = Get("DeusEx.ini");
        EXPECT_EQ(after.substr(0, original.size()), original) << name;
        EXPECT_NE(after.find("[Fenwake]"), std::string::npos) << name;
        EXPECT_EQ(StoredTheme(), 0) << name;
        ++seen;
    }
    EXPECT_GT(seen, 0);
}

} // namespace
} // namespace fenwake::test
