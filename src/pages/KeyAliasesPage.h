#pragma once

#include <QObject>

#include <optional>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fenwake {

class TfMain;

// The key aliases page ("AL"): the forty alias slots of User.ini, the
// selected slot's command and name, saving, clearing and the lock on the
// game's own first nineteen slots.
class TKeyAliasesPage : public QObject {
    Q_OBJECT
public:
    explicit TKeyAliasesPage(TfMain* main);

    // Rebuilds the list from User.ini; leaves no row selected and the
    // fields as they are.
    void LoadKeysAliases();
    // Fills the fields from the selected row (or, with none selected, from
    // the row of the slot they showed last) and applies the lock.
    void AListClick();
    // Selects a row as the program, then shows it.
    void SelectRow(int row);
    void SaveKeyAlias();
    void BitBtn5Click();
    void Lock17Click();

    // The slot the fields belong to: none until the list has been loaded.
    std::optional<int> CurrentSlot() const { return slot_; }
    QListWidget* AliasList() const { return list_; }

private:
    void BuildControls(QWidget* page);
    void ConnectHandlers(QWidget* page);
    void ApplyLock();
    // Enter: the focused push button if there is one, else "Save alias".
    void PressDefault();

    TfMain* main_;
    // The list holds the forty slots (not the layout's placeholder).
    bool loaded_ = false;
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
