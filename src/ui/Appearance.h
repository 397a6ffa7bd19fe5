#pragma once

#include "ui/Themes.h"

#include <QObject>

#include <optional>

class QComboBox;
class QWidget;

namespace fenwake {

class TXPMenu;

// The main window's looks: the colour themes of the theme list, the item
// painters of its lists, the flat menu painter XPMenu1 (owned by the window)
// and the tool's cursors. Finds the controls it works on by name, so it is
// built once the pages have built theirs.
class TAppearance : public QObject {
    Q_OBJECT
public:
    explicit TAppearance(QWidget& window);

    // Start-up step 1: selects the stored theme and applies it.
    void InitializeCurrentColorTheme();
    // The theme list's change: stores the selection, then applies it.
    void ComboBox2Change();
    // Start-up step 7: the tool's arrow and hand for every control that asks for them.
    void LoadCursors();

    TXPMenu* XPMenu1() const { return xpMenu_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillThemeList();
    void BuildMenuPainter();
    void AttachItemPainters();
    void ApplyTheme(const ui::ThemeRecord& theme);
    void ApplyColours(const ui::ThemeRecord& theme);
    void ApplyCursorRule(QWidget* widget);
    void ReplaceNamedCursor(QWidget* widget);

    QWidget& window_;
    QComboBox* themes_ = nullptr;
    TXPMenu* xpMenu_ = nullptr;
    std::optional<ui::ThemeRecord> applied_;
    bool settingCursors_ = false;
};

} // namespace fenwake
