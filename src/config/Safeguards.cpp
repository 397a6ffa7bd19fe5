#include "config/Safeguards.h"

#include "config/FileSystem.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

namespace fenwake::safeguards {
namespace {

bool Present(std::string_view name) { return files::Exists(files::Resolve(name)); }

std::optional<std::string> Contents(std::string_view name) { return files::ReadAll(files::Resolve(name)); }

// Takes away a file this operation created itself, so a failure leaves the
// folder as it was; a file that cannot be removed stays.
void Discard(const std::filesystem::path& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

} // namespace

std::vector<std::string_view> MissingConfigFiles()
{
    std::vector<std::string_view> missing;
    for (std::string_view name : {kUserIni, kSystemIni}) {
        if (!Present(name)) missing.push_back(name);
    }
    return missing;
}

void ClearReadOnlyMarks()
{
    // Refusals are not reported: a write that still fails later says so itself.
    files::ClearAttributes(files::Resolve(kUserIniLower));
    files::ClearAttributes(files::Resolve(kSystemIni));
}

BackupResult TakeBackupsOnce()
{
    if (Present(kUserBackup) || Present(kSystemBackup)) return BackupResult::Present;

    const auto user = Contents(kUserIni);
    const auto system = Contents(kSystemIni);
    if (!user || !system) return BackupResult::Failed;

    const std::filesystem::path userBackup = files::Resolve(kUserBackup);
    if (!files::Replace(userBackup, *user)) return BackupResult::Failed;
    if (!files::Replace(files::Resolve(kSystemBackup), *system)) {
        Discard(userBackup);
        return BackupResult::Failed;
    }
    return BackupResult::Made;
}

bool RestoreBackups()
{
    const auto userBackup = Contents(kUserBackup);
    const auto systemBackup = Contents(kSystemBackup);
    if (!userBackup || !systemBackup) return false;

    const std::filesystem::path user = files::Resolve(kUserIni);
    // What the first file held, to put back should the second write fail.
    const bool userExisted = files::Exists(user);
    const auto userBefore = userExisted ? files::ReadAll(user) : std::nullopt;
    if (userExisted && !userBefore) return false;
    if (!files::Replace(user, *userBackup)) return false;
    if (!files::Replace(files::Resolve(kSystemIni), *systemBackup)) {
        if (userBefore) {
            files::Replace(user, *userBefore);
        } else {
            Discard(user);
        }
        return false;
    }
    return true;
}

void EnterLiveFolder(const locate::Install& install)
{
    const auto inFolder = [](const std::filesystem::path& folder, std::string_view name) {
        return files::Resolve((folder / name).string());
    };
    const std::filesystem::path system = inFolder(install.live, kSystemIni);
    if (!files::Exists(system) && !install.system.empty()) {
        const std::filesystem::path original = inFolder(install.system, kSystemIni);
        if (files::Exists(original) && !files::Copy(original, system))
            throw std::runtime_error("Unable to copy " + original.string() + " to " + system.string());
    }
    std::error_code ec;
    std::filesystem::current_path(install.live, ec);
    if (ec) throw std::runtime_error("Unable to open the folder " + install.live.string());
}

} // namespace fenwake::safeguards
