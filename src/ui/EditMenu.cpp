#include "ui/EditMenu.h"

#include "ui/Icons.h"
#include "ui/Messages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

#include <functional>
#include <utility>

namespace fenwake::ui {

EditMenu::EditMenu(QWidget* window) : QMenu(window), window_(window)
{
    setObjectName(QStringLiteral("EditPopupMenu"));
    struct Spec {
        QAction** slot;
        const char* name;
        const char* caption;
        const char* hint;
        QKeySequence keys;
        int icon;
    };
    const Spec specs[] = {
        {&cut_, "EditCut1", "Cu&t", "Cut", QKeySequence(Qt::CTRL | Qt::Key_X), 2},
        {&copy_, "EditCopy1", "&Copy", "Copy", QKeySequence(Qt::CTRL | Qt::Key_C), 1},
        {&paste_, "EditPaste1", "&Paste", "Paste", QKeySequence(Qt::CTRL | Qt::Key_V), 0},
        {&selectAll_, "EditSelectAll1", "Select &All", "", QKeySequence(), -1},
        {&undo_, "EditUndo1", "&Undo", "", QKeySequence(Qt::ALT | Qt::Key_Backspace), 3},
    };
    for (const Spec& s : specs) {
        auto* action = new QAction(QString::fromLatin1(s.caption), window);
        action->setObjectName(QString::fromLatin1(s.name));
        action->setToolTip(QString::fromLatin1(s.hint));
        action->setStatusTip(QString::fromLatin1(s.hint));
        if (!s.keys.isEmpty()) action->setShortcut(s.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        if (s.icon >= 0) action->setIcon(EditIcon(s.icon));
        action->setEnabled(false);
        window->addAction(action);
        *s.slot = action;
    }
    auto onField = [this](std::function<void(QLineEdit*)> op) {
        return Guard([this, op = std::move(op)] {
            if (QLineEdit* field = FocusedField()) op(field);
            UpdateActions();
        });
    };
    connect(cut_, &QAction::triggered, this, onField([](QLineEdit* f) { f->cut(); }));
    connect(copy_, &QAction::triggered, this, onField([](QLineEdit* f) { f->copy(); }));
    connect(paste_, &QAction::triggered, this, onField([](QLineEdit* f) { f->paste(); }));
    connect(selectAll_, &QAction::triggered, this, onField([](QLineEdit* f) { f->selectAll(); }));
    connect(undo_, &QAction::triggered, this, onField([](QLineEdit* f) { f->undo(); }));

    addAction(cut_);
    addAction(copy_);
    addAction(paste_);
    addAction(selectAll_);
    addSeparator();
    addAction(undo_);
    connect(this, &QMenu::aboutToShow, this, [this] { UpdateActions(); });

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        // Follow the focused field's selection and text so availability stays current.
        if (auto* field = qobject_cast<QLineEdit*>(old)) disconnect(field, nullptr, this, nullptr);
        if (auto* field = qobject_cast<QLineEdit*>(now); field && field == FocusedField()) {
            connect(field, &QLineEdit::selectionChanged, this, &EditMenu::UpdateActions);
            connect(field, &QLineEdit::textChanged, this, &EditMenu::UpdateActions);
        }
        UpdateActions();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &EditMenu::UpdateActions);
}

EditMenu::~EditMenu()
{
    // Destroying the focused field moves the focus while the window is half
    // gone: the application's signals must not reach the menu any more.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
}

QLineEdit* EditMenu::FocusedField() const
{
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    // A combo box's own line is part of that control, not an edit field.
    if (!field || !window_->isAncestorOf(field) || qobject_cast<QComboBox*>(field->parentWidget())) return nullptr;
    return field;
}

void EditMenu::UpdateActions()
{
    QLineEdit* field = FocusedField();
    const bool writable = field && !field->isReadOnly();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    cut_->setEnabled(writable && field->hasSelectedText());
    copy_->setEnabled(field && field->hasSelectedText());
    paste_->setEnabled(writable && clip && clip->hasText());
    selectAll_->setEnabled(field && !field->text().isEmpty());
    undo_->setEnabled(writable && field->isUndoAvailable());
}

void EditMenu::Attach(QLineEdit* field)
{
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QWidget::customContextMenuRequested, this, [this, field](const QPoint& at) {
        field->setFocus(Qt::PopupFocusReason);
        UpdateActions();
        popup(field->mapToGlobal(at));
    });
}

} // namespace fenwake::ui
