#pragma once

#include "pages/CommandsList.h"

#include <QObject>

#include <optional>
#include <string>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fenwake {

class TfMain;

// The key bindings page ("Misc"): the key list, the command box that edits
// the selected key's binding in User.ini as the user types, the key search,
// the example, the commands list and the reset.
class TKeyBindingsPage : public QObject {
    Q_OBJECT
public:
    explicit TKeyBindingsPage(TfMain* main);

    // Key list and command box.
    void ListBox1Click();
    void DynamicLoadKeyBind();
    void DynamicSaveKeyBind();
    void ComboBox1Change();
    void ListBox1DblClick();
    void ComboBox1Exit();
    // Gives the command box back its resting colour (also the window's timer).
    void EndHighlight();
    // Selects a key without loading it; nothing selects none.
    void SelectKey(std::optional<int> row);
    std::optional<int> SelectedKey() const;
    QListWidget* KeyList() const { return keys_; }

    void QSearchKeyChange();
    void LInsertSampleClick();
    void LInsertSampleMouseDown();
    void LInsertSampleMouseUp();

    // Commands list.
    void CreateCommandsFile();
    void sAddCommandClick();
    void sRemoveCommandClick();
    void SpeedButton1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls(QWidget* page);
    void BuildHelp(QGroupBox* help);
    void BuildCommandButtons(QGroupBox* group);
    void ConnectHandlers();
    // Shows a text in the command box as the program, not the user.
    void SetCommandText(const QString& text);
    // Mirrors the list into the command box, keeping its text.
    void FillCommandBox();

    TfMain* main_;
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
