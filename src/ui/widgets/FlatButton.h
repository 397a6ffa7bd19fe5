#pragma once

#include <QAbstractButton>

namespace fenwake::ui {

// A flat button: no frame until the pointer is over it, the icon 4 pixels
// from the left edge and the caption after it. It never takes the focus.
class FlatButton : public QAbstractButton {
public:
    FlatButton(const QIcon& icon, const QString& caption, QWidget* parent);
    QSize sizeHint() const override { return {200, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

} // namespace fenwake::ui
