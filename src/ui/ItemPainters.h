#pragma once

#include "ui/Themes.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QStyledItemDelegate>

class QComboBox;
class QListWidget;
class QPainter;

// The window's own item painting: the selected item in bold and in the
// tool's colours, the others in the control's font and colours.
namespace fenwake::ui {

// A control's tag, the number that picks its painter's scheme (0 when it has none).
int Tag(const QObject* control);
void SetTag(QObject* control, int tag);

// The height of a drop-down list's rows (16 when not set).
void SetItemHeight(QComboBox* box, int pixels);

// What one item is painted with once the selected state is decided.
struct ItemLook {
    bool bold = false;
    QColor text;
    QColor fill;
};

// Tags that pick a painter's second scheme: white on dark green for a
// drop-down list, black on grey-green for the alias list.
inline constexpr int kDarkGreenTag = 75;
inline constexpr int kAliasListTag = 175;

// The drop-down lists' scheme, kDarkGreenTag for the second one.
ItemLook DropDownLook(const QPalette& control, bool selected, int tag);
// The key list's and alias list's scheme, kAliasListTag for the second one.
ItemLook ListLook(const QPalette& control, bool selected, int tag);

// Fills rect and draws text offset from its top-left corner.
void PaintItem(QPainter& p, const QRect& rect, const QString& text, QFont font, const ItemLook& look, QPoint offset);

// The platform's focus rectangle: a dotted outline that inverts what is under it.
void DrawFocusRect(QPainter& p, const QRect& rect);

// Paints the items of one pick-only drop-down list, in its open list and in
// its closed field (which shows the current item as selected while the box
// has the focus). Rows are as high as SetItemHeight set.
class DropDownItemPainter : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DropDownItemPainter(QComboBox* box);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The closed box, as its paint event draws it.
    void PaintClosedBox() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* box_;
};

// Paints the items of the key list or the alias list in 16-pixel rows.
class ListItemPainter : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ListItemPainter(QListWidget* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QListWidget* list_;
};

// Makes the drop-down item painter paint box.
void AttachDropDownPainter(QComboBox* box);

// Switches a list between the list item painter and the platform's drawing.
void SetListDrawing(QListWidget* list, ListDrawing drawing);
ListDrawing DrawingOf(const QListWidget* list);

} // namespace fenwake::ui
