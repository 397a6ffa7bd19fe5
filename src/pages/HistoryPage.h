#pragma once

#include "config/ConfigFile.h"
#include "rules/ChangeHistory.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace fenwake {

// The history page ("History"): the folder whose User.ini the window edits,
// the changes recorded for it newest first, undoing the last one, applying
// what another program undid again, and the way to another install.
class HistoryPage : public QWidget {
    Q_OBJECT
public:
    // Reads the history through history (which may be none), saves through
    // recorder and tells trouble with the history through tell.
    HistoryPage(QWidget* parent, ConfigFile user, std::shared_ptr<history::ChangeHistory> history,
                history::Recorder recorder, history::Tell tell);
    ~HistoryPage() override;

    // Reads the history and the file anew.
    void Refresh();
    // Whether there is another install to offer.
    void OfferOtherInstalls(bool offer);

signals:
    // Undo or re-apply wrote User.ini: the editors show what it holds now.
    void fileChanged();
    // "Edit another install..." was clicked.
    void otherInstallRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    // Every change recorded, oldest first; none without a history.
    std::vector<history::Record> Records() const;
    void UndoLastChange();
    void ApplyUndoneAgain();

    ConfigFile user_;
    std::shared_ptr<history::ChangeHistory> history_;
    history::Recorder recorder_;
    history::Tell tell_;

    QLineEdit* folder_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* reapply_ = nullptr;
    QPushButton* otherInstall_ = nullptr;
};

} // namespace fenwake
