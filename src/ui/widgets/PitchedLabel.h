#pragma once

#include <QLabel>

namespace fenwake::ui {

// Plain-text lines a fixed pitch apart, whatever leading the installed font
// brings: the layout was made for the pitch, and the stand-in fonts' own
// line spacing would push the last lines out of their boxes. A line lower
// than the pitch is centred in it; a taller one hangs from its top.
class PitchedLabel : public QLabel {
public:
    PitchedLabel(const QString& text, QWidget* parent, int pitch);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int pitch_;
};

} // namespace fenwake::ui
