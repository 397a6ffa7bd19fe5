#pragma once

#include "config/ConfigFile.h"
#include "ui/Themes.h"

#include <QObject>

#include <optional>
#include <vector>

class QComboBox;
class QListWidget;
class QWidget;

namespace fenwake {

class FlatMenuPainter;

// The controls the looks are applied to, handed over by the window that
// built them.
struct AppearanceControls {
    QComboBox* themes = nullptr; // the theme list
    QWidget* coolBar = nullptr;  // the top strip
    QWidget* toolBar = nullptr;  // the page buttons on it
    QWidget* notebook = nullptr; // the page area
    QListWidget* keyList = nullptr;
    QListWidget* aliasList = nullptr;
    // The owner-drawn drop-down lists.
    std::vector<QComboBox*> dropDowns;
};

// The main window's looks: the colour themes of the theme list (the choice
// kept in DeusEx.ini), the item painters of its lists, the flat menu painter
// (owned by the window) and the tool's cursors. Built once the pages have
// built their controls.
class Appearance : public QObject {
    Q_OBJECT
public:
    Appearance(QWidget& window, AppearanceControls controls, ConfigFile system);

    // Selects the stored theme and applies it.
    void ApplyStoredTheme();
    // The tool's arrow and hand for every control that asks for them.
    void InstallCursors();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The theme list's change: stores the selection, then applies it.
    void StoreAndApplyChosenTheme();
    void FillThemeList();
    void BuildMenuPainter();
    void AttachItemPainters();
    void ApplyTheme(const ui::ThemeRecord& theme);
    void ApplyColours(const ui::ThemeRecord& theme);
    void ApplyCursorRule(QWidget* widget);
    void ReplaceNamedCursor(QWidget* widget);

    QWidget& window_;
    const AppearanceControls controls_;
    const ConfigFile system_;
    FlatMenuPainter* menuPainter_ = nullptr;
    std::optional<ui::ThemeRecord> applied_;
    bool settingCursors_ = false;
};

} // namespace fenwake
