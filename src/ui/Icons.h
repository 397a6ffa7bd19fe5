#pragma once

#include <QIcon>
#include <QPixmap>

// The window's small pictures, drawn in code so no image files are needed.
namespace fenwake::ui {

// The edit commands' pictures: 0 paste, 1 copy, 2 cut, 3 undo.
QIcon EditIcon(int index);

QIcon CloseIcon();
QPixmap SearchIcon();
QPixmap WarningIcon();
QIcon AddIcon();
QIcon RemoveIcon();
QIcon SaveIcon();

} // namespace fenwake::ui
