#include "ui/widgets/PitchedLabel.h"

#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace fenwake::ui {

QSize PitchedLabel::sizeHint() const
{
    const QStringList lines = text().split(u'\n');
    int width = 0;
    for (const QString& line : lines) width = std::max(width, fontMetrics().horizontalAdvance(line));
    return {width + 1, static_cast<int>(lines.size()) * kPitch};
}

void PitchedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QStringList lines = text().split(u'\n');
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QRect(0, i * kPitch, width(), kPitch), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   lines[i]);
}

} // namespace fenwake::ui
