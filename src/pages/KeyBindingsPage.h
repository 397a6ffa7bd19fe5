#pragma once

#include "config/ConfigFile.h"
#include "rules/ChangeHistory.h"
#include "rules/CommandsList.h"

#include <QWidget>

#include <optional>
#include <string>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace fenwake {

namespace ui {
class EditMenu;
}

// The key bindings page ("Misc"): the key list, the command box that edits
// the selected key's binding in User.ini as the user types, the key search,
// the example, the commands list and the reset.
class KeyBindingsPage : public QWidget {
    Q_OBJECT
public:
    // Its saves go into the history through the recorder.
    KeyBindingsPage(QWidget* parent, ui::EditMenu& editMenu, ConfigFile user, history::Recorder recorder);
    ~KeyBindingsPage() override;

    // Loads the selected key's binding into the command box, if a key is selected.
    void ShowSelectedBinding();
    // Selects a key without loading it; nothing selects none.
    void SelectKey(std::optional<int> row);
    // Gives the command box back its resting colour (also the window's timer).
    void EndCommandBoxHighlight();
    // Start-up: reads the commands list file, or writes it when it is missing.
    void LoadCommandsList();

    QListWidget* KeyList() const { return keys_; }

signals:
    // "Reset key bindings to previous state" was clicked.
    void resetRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildControls();
    void BuildHelp(QGroupBox* help);
    void BuildCommandButtons(QGroupBox* group);
    void ConnectHandlers();
    std::optional<int> SelectedKey() const;

    // What the user does.
    void SaveEditedBinding();
    void HighlightCommandBox();
    void FindTypedKey();
    void OfferExampleBinding();
    void PressExample();
    void ReleaseExample();
    void AddCommandToList();
    void RemovePickedCommand();
    void SaveCommandsList();

    // Shows a text in the command box as the program, not the user.
    void SetCommandText(const QString& text);
    // Mirrors the list into the command box, keeping its text.
    void FillCommandBox();

    ConfigFile user_;
    history::Recorder recorder_;
    // The command box's saves of one key, one change until a pause, another
    // key, another page or the focus elsewhere ends it.
    history::ChangeRun typing_;
    QTimer* typingPause_ = nullptr;
    commands::CommandsList commands_;
    // The list entry last picked in the command box, until typed over.
    std::optional<int> picked_;
    bool examplePressed_ = false;

    QListWidget* keys_ = nullptr;
    QComboBox* command_ = nullptr;
    QLineEdit* search_ = nullptr;
    QLabel* example_ = nullptr;
    QPushButton* reset_ = nullptr;
    QAbstractButton* add_ = nullptr;
    QAbstractButton* remove_ = nullptr;
    QAbstractButton* save_ = nullptr;
};

} // namespace fenwake
