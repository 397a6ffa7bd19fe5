#include "pages/GraphicsPage.h"

#include "rules/GraphicsSettings.h"
#include "rules/QualityPresets.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"
#include "ui/ItemPainters.h"
#include "ui/Messages.h"
#include "ui/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QValidator>

#include <algorithm>

namespace fenwake {
namespace {

const QString kShowAdvanced = QStringLiteral("advanced options (show)");
const QString kHideAdvanced = QStringLiteral("advanced options (hide)");
const QColor kLinkBlue(0x00, 0x00, 0xFF);
const QColor kLinkPressed(0xFF, 0x00, 0x00);

template <std::size_t N>
void AddItems(QComboBox* box, const std::array<std::string_view, N>& items)
{
    for (std::string_view item : items) box->addItem(ui::ToQ(item));
}

// A pick-only list as the drop-down item painter expects it: its tag selects
// the selection colours, its items have a fixed height.
template <std::size_t N>
QComboBox* MakePickList(QWidget* parent, const char* name, QRect geometry, const std::array<std::string_view, N>& items,
                        const QColor& background, int tag, int itemHeight)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setFont(ui::PixelFont(QStringLiteral("Arial"), 12));
    ui::SetTag(box, tag);
    ui::SetItemHeight(box, itemHeight);
    ui::SetBaseColour(box, background);
    AddItems(box, items);
    box->setCurrentIndex(-1);
    return box;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, int y)
{
    // The blanks widen the clickable caption across the box.
    auto* check = new QCheckBox(caption + QString(40, u' '), parent);
    check->setObjectName(QString::fromLatin1(name));
    check->setGeometry(16, y, 249, 17);
    return check;
}

QLabel* MakeSunkenText(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLabel* MakeLink(QWidget* parent, const char* name, const QString& text, QRect geometry, const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(font);
    ui::SetTextColour(label, kLinkBlue);
    return label;
}

// Up to five digits. Plain code: a regular expression would load and
// compile a pattern engine at start-up for this alone.
class ResolutionDigits : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        const bool digits = input.size() <= 5 &&
                            std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        return digits ? Acceptable : Invalid;
    }
};

bool IsLeftClickInside(const QWidget* widget, const QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    return mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint());
}

} // namespace

GraphicsPage::GraphicsPage(QWidget* parent, ConfigFile system) : QWidget(parent), system_(std::move(system))
{
    setObjectName(QStringLiteral("Graphics"));
    BuildTop();
    BuildVideoSettings();

    connect(quality_, &QComboBox::activated, this, ui::Guard([this] { ApplyQualityChoice(); }));
    connect(resX_, &QComboBox::activated, this, ui::Guard([this] { PairResolution(resX_, resY_, resXTypedCommit_); }));
    connect(resY_, &QComboBox::activated, this, ui::Guard([this] { PairResolution(resY_, resX_, resYTypedCommit_); }));
    connect(gamma_, &QSlider::valueChanged, this, [this](int position) { ShowGammaValue(position); });
    advancedLink_->installEventFilter(this);
    screenLink_->installEventFilter(this);
}

GraphicsPage::~GraphicsPage() { ui::DisconnectFromChildren(this); }

void GraphicsPage::BuildTop()
{
    QWidget* page = this;
    auto* label3 = new QLabel(QStringLiteral("Choose graphics quality\nquickly"), page);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->setGeometry(8, 13, 114, 26);
    label3->setAlignment(Qt::AlignRight | Qt::AlignTop);

    quality_ = MakePickList(page, "QGraphicsQuality", QRect(128, 16, 145, 21), presets::kItems,
                            QColor(0xDA, 0xF3, 0xF0), ui::kDarkGreenTag, 15);

    advancedLink_ = MakeLink(page, "Label7", kShowAdvanced, QRect(319, 19, 194, 15),
                             ui::PixelFont(QStringLiteral("Arial"), 12, false, true));
    ui::SetWindowColour(advancedLink_, QColor(0xFF, 0xFF, 0xE1));

    MakeSunkenText(page, "StaticText1", QStringLiteral(" In-game Screen resolution "), QRect(8, 77, 136, 25));
    resX_ = MakeResolutionBox("cbResX", 144, resXTypedCommit_);
    AddItems(resX_, graphics::kWidthItems);
    resX_->setCurrentIndex(-1);
    auto* times = MakeSunkenText(page, "StaticText2", QStringLiteral("X"), QRect(202, 78, 13, 20));
    times->setFont(ui::PixelFont(QStringLiteral("Arial"), 13, true));
    times->setAlignment(Qt::AlignCenter);
    resY_ = MakeResolutionBox("cbResY", 217, resYTypedCommit_);
    AddItems(resY_, graphics::kHeightItems);
    resY_->setCurrentIndex(-1);

    screenLink_ = MakeLink(page, "Label8", QStringLiteral("Click here to use your current\nscreen resolution in game."),
                           QRect(280, 77, 142, 26), ui::Tahoma(false, true));
}

QComboBox* GraphicsPage::MakeResolutionBox(const char* name, int x, bool& typedCommit)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(x, 77, 57, 23);
    box->setCursor(Qt::ArrowCursor);

    // On leaving the field Qt selects the list item equal to the typed text
    // and reports it as activated. Typing 1024 then 600 must stay 1024 x 600,
    // so that activation is marked: this connection runs before the box's
    // own, the one made after setLineEdit runs after it.
    auto* edit = new QLineEdit(box);
    connect(edit, &QLineEdit::editingFinished, this, [&typedCommit] { typedCommit = true; });
    box->setLineEdit(edit);
    connect(edit, &QLineEdit::editingFinished, this, [&typedCommit] { typedCommit = false; });
    edit->setCursor(Qt::ArrowCursor);

    box->setCompleter(nullptr); // typing a width must not complete it to a list item
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setValidator(new ResolutionDigits(box));
    return box;
}

void GraphicsPage::BuildVideoSettings()
{
    videoSettings_ = new QGroupBox(QStringLiteral("Video settings"), this);
    videoSettings_->setObjectName(QStringLiteral("GroupBox1"));
    videoSettings_->setGeometry(8, 104, 521, 217);
    videoSettings_->hide();
    QWidget* group = videoSettings_;

    ui::MakeLabel(group, "Label4", QStringLiteral("Skin textures  detail:"), QPoint(8, 32));
    skinDetail_ = MakePickList(group, "cbSkinDetail", QRect(120, 24, 145, 22), graphics::kSkinItems,
                               QColor(0xEA, 0xF1, 0xF2), 0, 16);
    ui::MakeLabel(group, "Label5", QStringLiteral("World textures detail"), QPoint(8, 64));
    worldTexture_ = MakePickList(group, "cbWorldTexture", QRect(120, 56, 145, 22), graphics::kWorldItems,
                                 QColor(0xEE, 0xF5, 0xFD), ui::kDarkGreenTag, 16);
    ui::MakeLabel(group, "Label6", QStringLiteral("Decals"), QPoint(72, 96));
    decals_ = MakePickList(group, "cbDecals", QRect(120, 88, 145, 22), graphics::kDecalItems, QColor(0xFD, 0xEE, 0xF3),
                           0, 16);

    detailTextures_ = MakeCheck(group, "cDetailTextures", QStringLiteral("Detail textures"), 120);
    screenFlashes_ = MakeCheck(group, "cScreenFlashes", QStringLiteral("Screen flashes"), 144);
    fullScreen_ = MakeCheck(group, "cFullScreen", QStringLiteral("Full screen mode [default]"), 168);

    auto* gammaCaption =
        ui::MakeLabel(group, "LGammaCorrect", QStringLiteral("Gamma correction (brightness):"), QPoint(280, 24));
    gammaCaption->setFont(ui::Tahoma(true));
    gammaCaption->adjustSize();

    gamma_ = new QSlider(Qt::Horizontal, group);
    gamma_->setObjectName(QStringLiteral("tGamma"));
    gamma_->setGeometry(272, 40, 241, 25);
    gamma_->setRange(0, graphics::kGammaMax);
    gamma_->setSingleStep(1);
    gamma_->setPageStep(2);
    gamma_->setTickInterval(1);
    gamma_->setTickPosition(QSlider::TicksBelow);

    gammaValue_ = new QLabel(group);
    gammaValue_->setObjectName(QStringLiteral("LGammaValue"));
    gammaValue_->setGeometry(280, 72, 225, 18);
    gammaValue_->setAlignment(Qt::AlignCenter);
    gammaValue_->setFont(ui::Tahoma(true));
    ui::SetTextColour(gammaValue_, QColor(0x00, 0x80, 0x00));
    ShowGammaValue(gamma_->value());
}

void GraphicsPage::LoadSettings()
{
    const graphics::Settings s = graphics::Read(system_);
    const QSignalBlocker blocks[] = {
        QSignalBlocker(detailTextures_), QSignalBlocker(screenFlashes_), QSignalBlocker(fullScreen_),
        QSignalBlocker(resX_),           QSignalBlocker(resY_),          QSignalBlocker(gamma_),
        QSignalBlocker(skinDetail_),     QSignalBlocker(worldTexture_),  QSignalBlocker(decals_)};
    detailTextures_->setChecked(s.detailTextures);
    screenFlashes_->setChecked(s.screenFlashes);
    fullScreen_->setChecked(s.fullscreen);
    resX_->setEditText(QString::number(s.width));
    resY_->setEditText(QString::number(s.height));
    // Texts outside the tables leave the bar and the lists as they were.
    if (const auto position = graphics::BrightnessPosition(s.brightness)) gamma_->setValue(*position);
    if (const auto index = graphics::SkinIndex(s.skinDetail)) skinDetail_->setCurrentIndex(*index);
    if (const auto index = graphics::WorldIndex(s.textureDetail)) worldTexture_->setCurrentIndex(*index);
    decals_->setCurrentIndex(graphics::DecalsIndex(s.decals));
    ShowGammaValue(gamma_->value());
}

void GraphicsPage::RecogniseQualityPreset()
{
    const presets::Recognised found =
        presets::Recognise({skinDetail_->currentIndex(), worldTexture_->currentIndex(), decals_->currentIndex()},
                           detailTextures_->isChecked());
    {
        // The program's own selection is no pick: "Custom settings " must not open the group.
        const QSignalBlocker block(quality_);
        quality_->setCurrentIndex(found.choice);
    }
    if (!found.message.empty()) ui::ShowPlain(ui::ToQ(found.message));
}

void GraphicsPage::ApplyQualityChoice()
{
    const int choice = quality_->currentIndex();
    if (choice == presets::kCustom) {
        ShowVideoSettings();
        return;
    }
    const auto details = presets::Apply(choice);
    if (!details) return;
    const QSignalBlocker blockDecals(decals_);
    const QSignalBlocker blockSkin(skinDetail_);
    const QSignalBlocker blockWorld(worldTexture_);
    decals_->setCurrentIndex(details->decals);
    skinDetail_->setCurrentIndex(details->skin);
    worldTexture_->setCurrentIndex(details->world);
}

void GraphicsPage::PairResolution(QComboBox* from, QComboBox* to, bool typedCommit)
{
    if (typedCommit) return; // typed, not picked: any width goes with any height
    const int index = from->currentIndex();
    if (index < 0 || index >= to->count()) return;
    const QSignalBlocker block(to);
    to->setCurrentIndex(index);
    to->setEditText(to->itemText(index)); // also when the index was already current but the text typed over
}

void GraphicsPage::ToggleAdvancedOptions()
{
    if (videoSettings_->isHidden()) {
        ShowVideoSettings();
    } else {
        videoSettings_->hide();
        advancedLink_->setText(kShowAdvanced);
    }
}

void GraphicsPage::ShowVideoSettings()
{
    videoSettings_->show();
    advancedLink_->setText(kHideAdvanced);
}

void GraphicsPage::UseCurrentScreenResolution()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // The game wants device pixels; under display scaling Qt's size is smaller.
    const QSize size = (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize();
    screenSize_ = size;
    const QSignalBlocker blockX(resX_);
    const QSignalBlocker blockY(resY_);
    resX_->setEditText(QString::number(size.width()));
    resY_->setEditText(QString::number(size.height()));
}

void GraphicsPage::ShowGammaValue(int position)
{
    const auto text = graphics::BrightnessText(position);
    gammaValue_->setText(text ? ui::ToQ(*text) : QString());
}

bool GraphicsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == advancedLink_) {
        // Red while pressed, as a link is.
        if (event->type() == QEvent::MouseButtonPress) ui::SetTextColour(advancedLink_, kLinkPressed);
        if (IsLeftClickInside(advancedLink_, event)) ui::RunHandler([this] { ToggleAdvancedOptions(); });
        if (event->type() == QEvent::MouseButtonRelease) ui::SetTextColour(advancedLink_, kLinkBlue);
    } else if (watched == screenLink_ && IsLeftClickInside(screenLink_, event)) {
        ui::RunHandler([this] { UseCurrentScreenResolution(); });
    }
    return QObject::eventFilter(watched, event);
}

std::vector<QComboBox*> GraphicsPage::DropDowns() const { return {quality_, skinDetail_, worldTexture_, decals_}; }

} // namespace fenwake
