#pragma once

#include "config/ConfigFile.h"
#include "rules/ChangeHistory.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fenwake {

namespace ui {
class EditMenu;
}

// The key aliases page ("AL"): the forty alias slots of User.ini, the
// selected slot's command and name, saving, clearing and the lock on the
// game's own first nineteen slots.
class KeyAliasesPage : public QWidget {
    Q_OBJECT
public:
    // Its saves go into the history through the recorder.
    KeyAliasesPage(QWidget* parent, ui::EditMenu& editMenu, ConfigFile user, history::Recorder recorder);
    ~KeyAliasesPage() override;

    // Rebuilds the list from User.ini; leaves no row selected and the
    // fields as they are.
    void ReloadAliases();
    // Selects a row as the program, then shows it.
    void SelectRow(int row);

    QListWidget* AliasList() const { return list_; }

signals:
    // "Cancel all changes" was clicked.
    void resetRequested();

private:
    void BuildControls();
    void ConnectHandlers();
    // Fills the fields from the selected row (or, with none selected, from
    // the row of the slot they showed last) and applies the lock.
    void ShowSelectedAlias();
    void ApplyLock();
    void SaveAlias();
    void ClearSelectedAlias();
    // Enter: the focused push button if there is one, else "Save alias".
    void PressDefault();

    ConfigFile user_;
    history::Recorder recorder_;
    // The list holds the forty slots (not the layout's placeholder).
    bool loaded_ = false;
    // The slot the fields belong to: none until the list has been loaded.
    std::optional<int> slot_;

    QListWidget* list_ = nullptr;
    QLineEdit* command_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancelAll_ = nullptr;
    QPushButton* clear_ = nullptr;
    QCheckBox* lock_ = nullptr;
};

} // namespace fenwake
