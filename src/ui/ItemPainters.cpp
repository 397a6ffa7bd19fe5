#include "ui/ItemPainters.h"

#include <QComboBox>
#include <QEvent>
#include <QListWidget>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace fenwake::ui {
namespace {

constexpr int kListRowHeight = 16;
constexpr int kDefaultDropDownRowHeight = 16;
constexpr const char* kTagProperty = "tag";
constexpr const char* kItemHeightProperty = "itemHeight";

// The control's own colours: its font colour and its background.
ItemLook Unselected(const QPalette& control)
{
    return {false, control.color(QPalette::Active, QPalette::Text), control.color(QPalette::Active, QPalette::Base)};
}

int RowHeight(const QComboBox* box)
{
    bool ok = false;
    const int height = box->property(kItemHeightProperty).toInt(&ok);
    return ok && height > 0 ? height : kDefaultDropDownRowHeight;
}

} // namespace

int Tag(const QObject* control) { return control->property(kTagProperty).toInt(); }

void SetTag(QObject* control, int tag) { control->setProperty(kTagProperty, tag); }

void SetItemHeight(QComboBox* box, int pixels) { box->setProperty(kItemHeightProperty, pixels); }

ItemLook DropDownLook(const QPalette& control, bool selected, int tag)
{
    if (!selected) return Unselected(control);
    if (tag == kDarkGreenTag) return {true, QColor(0xFF, 0xFF, 0xFF), QColor(0x00, 0x46, 0x00)};
    return {true, QColor(0x00, 0xFF, 0x00), QColor(0x00, 0x45, 0x8A)};
}

ItemLook ListLook(const QPalette& control, bool selected, int tag)
{
    if (!selected) return Unselected(control);
    if (tag == kAliasListTag) return {true, QColor(0x00, 0x00, 0x00), QColor(0xBD, 0xD9, 0xD7)};
    return {true, QColor(0xD2, 0xFF, 0xD2), QColor(0x35, 0x6C, 0xFF)};
}

void PaintItem(QPainter& p, const QRect& rect, const QString& text, QFont font, const ItemLook& look, QPoint offset)
{
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.fillRect(rect, look.fill);
    font.setBold(look.bold);
    p.setFont(font);
    p.setPen(look.text);
    // Text cell top-left at the offset, as the platform's text output places it.
    const QFontMetrics metrics(font);
    p.drawText(QPoint(rect.left() + offset.x(), rect.top() + offset.y() + metrics.ascent()), text);
    p.restore();
}

void DrawFocusRect(QPainter& p, const QRect& rect)
{
    if (rect.width() <= 0 || rect.height() <= 0) return;
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(Qt::NoPen);
    const QColor invert(0xFF, 0xFF, 0xFF);
    auto dot = [&](int x, int y) {
        if (((x - rect.left()) + (y - rect.top())) % 2 == 0) p.fillRect(x, y, 1, 1, invert);
    };
    for (int x = rect.left(); x <= rect.right(); ++x) {
        dot(x, rect.top());
        if (rect.bottom() != rect.top()) dot(x, rect.bottom());
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        dot(rect.left(), y);
        if (rect.right() != rect.left()) dot(rect.right(), y);
    }
    p.restore();
}

DropDownItemPainter::DropDownItemPainter(QComboBox* box) : QStyledItemDelegate(box), box_(box)
{
    box->installEventFilter(this);
}

void DropDownItemPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    PaintItem(*painter, option.rect, index.data(Qt::DisplayRole).toString(), box_->font(),
              DropDownLook(box_->palette(), selected, Tag(box_)), QPoint(1, 1));
    if (option.state & QStyle::State_HasFocus) DrawFocusRect(*painter, option.rect);
}

QSize DropDownItemPainter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), RowHeight(box_)};
}

void DropDownItemPainter::PaintClosedBox() const
{
    QStylePainter painter(box_);
    QStyleOptionComboBox opt;
    opt.initFrom(box_);
    // Drawn as a field with an arrow button beside it, the way the
    // platform shows a pick-only list; the item painter fills the field.
    opt.editable = true;
    opt.frame = box_->hasFrame();
    opt.subControls = QStyle::SC_All;
    opt.state &= ~QStyle::State_HasFocus;
    if (box_->view()->isVisible()) opt.state |= QStyle::State_On;
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);

    const QRect field = box_->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box_);
    const bool focused = box_->hasFocus();
    const QString text = box_->currentIndex() >= 0 ? box_->currentText() : QString();
    if (box_->currentIndex() >= 0) {
        PaintItem(painter, field, text, box_->font(), DropDownLook(box_->palette(), focused, Tag(box_)), QPoint(1, 1));
    } else {
        painter.fillRect(field, box_->palette().color(QPalette::Active, QPalette::Base));
    }
    if (focused) DrawFocusRect(painter, field);
}

bool DropDownItemPainter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == box_ && event->type() == QEvent::Paint && !box_->isEditable()) {
        PaintClosedBox();
        return true;
    }
    // Not the delegate's own filter: that one takes the box for a cell editor.
    return QObject::eventFilter(watched, event);
}

ListItemPainter::ListItemPainter(QListWidget* list) : QStyledItemDelegate(list), list_(list) {}

void ListItemPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    PaintItem(*painter, option.rect, index.data(Qt::DisplayRole).toString(), list_->font(),
              ListLook(list_->palette(), selected, Tag(list_)), QPoint(2, 0));
    if (option.state & QStyle::State_HasFocus) DrawFocusRect(*painter, option.rect);
}

QSize ListItemPainter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), kListRowHeight};
}

void AttachDropDownPainter(QComboBox* box)
{
    if (qobject_cast<DropDownItemPainter*>(box->itemDelegate())) return;
    box->setItemDelegate(new DropDownItemPainter(box));
    box->update();
}

void SetListDrawing(QListWidget* list, ListDrawing drawing)
{
    if (DrawingOf(list) == drawing && list->itemDelegate()) return;
    // A theme change switches between the painter and the platform's own
    // drawing; the delegate given up is the list's own and goes with it.
    QAbstractItemDelegate* old = list->itemDelegate();
    if (drawing == ListDrawing::Custom)
        list->setItemDelegate(new ListItemPainter(list));
    else
        list->setItemDelegate(new QStyledItemDelegate(list));
    if (old && old->parent() == list) old->deleteLater();
    list->viewport()->update();
}

ListDrawing DrawingOf(const QListWidget* list)
{
    return qobject_cast<const ListItemPainter*>(list->itemDelegate()) ? ListDrawing::Custom : ListDrawing::Plain;
}

} // namespace fenwake::ui
