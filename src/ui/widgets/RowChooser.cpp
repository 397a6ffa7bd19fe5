#include "ui/widgets/RowChooser.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace fenwake::ui {

RowChooser::RowChooser(QWidget* parent, const QString& caption, const QString& prompt, const QStringList& headers,
                       const std::vector<QStringList>& rows)
    : QDialog(parent), rows_(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("RowChooser"));
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);

    auto* text = new QLabel(prompt, this);
    text->setObjectName(QStringLiteral("RowChooserPrompt"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);

    rows_->setObjectName(QStringLiteral("RowChooserRows"));
    rows_->setRootIsDecorated(false);
    rows_->setAllColumnsShowFocus(true);
    rows_->setUniformRowHeights(true);
    rows_->setTextElideMode(Qt::ElideMiddle);
    rows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rows_->setHeaderLabels(headers);
    for (const QStringList& row : rows) {
        auto* item = new QTreeWidgetItem(rows_, row);
        // Long folders are what tells installs apart: the whole path on hover.
        for (int column = 0; column < row.size(); ++column) item->setToolTip(column, row[column]);
    }
    rows_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    rows_->header()->setSectionResizeMode(static_cast<int>(headers.size()) - 1, QHeaderView::Stretch);
    if (!rows.empty()) rows_->setCurrentItem(rows_->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("RowChooserButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(rows_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(rows_, &QTreeWidget::currentItemChanged, this,
            [buttons](QTreeWidgetItem* now) { buttons->button(QDialogButtonBox::Ok)->setEnabled(now != nullptr); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(rows_);
    layout->addWidget(buttons);
    resize(720, 240);
}

std::optional<int> RowChooser::Choose()
{
    if (exec() != QDialog::Accepted) return std::nullopt;
    QTreeWidgetItem* chosen = rows_->currentItem();
    if (!chosen) return std::nullopt;
    return rows_->indexOfTopLevelItem(chosen);
}

} // namespace fenwake::ui
