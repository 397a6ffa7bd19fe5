#include "GuiTest.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace fenwake::test {
namespace {

class ShortcutMenu : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        CopySamples();
    }
};

TEST_F(ShortcutMenu, OpensAtTheWindowCornerWithItsItems)
{
    MainWindow& w = Window();
    w.show();
    QMenu* menu = Find<QMenu>("PopupMenu1");
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* a : menu->actions()) captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(captions, QStringList({"On Desktop", "In START menu >> Programs", "-", "cancel"}));

    QTest::mouseClick(Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), w.frameGeometry().topLeft() + QPoint(220, 355));
    menu->hide();
}

} // namespace
} // namespace fenwake::test
