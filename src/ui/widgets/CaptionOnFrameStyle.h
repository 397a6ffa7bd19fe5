#pragma once

#include <QProxyStyle>

namespace fenwake::ui {

// Group boxes as the layout expects them: an etched frame with the caption
// on its top line, 8 pixels in, so that the controls' positions fit.
class CaptionOnFrameStyle : public QProxyStyle {
public:
    // One instance serves every group box; the application owns it.
    static QStyle* Shared();

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* p,
                            const QWidget* widget) const override;
};

} // namespace fenwake::ui
