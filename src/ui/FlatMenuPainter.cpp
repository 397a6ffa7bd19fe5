#include "ui/FlatMenuPainter.h"

#include "ui/FlatMenuStyle.h"
#include "ui/SystemColours.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QChildEvent>
#include <QMenu>
#include <QStyleFactory>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace fenwake {
namespace {

QFont SystemMenuFont()
{
    QFont font = QApplication::font("QMenu");
    if (font.family().compare(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive) == 0)
        font.setFamily(QStringLiteral("Tahoma"));
    return font;
}

QStyle* BaseStyle()
{
    if (QStyle* app = QApplication::style()) {
        if (QStyle* copy = QStyleFactory::create(app->name())) return copy;
    }
    return nullptr;
}

} // namespace

FlatMenuPainter::FlatMenuPainter(QWidget* owner)
    : QObject(owner), owner_(owner), style_(std::make_unique<FlatMenuStyle>(*this, BaseStyle())),
      font_(SystemMenuFont())
{
    owner_->installEventFilter(this);
}

FlatMenuPainter::~FlatMenuPainter()
{
    for (const QPointer<QWidget>& w : hooked_)
        if (w && w->style() == style_.get()) w->setStyle(nullptr);
    hooked_.clear();
}

void FlatMenuPainter::SetFont(const QFont& font)
{
    font_ = font;
    RedrawMenuBar();
}

void FlatMenuPainter::SetMenuBarColor(ui::ColourValue c)
{
    colours_.menuBar = c;
    RedrawMenuBar();
}

void FlatMenuPainter::SetUseSystemColors(bool on)
{
    colours_.useSystemColors = on;
    RedrawMenuBar();
}

void FlatMenuPainter::SetOverrideOwnerDraw(bool on)
{
    overrideOwnerDraw_ = on;
    if (active_) SetActive(true);
}

void FlatMenuPainter::SetActive(bool on)
{
    active_ = on;
    Hook(false);
    if (on) Hook(true);
    RedrawMenuBar();
}

bool FlatMenuPainter::Paints(const QWidget* widget) const
{
    return widget && active_ && widget->style() == style_.get();
}

QStyle* FlatMenuPainter::Style() const { return style_.get(); }

ui::FlatMenuPalette FlatMenuPainter::WorkingPalette(const QWidget* target) const
{
    return ui::DerivePalette(colours_, ui::IsRichColour(DisplayDepth(target)), &ui::SystemColour);
}

QFont FlatMenuPainter::PaintFont() const { return colours_.useSystemColors ? SystemMenuFont() : font_; }

QSize FlatMenuPainter::MeasureItem(const QStyleOptionMenuItem& item, QSize proposed) const
{
    return style_->MeasureItem(item, proposed);
}

bool FlatMenuPainter::IsToolBar(const QObject* object)
{
    return qobject_cast<const QToolBar*>(object) || (object->isWidgetType() && object->property("ToolBar").toBool());
}

void FlatMenuPainter::Watch(QObject* object)
{
    // Installing again only moves the filter to the front.
    object->installEventFilter(this);
}

void FlatMenuPainter::Hook(bool on)
{
    const QList<QObject*> all = owner_->findChildren<QObject*>();
    for (QObject* object : all) {
        if (auto* menu = qobject_cast<QMenu*>(object)) {
            Watch(menu);
            HookMenu(menu, on);
        } else if (IsToolBar(object)) {
            Watch(object);
            HookToolBar(static_cast<QWidget*>(object), on);
        }
    }
    if (!on) {
        // Menus hooked through their parents may live elsewhere.
        for (const QPointer<QWidget>& w : hooked_)
            if (w && w->style() == style_.get()) w->setStyle(nullptr);
        hooked_.clear();
    }
}

void FlatMenuPainter::HookWidget(QWidget* widget, bool on)
{
    const bool ours = widget->style() == style_.get();
    if (!on) {
        if (ours) widget->setStyle(nullptr);
        return;
    }
    if (ours) return;
    // A style set on purpose is the widget's own painting.
    if (widget->testAttribute(Qt::WA_SetStyle) && !overrideOwnerDraw_) return;
    widget->setStyle(style_.get());
    hooked_.append(widget);
}

void FlatMenuPainter::HookMenu(QMenu* menu, bool on)
{
    const QList<QAction*> actions = menu->actions();
    if (actions.isEmpty()) return;
    HookWidget(menu, on);
    for (QAction* action : actions)
        if (QMenu* sub = action->menu(); sub && sub != menu) HookMenu(sub, on);
}

void FlatMenuPainter::HookSubMenus(const QMenu* menu)
{
    if (!active_) return;
    for (QAction* action : menu->actions()) {
        QMenu* sub = action->menu();
        if (sub && sub != menu && sub->style() != style_.get()) HookMenu(sub, true);
    }
}

void FlatMenuPainter::HookToolBar(QWidget* bar, bool on)
{
    for (QObject* child : bar->children()) {
        if (auto* button = qobject_cast<QToolButton*>(child)) {
            if (on) button->setAutoRaise(true);
            HookWidget(button, on);
        } else if (child->isWidgetType()) {
            Watch(child); // a separator, painted below when hooked
        }
    }
    Watch(bar);
}

void FlatMenuPainter::RedrawMenuBar()
{
    // Before the window is first shown nothing of it can be redrawn; the
    // setters of the constructor would each walk the whole window for nothing.
    if (!owner_->isVisible()) return;
    for (QObject* object : owner_->findChildren<QObject*>()) {
        if (auto* menu = qobject_cast<QMenu*>(object))
            menu->update();
        else if (auto* button = qobject_cast<QToolButton*>(object); button && IsToolBar(button->parentWidget()))
            button->update();
    }
}

void FlatMenuPainter::NoticeInsertion(QObject* object)
{
    if (!autoDetect_) return;
    inserted_.append(object);
    if (insertionPending_) return;
    insertionPending_ = true;
    // The object is not fully built while it is being added: look at it
    // once the event loop comes back.
    QTimer::singleShot(0, this, [this] {
        insertionPending_ = false;
        const QList<QPointer<QObject>> added = std::exchange(inserted_, {});
        if (!autoDetect_) return;
        const bool hookable = std::any_of(added.begin(), added.end(), [](const QPointer<QObject>& o) {
            return o && (qobject_cast<QMenu*>(o) || qobject_cast<QAction*>(o) || qobject_cast<QToolButton*>(o));
        });
        if (hookable) SetActive(true);
    });
}

bool FlatMenuPainter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == owner_ || IsToolBar(watched)) NoticeInsertion(static_cast<QChildEvent*>(event)->child());
        break;
    case QEvent::ActionAdded:
        if (qobject_cast<QMenu*>(watched)) NoticeInsertion(static_cast<QActionEvent*>(event)->action());
        break;
    case QEvent::Paint: {
        // A separator of a hooked tool bar with a positive tag shows a line.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || qobject_cast<QToolButton*>(widget) || !widget->parentWidget() ||
            !IsToolBar(widget->parentWidget()) || !active_)
            break;
        style_->PaintToolBarSeparator(*widget);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fenwake
