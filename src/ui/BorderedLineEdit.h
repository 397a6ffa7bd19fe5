#pragma once

#include <QColor>
#include <QLineEdit>

namespace fenwake {

// A single-line edit field with a flat two-pixel border of its own colour
// painted over the platform's edge. Everything else is the plain edit field.
class BorderedLineEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE SetBorderColor)
public:
    explicit BorderedLineEdit(QWidget* parent = nullptr);

    QColor BorderColor() const { return borderColor_; }
    // Repaints only when the colour changes.
    void SetBorderColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor borderColor_;
};

} // namespace fenwake
