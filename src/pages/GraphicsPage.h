#pragma once

#include <QObject>

#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QEvent;
class QGroupBox;
class QLabel;
class QSlider;
class QWidget;

namespace fenwake {

class TfMain;

// The "Graphics" page: the game's video settings from DeusEx.ini, the
// resolution pair and the quick quality presets. Loaded only; nothing on it
// is written back.
class TGraphicsPage : public QObject {
    Q_OBJECT
public:
    TGraphicsPage(TfMain& main, QWidget* page);

    void GetGraphicsSettings();
    void InitializeQuickGraphicsChoice();

    // Handlers of the user's actions.
    void QGraphicsQualityChange();
    void cbResXChange();
    void cbResYChange();
    void Label7Click();
    void Label8Click();
    void Label7MouseDown();
    void Label7MouseUp();

    // The owner-drawn drop-down lists of the page, with the painter's tag of each.
    std::vector<std::pair<QComboBox*, int>> DropDowns() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTop(QWidget* page);
    void BuildVideoSettings(QWidget* page);
    QComboBox* MakeResolutionBox(QWidget* page, const char* name, int x, bool& typedCommit);
    void PairResolution(QComboBox* from, QComboBox* to, bool typedCommit);
    void ShowVideoSettings();
    void ShowGammaValue(int position);

    TfMain& main_;
    QComboBox* quality_ = nullptr;
    QLabel* advancedLink_ = nullptr;
    QLabel* screenLink_ = nullptr;
    QComboBox* resX_ = nullptr;
    QComboBox* resY_ = nullptr;
    QGroupBox* videoSettings_ = nullptr;
    QComboBox* skinDetail_ = nullptr;
    QComboBox* worldTexture_ = nullptr;
    QComboBox* decals_ = nullptr;
    QCheckBox* detailTextures_ = nullptr;
    QCheckBox* screenFlashes_ = nullptr;
    QCheckBox* fullScreen_ = nullptr;
    QSlider* gamma_ = nullptr;
    QLabel* gammaValue_ = nullptr;
    // Set while Qt turns text typed into a resolution box into a list
    // selection on leaving the field: that is not a pick from the list.
    bool resXTypedCommit_ = false;
    bool resYTypedCommit_ = false;
};

} // namespace fenwake
