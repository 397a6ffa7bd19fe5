#include "app/StartFolder.h"

#include "config/GameLocator.h"
#include "config/Safeguards.h"
#include "ui/Messages.h"
#include "ui/Text.h"
#include "ui/widgets/RowChooser.h"

#include <string>
#include <string_view>
#include <vector>

namespace fenwake {
namespace {
namespace fs = std::filesystem;

// A folder as the platform names it, whatever its narrow encoding.
QString Shown(const fs::path& folder) { return QString::fromStdU16String(folder.u16string()); }

QString KindText(const locate::Install& install)
{
    QString kind = ui::ToQ(locate::Describe(install.kind));
    if (!install.mod.empty()) kind += QStringLiteral(": ") + Shown(install.mod);
    return kind;
}

// Into the live folder, with a failure shown as any error is.
bool TryEnter(const locate::Install& install)
{
    bool entered = false;
    ui::RunHandler([&] {
        safeguards::EnterLiveFolder(install);
        entered = true;
    });
    return entered;
}

bool HoldsNoConfigFile() { return safeguards::MissingConfigFiles().size() == 2; }

std::optional<locate::Install> PickInstall(const std::vector<locate::Install>& installs)
{
    std::vector<QStringList> rows;
    for (const locate::Install& install : installs)
        rows.push_back({KindText(install), ui::ToQ(locate::Describe(install.reason)), Shown(install.live)});
    ui::RowChooser chooser(nullptr, ui::ApplicationTitle(),
                           QStringLiteral("This folder holds no Deus Ex settings. Deus Ex keeps its settings in these "
                                          "folders; choose the one to edit:"),
                           {QStringLiteral("Install"), QStringLiteral("Why there"), QStringLiteral("Folder")}, rows);
    const auto chosen = chooser.Choose();
    if (!chosen) return std::nullopt;
    return installs[static_cast<std::size_t>(*chosen)];
}

} // namespace

void ReportMissingConfigFiles(QWidget* owner)
{
    for (std::string_view name : safeguards::MissingConfigFiles()) {
        ui::Ask(owner, QStringLiteral("\"") + ui::ToQ(name) + QStringLiteral("\" file not found! Click OK to exit."),
                QStringLiteral("Configuration file not found"), QMessageBox::Critical, QMessageBox::Ok);
    }
}

StartFolder ChooseStartFolder(const locate::Places& places)
{
    const fs::path start = fs::current_path();
    if (const auto elsewhere = locate::LiveElsewhere(places, start)) {
        const QString question = QStringLiteral("Deus Ex reads its settings from ") + Shown(elsewhere->live) +
                                 QStringLiteral(", not from this folder. Edit the settings there?");
        if (ui::Ask(nullptr, question, ui::ApplicationTitle(), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
            return {};
        if (!TryEnter(*elsewhere)) return {};
        return {true, elsewhere->live};
    }
    if (!HoldsNoConfigFile()) return {};
    // Not a game folder: nothing may be created here.
    const std::vector<locate::Install> installs = locate::FindInstalls(places, start);
    if (!installs.empty()) {
        if (const auto chosen = PickInstall(installs); chosen && TryEnter(*chosen)) return {true, chosen->live};
    }
    ReportMissingConfigFiles(nullptr);
    return {false, std::nullopt};
}

} // namespace fenwake
