#include "ui/widgets/PitchedLabel.h"

#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace fenwake::ui {

PitchedLabel::PitchedLabel(const QString& text, QWidget* parent, int pitch) : QLabel(text, parent), pitch_(pitch)
{
    setTextFormat(Qt::PlainText);
}

QSize PitchedLabel::sizeHint() const
{
    const QStringList lines = text().split(u'\n');
    int width = 0;
    for (const QString& line : lines) width = std::max(width, fontMetrics().horizontalAdvance(line));
    return {width + 1, pitch_ * static_cast<int>(lines.size()) + fontMetrics().descent()};
}

void PitchedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm = fontMetrics();
    int baseline = std::max(0, (pitch_ - fm.height()) / 2) + fm.ascent();
    for (const QString& line : text().split(u'\n')) {
        p.drawText(0, baseline, line);
        baseline += pitch_;
    }
}

} // namespace fenwake::ui
