#pragma once

#include "ui/Themes.h"

#include <QObject>

#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QListWidget;
class QWidget;

namespace fenwake {

class TXPMenu;

// The controls the looks are applied to, handed over by the window that
// built them.
struct TAppearanceControls {
    QComboBox* themes = nullptr; // the theme list
    QWidget* coolBar = nullptr;  // the top strip
    QWidget* toolBar = nullptr;  // the page buttons on it
    QWidget* notebook = nullptr; // the page area
    QListWidget* keyList = nullptr;
    QListWidget* aliasList = nullptr;
    // The owner-drawn drop-down lists, each with its painter's tag.
    std::vector<std::pair<QComboBox*, int>> dropDowns;
};

// The main window's looks: the colour themes of the theme list, the item
// painters of its lists, the flat menu painter XPMenu1 (owned by the window)
// and the tool's cursors. Built once the pages have built their controls.
class TAppearance : public QObject {
    Q_OBJECT
public:
    TAppearance(QWidget& window, TAppearanceControls controls);

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
    const TAppearanceControls controls_;
    TXPMenu* xpMenu_ = nullptr;
    std::optional<ui::ThemeRecord> applied_;
    bool settingCursors_ = false;
};

} // namespace fenwake
