#pragma once

#include "config/ConfigFile.h"
#include "rules/BindingSet.h"
#include "rules/ChangeHistory.h"

#include <QString>
#include <QWidget>

#include <cstddef>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace fenwake {

// The share page ("Share"): the player's binds out as a set, to a file or
// the clipboard with passwords masked, and a friend's set in, reviewed line
// by line before the checked changes are written.
class SharePage : public QWidget {
    Q_OBJECT
public:
    // Its imports go into the history through the recorder.
    SharePage(QWidget* parent, ConfigFile user, history::Recorder recorder);
    ~SharePage() override;

signals:
    // Bindings or aliases were written: the pages showing them reload.
    void bindingsChanged();

protected:
    // The review compares with the file as it is when the page comes back.
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();

    void TellSecrets(const QString& done, std::size_t secrets);
    void ExportToFile();
    void CopyToClipboard();

    void ImportFromFile();
    void PasteFromClipboard();
    // The box for a set over the size limit; what says what it was.
    void RefuseTooLarge(const QString& what);
    // Takes the text as the set to review, or refuses it with a box.
    void Review(const std::string& text, const QString& source);
    // Rows of the set's plan against the file now, checks kept by key.
    void FillReview();
    void ApplyChecked();
    void UpdateApplyButton();

    ConfigFile user_;
    history::Recorder recorder_;
    std::optional<sets::SetLines> set_;
    QString lastFolder_;

    QCheckBox* keepSecrets_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* copy_ = nullptr;
    QLabel* exportStatus_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* paste_ = nullptr;
    QTreeWidget* review_ = nullptr;
    QLabel* reviewStatus_ = nullptr;
    QPushButton* apply_ = nullptr;
};

} // namespace fenwake
