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

QString KindText(const locate::Install& install)
{
    QString kind = ui::ToQ(locate::Describe(install.kind));
    if (!install.mod.empty()) kind += QStringLiteral(": ") + ui::PathText(install.mod);
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

const QString kChoosePrompt = QStringLiteral("Deus Ex keeps its settings in these folders; choose the one to edit:");

} // namespace

std::optional<locate::Install> EnterChosenInstall(std::vector<locate::Install> installs, QWidget* owner,
                                                  const QString& why)
{
    locate::NewestSettingsFirst(installs);
    std::vector<QStringList> rows;
    for (const locate::Install& install : installs)
        rows.push_back({KindText(install), ui::ToQ(locate::Describe(install.reason)), ui::PathText(install.live)});
    ui::RowChooser chooser(owner, ui::ApplicationTitle(), why.isEmpty() ? kChoosePrompt : why + ' ' + kChoosePrompt,
                           {QStringLiteral("Install"), QStringLiteral("Why there"), QStringLiteral("Folder")}, rows);
    const auto chosen = chooser.Choose();
    if (!chosen) return std::nullopt;
    const locate::Install& install = installs[static_cast<std::size_t>(*chosen)];
    if (!TryEnter(install)) return std::nullopt;
    return install;
}

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
        const QString question = QStringLiteral("Deus Ex reads its settings from ") + ui::PathText(elsewhere->live) +
                                 QStringLiteral(", not from this folder. Edit the settings there?");
        if (ui::Ask(nullptr, question, ui::ApplicationTitle(), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
            return {};
        if (!TryEnter(*elsewhere)) return {};
        return {true, elsewhere->live};
    }
    if (!HoldsNoConfigFile()) return {};
    // Not a game folder: nothing may be created here.
    std::vector<locate::Install> installs = locate::FindInstalls(places, start);
    if (installs.empty()) {
        ReportMissingConfigFiles(nullptr);
        return {false, std::nullopt};
    }
    // The player saw what there is and chose none: no box more to say so.
    const auto chosen =
        EnterChosenInstall(std::move(installs), nullptr, QStringLiteral("This folder holds no Deus Ex settings."));
    if (!chosen) return {false, std::nullopt};
    return {true, chosen->live};
}

} // namespace fenwake
