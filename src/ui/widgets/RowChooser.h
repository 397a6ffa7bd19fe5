#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>
#include <vector>

class QTreeWidget;

namespace fenwake::ui {

// A small modal list to pick one row of several columns from; OK (or a
// double click) takes the selected row, Cancel or the close box none. The
// last column takes the room left and shortens its texts in the middle,
// where folders differ least.
class RowChooser : public QDialog {
    Q_OBJECT
public:
    RowChooser(QWidget* parent, const QString& caption, const QString& prompt, const QStringList& headers,
               const std::vector<QStringList>& rows);

    // Shows the dialog and waits: the chosen row's index, or nothing.
    std::optional<int> Choose();

private:
    QTreeWidget* rows_;
};

} // namespace fenwake::ui
