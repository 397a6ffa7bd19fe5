#include "pages/HistoryPage.h"

#include "config/GameFiles.h"
#include "rules/Revert.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"
#include "ui/Text.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <utility>

namespace fenwake {
namespace {

enum Column { kTime, kOrigin, kKey, kValues, kColumns };

const QColor kUndoneColour(0x80, 0x80, 0x80);
const QString kUndoneNote = QStringLiteral("undone by another program: ");

// Records' UTC times as the player's clock shows them. The zone is asked
// once for each hour of records: each answer costs a look at its file.
class LocalClock {
public:
    QString Show(const std::string& utc)
    {
        QDateTime t = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODateWithMs);
        if (!t.isValid()) return QString::fromStdString(utc);
        auto [hour, fresh] = offsets_.try_emplace(utc.substr(0, 13));
        if (fresh) hour->second = t.toLocalTime().offsetFromUtc();
        return t.addSecs(hour->second).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

private:
    std::unordered_map<std::string, int> offsets_; // by "2024-05-01T12"
};

QString Quoted(const std::string& value) { return u'"' + ui::ToQ(value) + u'"'; }

} // namespace

HistoryPage::HistoryPage(QWidget* parent, ConfigFile user, std::shared_ptr<history::ChangeHistory> history,
                         history::Recorder recorder, history::Tell tell)
    : QWidget(parent), user_(std::move(user)), history_(std::move(history)), recorder_(std::move(recorder)),
      tell_(std::move(tell))
{
    setObjectName(QStringLiteral("History"));
    BuildControls();
    connect(undo_, &QPushButton::clicked, this, ui::Guard([this] { UndoLastChange(); }));
    connect(reapply_, &QPushButton::clicked, this, ui::Guard([this] { ApplyUndoneAgain(); }));
    connect(otherInstall_, &QPushButton::clicked, this, &HistoryPage::otherInstallRequested);
}

HistoryPage::~HistoryPage() { ui::DisconnectFromChildren(this); }

void HistoryPage::BuildControls()
{
    ui::MakeLabel(this, "HistoryFolderCaption", QStringLiteral("Settings edited:"), QPoint(8, 10), ui::Tahoma(true));
    // Read-only text rather than a label: the whole path, long as Proton's
    // are, scrolls, and can be selected and copied.
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("HistoryFolder"));
    folder_->setGeometry(96, 6, 439, 21);
    folder_->setReadOnly(true);
    folder_->setFrame(false);
    folder_->setFont(ui::Tahoma());
    folder_->setStyleSheet(QStringLiteral("background: transparent"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("HistoryList"));
    list_->setGeometry(8, 32, 527, 260);
    list_->setFont(ui::Tahoma());
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("From"), QStringLiteral("Key"),
                            QStringLiteral("Value before \u2192 after")});
    list_->header()->setStretchLastSection(true);
    list_->header()->resizeSection(kTime, 118);
    list_->header()->resizeSection(kOrigin, 82);
    list_->header()->resizeSection(kKey, 80);

    undo_ = ui::MakeButton(this, "UndoButton", QStringLiteral("Undo last change"), QRect(8, 299, 120, 25));
    reapply_ =
        ui::MakeButton(this, "ReapplyButton", QStringLiteral("Apply undone changes again"), QRect(134, 299, 170, 25));
    otherInstall_ = ui::MakeButton(this, "SwitchInstallButton", QStringLiteral("Edit another install..."),
                                   QRect(405, 299, 130, 25));
    otherInstall_->setEnabled(false);
}

void HistoryPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ui::RunHandler([this] { Refresh(); });
}

std::vector<history::Record> HistoryPage::Records() const
{
    return history_ ? history_->Load(tell_) : std::vector<history::Record>{};
}

void HistoryPage::OfferOtherInstalls(bool offer) { otherInstall_->setEnabled(offer); }

void HistoryPage::Refresh()
{
    folder_->setText(ui::PathText(std::filesystem::current_path()));
    folder_->setCursorPosition(0);
    const std::vector<history::Record> records = Records();
    const std::vector<std::size_t> undone = history::UndoneRecords(user_, records);

    list_->setUpdatesEnabled(false);
    list_->clear();
    LocalClock clock;
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(records.size()));
    for (std::size_t i = records.size(); i-- > 0;) {
        const history::Record& r = records[i];
        const QString values = Quoted(r.change.before) + QStringLiteral(" \u2192 ") + Quoted(r.change.after);
        const bool wasUndone = std::binary_search(undone.begin(), undone.end(), i);
        auto* row = new QTreeWidgetItem(QStringList{clock.Show(r.time), ui::ToQ(history::Name(r.origin)),
                                                    ui::ToQ(r.change.key), wasUndone ? kUndoneNote + values : values});
        row->setToolTip(kValues, row->text(kValues));
        if (wasUndone)
            for (int c = 0; c < kColumns; ++c) row->setForeground(c, kUndoneColour);
        rows.push_back(row);
    }
    list_->addTopLevelItems(rows);
    list_->setUpdatesEnabled(true);

    undo_->setEnabled(!history::Undoable(user_, records).empty());
    reapply_->setEnabled(!undone.empty());
}

void HistoryPage::UndoLastChange()
{
    const auto records = Records();
    const auto undoable = history::Undoable(user_, records);
    if (undoable.empty()) {
        Refresh();
        return;
    }
    if (const auto holds = history::UndoChange(user_, undoable.front(), recorder_)) {
        ui::Ask(window(),
                ui::ToQ(history::UndoConflict(undoable.front(), *holds)) + QStringLiteral(". Nothing was changed."),
                QStringLiteral("Undo last change"), QMessageBox::Warning, QMessageBox::Ok);
        Refresh();
        return;
    }
    Refresh();
    emit fileChanged();
}

void HistoryPage::ApplyUndoneAgain()
{
    const auto records = Records();
    const auto undone = history::FindUndone(user_, records);
    if (!undone.empty()) history::Reapply(user_, undone, recorder_);
    Refresh();
    if (!undone.empty()) emit fileChanged();
}

} // namespace fenwake
