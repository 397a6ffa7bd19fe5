#pragma once

#include <QMenu>

class QAction;
class QLineEdit;

namespace fenwake::ui {

// The edit pop-up menu of a window's edit fields: Cut, Copy, Paste, Select
// All and Undo, acting on the window's focused edit field, each available
// only when it can do something there. Its actions are the window's, so
// their shortcuts work in every edit field of it.
class EditMenu : public QMenu {
    Q_OBJECT
public:
    explicit EditMenu(QWidget* window);
    ~EditMenu() override;

    // Makes the menu the field's context menu.
    void Attach(QLineEdit* field);

    // Enables each action that can act on the focused field now.
    void UpdateActions();

private:
    QLineEdit* FocusedField() const;

    QWidget* window_;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* undo_ = nullptr;
};

} // namespace fenwake::ui
