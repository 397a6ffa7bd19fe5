#pragma once

#include <QLabel>

namespace fenwake::ui {

// Multi-line help text at the layout's line pitch of 13 pixels, whatever
// leading the installed font brings.
class PitchedLabel : public QLabel {
public:
    static constexpr int kPitch = 13;
    using QLabel::QLabel;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace fenwake::ui
