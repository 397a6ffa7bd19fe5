#pragma once

#include "config/ConfigFile.h"

#include <QSize>
#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QEvent;
class QGroupBox;
class QLabel;
class QSlider;

namespace fenwake {

// The "Graphics" page: the game's video settings from DeusEx.ini, the
// resolution pair and the quick quality presets. Loaded only; nothing on it
// is written back.
class GraphicsPage : public QWidget {
    Q_OBJECT
public:
    GraphicsPage(QWidget* parent, ConfigFile system);
    ~GraphicsPage() override;

    void LoadSettings();
    // Selects the quick choice that the detail controls match, and says so.
    void RecogniseQualityPreset();
    // Puts the primary screen's size into the resolution pair and keeps it.
    void UseCurrentScreenResolution();
    // The screen size last taken; empty until then.
    QSize ScreenSize() const { return screenSize_; }

    // The owner-drawn drop-down lists of the page.
    std::vector<QComboBox*> DropDowns() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTop();
    void BuildVideoSettings();
    QComboBox* MakeResolutionBox(const char* name, int x, bool& typedCommit);
    void ApplyQualityChoice();
    void PairResolution(QComboBox* from, QComboBox* to, bool typedCommit);
    void ToggleAdvancedOptions();
    void ShowVideoSettings();
    void ShowGammaValue(int position);

    ConfigFile system_;
    QSize screenSize_;
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
