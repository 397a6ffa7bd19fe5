#include "pages/SharePage.h"

#include "config/ConfigFile.h"
#include "config/FileSystem.h"
#include "config/IniText.h"
#include "rules/Secrets.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"
#include "ui/Text.h"
#include "ui/widgets/CaptionOnFrameStyle.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

namespace fenwake {
namespace {

enum Column { kKey, kNow, kAfter, kNote };

const QColor kSkippedColour(0x80, 0x80, 0x80);
const QColor kRiskyColour(0xA0, 0x00, 0x00);
// Of every box the page shows: a set it cannot take.
const QString kBoxCaption = QStringLiteral("Share binds");
const QString kSetFilter = QStringLiteral("Binding sets (*.ini *.txt);;All files (*)");

QLabel* MakeStatus(QWidget* parent, const char* name, QRect at)
{
    auto* label = ui::MakeLabel(parent, name, QString(), at.topLeft(), ui::Tahoma(), QColor(0x00, 0x30, 0x60));
    label->setGeometry(at);
    return label;
}

// "1 secret", "2 secrets".
QString Count(std::size_t n, const QString& one, const QString& many)
{
    return QString::number(static_cast<qulonglong>(n)) + u' ' + (n == 1 ? one : many);
}

std::filesystem::path ToPath(const QString& name) { return std::filesystem::path(name.toStdU16String()); }

QTreeWidgetItem* AddRow(QTreeWidget* list, const std::string& key, const QString& now, const QString& after,
                        const QString& note)
{
    auto* item = new QTreeWidgetItem(list, {ui::ToQ(key), now, after, note});
    for (int c = kKey; c <= kNote; ++c) item->setToolTip(c, item->text(c));
    return item;
}

} // namespace

SharePage::SharePage(QWidget* parent, ConfigFile user, history::Recorder recorder)
    : QWidget(parent), user_(std::move(user)), recorder_(std::move(recorder)),
      lastFolder_(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
{
    setObjectName(QStringLiteral("Share"));
    BuildControls();
    ConnectHandlers();
}

SharePage::~SharePage() { ui::DisconnectFromChildren(this); }

void SharePage::BuildControls()
{
    auto* frame = new QGroupBox(QStringLiteral("  Share binds  "), this);
    frame->setObjectName(QStringLiteral("ShareFrame"));
    frame->setGeometry(8, 8, 529, 313);
    frame->setFont(ui::Tahoma(true));
    frame->setStyle(ui::CaptionOnFrameStyle::Shared());
    ui::SetCaptionColour(frame, QColor(0x60, 0x60, 0x90));

    ui::MakeLabel(frame, "MineLabel", QStringLiteral("Your binds:"), QPoint(12, 24), ui::Tahoma(true),
                  QColor(0x30, 0x98, 0x60));
    export_ = ui::MakeButton(frame, "ExportButton", QStringLiteral("Save my binds to a file..."), {96, 18, 157, 25});
    copy_ = ui::MakeButton(frame, "CopyButton", QStringLiteral("Copy my binds"), {259, 18, 105, 25});
    keepSecrets_ = new QCheckBox(QStringLiteral("Keep passwords"), frame);
    keepSecrets_->setObjectName(QStringLiteral("KeepSecretsBox"));
    keepSecrets_->setGeometry(376, 22, 141, 17);
    keepSecrets_->setFont(ui::Tahoma());
    ui::SetTextColour(keepSecrets_, QColor(0x06, 0x3C, 0x32));
    keepSecrets_->setToolTip(QStringLiteral("Unchecked, passwords in your binds are written as ") +
                             ui::ToQ(review::kSecretPlaceholder) + QStringLiteral(", safe to post."));
    keepSecrets_->setCursor(Qt::PointingHandCursor);
    exportStatus_ = MakeStatus(frame, "ExportStatus", {12, 48, 505, 15});

    ui::MakeLabel(frame, "TheirsLabel", QStringLiteral("A friend's:"), QPoint(12, 78), ui::Tahoma(true),
                  QColor(0x30, 0x68, 0xFF));
    import_ = ui::MakeButton(frame, "ImportButton", QStringLiteral("Load binds from a file..."), {96, 72, 157, 25});
    paste_ = ui::MakeButton(frame, "PasteButton", QStringLiteral("Paste binds"), {259, 72, 105, 25});

    review_ = new QTreeWidget(frame);
    review_->setObjectName(QStringLiteral("ReviewList"));
    review_->setGeometry(12, 102, 505, 170);
    review_->setColumnCount(4);
    review_->setHeaderLabels(
        {QStringLiteral("Key"), QStringLiteral("Now"), QStringLiteral("After"), QStringLiteral("Note")});
    review_->setRootIsDecorated(false);
    review_->setUniformRowHeights(true);
    review_->setSelectionMode(QAbstractItemView::SingleSelection);
    review_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    review_->setFont(ui::Tahoma());
    review_->header()->setFont(ui::Tahoma(true));
    review_->header()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{kKey, 92}, {kNow, 100}, {kAfter, 130}})
        review_->setColumnWidth(column, width);
    ui::SetTextColour(review_, Qt::black);
    ui::SetBaseColour(review_, QColor(0xFE, 0xF9, 0xE2));

    reviewStatus_ = MakeStatus(frame, "ReviewStatus", {12, 282, 370, 15});
    reviewStatus_->setText(QStringLiteral("Nothing is written until you apply the checked changes."));
    apply_ = ui::MakeButton(frame, "ApplyButton", QStringLiteral("Apply checked changes"), {388, 277, 129, 25});
    apply_->setEnabled(false);
}

void SharePage::ConnectHandlers()
{
    connect(export_, &QPushButton::clicked, this, ui::Guard([this] { ExportToFile(); }));
    connect(copy_, &QPushButton::clicked, this, ui::Guard([this] { CopyToClipboard(); }));
    connect(import_, &QPushButton::clicked, this, ui::Guard([this] { ImportFromFile(); }));
    connect(paste_, &QPushButton::clicked, this, ui::Guard([this] { PasteFromClipboard(); }));
    connect(apply_, &QPushButton::clicked, this, ui::Guard([this] { ApplyChecked(); }));
    connect(review_, &QTreeWidget::itemChanged, this, [this] { UpdateApplyButton(); });
}

void SharePage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (set_) ui::RunHandler([this] { FillReview(); });
}

void SharePage::TellSecrets(const QString& done, std::size_t secrets)
{
    const QString placeholder = ui::ToQ(review::kSecretPlaceholder);
    QString text = done;
    if (secrets == 0)
        text += QStringLiteral(": no passwords in it.");
    else if (keepSecrets_->isChecked())
        text += QStringLiteral(" with ") + Count(secrets, QStringLiteral("secret"), QStringLiteral("secrets")) +
                QStringLiteral(" as they are: share it with care.");
    else
        text += QStringLiteral(": ") + Count(secrets, QStringLiteral("secret"), QStringLiteral("secrets")) +
                QStringLiteral(" masked as ") + placeholder + u'.';
    exportStatus_->setText(text);
}

void SharePage::ExportToFile()
{
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Save my binds"),
                                                      lastFolder_ + QStringLiteral("/my-binds.ini"), kSetFilter);
    if (name.isEmpty()) return;
    lastFolder_ = QFileInfo(name).absolutePath();
    const sets::SharedSet set = sets::ShareSet(user_, keepSecrets_->isChecked(), sets::kSetFileEol);
    if (!files::Replace(ToPath(name), set.text)) throw WriteError(ui::FromQ(name));
    TellSecrets(QStringLiteral("Saved to ") + QFileInfo(name).fileName(), set.secrets);
}

void SharePage::CopyToClipboard()
{
    const sets::SharedSet set = sets::ShareSet(user_, keepSecrets_->isChecked(), "\n");
    QGuiApplication::clipboard()->setText(ui::ToQ(set.text));
    TellSecrets(QStringLiteral("Copied to the clipboard"), set.secrets);
}

void SharePage::ImportFromFile()
{
    const QString name =
        QFileDialog::getOpenFileName(this, QStringLiteral("Load binds from a file"), lastFolder_, kSetFilter);
    if (name.isEmpty()) return;
    lastFolder_ = QFileInfo(name).absolutePath();
    const QString shown = QFileInfo(name).fileName();
    const sets::SetFile read = sets::ReadSetFile(ToPath(name));
    switch (read.status) {
    case sets::SetFile::Status::Read:
        Review(read.text, shown);
        return;
    case sets::SetFile::Status::Unreadable:
        ui::Ask(this, QStringLiteral("Unable to read ") + shown + QStringLiteral(". Nothing was changed."), kBoxCaption,
                QMessageBox::Warning, QMessageBox::Ok);
        return;
    case sets::SetFile::Status::TooLarge:
        RefuseTooLarge(shown + QStringLiteral(" is larger than "));
        return;
    }
}

void SharePage::RefuseTooLarge(const QString& what)
{
    ui::Ask(this,
            what + QString::number(static_cast<qulonglong>(sets::kMaxSetBytes / (1024 * 1024))) +
                QStringLiteral(" MB: it is no binding set. Nothing was changed."),
            kBoxCaption, QMessageBox::Warning, QMessageBox::Ok);
}

void SharePage::PasteFromClipboard()
{
    const std::string text = ui::FromQ(QGuiApplication::clipboard()->text());
    if (text.size() > sets::kMaxSetBytes) {
        RefuseTooLarge(QStringLiteral("The clipboard holds more than "));
        return;
    }
    Review(text, QStringLiteral("The clipboard"));
}

void SharePage::Review(const std::string& text, const QString& source)
{
    sets::SetLines set = sets::ReadSet(text);
    if (sets::BindsNothing(set)) {
        ui::Ask(this,
                source + QStringLiteral(" holds no key binding or alias line (Key=Command). Nothing was changed."),
                kBoxCaption, QMessageBox::Warning, QMessageBox::Ok);
        return;
    }
    set_ = std::move(set);
    // A new set's rows start as the review has them.
    review_->clear();
    FillReview();
}

void SharePage::FillReview()
{
    std::map<std::string, Qt::CheckState> checks;
    for (int i = 0; i < review_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = review_->topLevelItem(i);
        if (item->flags() & Qt::ItemIsUserCheckable)
            checks.emplace(ui::FromQ(item->text(kKey)), item->checkState(kKey));
    }

    const sets::Plan plan = sets::PlanImport(user_, *set_, false);
    const QSignalBlocker quiet(review_);
    review_->clear();
    for (const sets::Change& c : plan.changes) {
        const auto risk = std::find_if(plan.risky.begin(), plan.risky.end(),
                                       [&](const sets::Plan::Risk& r) { return r.name == c.name; });
        const bool risky = risk != plan.risky.end();
        QTreeWidgetItem* item =
            AddRow(review_, c.name, ui::ToQ(c.before), ui::ToQ(c.after), risky ? ui::ToQ(risk->detail) : QString());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const auto kept = checks.find(c.name);
        item->setCheckState(kKey, kept != checks.end() ? kept->second : risky ? Qt::Unchecked : Qt::Checked);
        if (risky) item->setForeground(kNote, kRiskyColour);
    }
    std::size_t skipped = 0;
    const auto skip = [&](const std::vector<std::string>& names, const QString& reason) {
        for (const std::string& name : names) {
            QTreeWidgetItem* item = AddRow(review_, name, {}, {}, QStringLiteral("not written: ") + reason);
            item->setFlags(Qt::ItemIsEnabled);
            for (int c = kKey; c <= kNote; ++c) item->setForeground(c, kSkippedColour);
            ++skipped;
        }
    };
    skip(plan.masked, QStringLiteral("holds a masked secret ") + ui::ToQ(review::kSecretPlaceholder));
    skip(plan.withNul, QStringLiteral("holds a NUL byte"));
    skip(plan.tooLong,
         QStringLiteral("longer than ") + QString::number(ini::kMaxValueLength) + QStringLiteral(" characters"));
    skip(plan.locked, QStringLiteral("locked alias slot"));
    skip(plan.refused, QStringLiteral("no alias name"));

    QString summary;
    if (plan.changes.empty() && skipped == 0) {
        summary = QStringLiteral("Your binds already match this set: nothing to change.");
    } else {
        summary = Count(plan.changes.size(), QStringLiteral("change"), QStringLiteral("changes"));
        if (!plan.risky.empty())
            summary += QStringLiteral(", ") + QString::number(plan.risky.size()) + QStringLiteral(" risky");
        if (skipped)
            summary += QStringLiteral("; ") + Count(skipped, QStringLiteral("line"), QStringLiteral("lines")) +
                       QStringLiteral(" not written");
        summary += u'.';
    }
    reviewStatus_->setText(summary);
    UpdateApplyButton();
}

void SharePage::UpdateApplyButton()
{
    bool any = false;
    for (int i = 0; i < review_->topLevelItemCount() && !any; ++i) {
        const QTreeWidgetItem* item = review_->topLevelItem(i);
        any = (item->flags() & Qt::ItemIsUserCheckable) && item->checkState(kKey) == Qt::Checked;
    }
    apply_->setEnabled(any);
}

void SharePage::ApplyChecked()
{
    if (!set_) return;
    std::vector<std::string> names;
    for (int i = 0; i < review_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = review_->topLevelItem(i);
        if ((item->flags() & Qt::ItemIsUserCheckable) && item->checkState(kKey) == Qt::Checked)
            names.push_back(ui::FromQ(item->text(kKey)));
    }
    // Planned again: the file may have changed since the review was filled.
    const sets::Plan plan = sets::Only(sets::PlanImport(user_, *set_, false), names);
    if (!plan.writes.empty()) sets::ApplyPlan(user_, plan, recorder_);
    FillReview();
    reviewStatus_->setText(QStringLiteral("Applied ") +
                           Count(plan.changes.size(), QStringLiteral("change"), QStringLiteral("changes")) +
                           QStringLiteral(". ") + reviewStatus_->text());
    if (!plan.writes.empty()) emit bindingsChanged();
}

} // namespace fenwake
