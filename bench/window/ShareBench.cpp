// A friend's set of 150 lines taken in: from pressing "Apply checked
// changes" on the reviewed set until the key bindings and aliases pages show
// the new values, beside fenwake-cli import of the same set run as a whole
// process, and beside the rules' import alone as that command makes it.
// Each import starts from the same User.ini and an empty history.
#include "../BenchPlatform.h"

#include "app/MainWindow.h"
#include "config/FileSystem.h"
#include "config/GameFiles.h"
#include "pages/KeyAliasesPage.h"
#include "pages/KeyBindingsPage.h"
#include "rules/BindingSet.h"
#include "rules/ChangeHistory.h"
#include "rules/KeyAliases.h"
#include "ui/Text.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fenwake::bench {
namespace {
namespace fs = std::filesystem;

constexpr int kKeyLines = 130;
constexpr int kFirstAlias = aliases::kLockedSlotCount + 1;
constexpr std::string_view kSetFile = "friend.ini";

std::string Value(int n) { return "say bench " + std::to_string(n); }

// 130 keys and the last 20 alias slots, every line a change of the sample.
std::string FriendsSet()
{
    std::string set = "[Extension.InputExt]\r\n";
    for (int n = 0; n < kKeyLines; ++n)
        set.append(sets::SetKeys()[static_cast<std::size_t>(n)]).append("=" + Value(n) + "\r\n");
    for (int n = kFirstAlias; n < aliases::kSlotCount; ++n)
        set += aliases::SlotKey(n) + "=" + aliases::ComposeValue(Value(n), "Bench" + std::to_string(n)) + "\r\n";
    return set;
}

std::string Read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A copy of the sample game folder as the current directory, the data
// folder beside it.
class Folder {
public:
    Folder() : dir_(MakeTempDir()), state_(MakeTempDir()), old_(fs::current_path())
    {
        const fs::path samples = fs::path(FENWAKE_SAMPLES_DIR) / "game" / "System";
        fs::copy_file(samples / "User.ini", dir_ / "User.ini");
        fs::copy_file(samples / "DeusEx.ini", dir_ / "DeusEx.ini");
        user_ = Read(dir_ / "User.ini");
        std::ofstream(dir_ / kSetFile, std::ios::binary) << FriendsSet();
        fs::current_path(dir_);
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state_.string()));
    }
    ~Folder()
    {
        std::error_code ec;
        fs::current_path(old_, ec);
        fs::remove_all(dir_, ec);
        fs::remove_all(state_, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const fs::path& Dir() const { return dir_; }

    // User.ini as it was, dated an hour back so a write need not wait for it
    // to settle, and no history.
    void Restore() const
    {
        std::ofstream(dir_ / "User.ini", std::ios::binary | std::ios::trunc) << user_;
        fs::last_write_time(dir_ / "User.ini", fs::file_time_type::clock::now() - std::chrono::hours(1));
        std::error_code ec;
        fs::remove_all(state_ / "fenwake", ec);
    }

private:
    fs::path dir_;
    fs::path state_;
    fs::path old_;
    std::string user_;
};

template <class T>
T* Find(const QWidget& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

void BM_WindowApply(benchmark::State& state)
{
    const Folder folder;
    MainWindow window;
    window.show();
    Find<QAbstractButton>(window, "ToolButtonShare")->click();
    auto* paste = Find<QPushButton>(window, "PasteButton");
    auto* apply = Find<QPushButton>(window, "ApplyButton");
    auto* keys = Find<KeyBindingsPage>(window, "Misc");
    auto* aliasPage = Find<KeyAliasesPage>(window, "AL");
    auto* command = Find<QComboBox>(window, "ComboBox1");
    auto* aliasList = Find<QListWidget>(window, "AList");
    const QString lastAlias = ui::ToQ(
        aliases::RowText(aliases::kSlotCount - 1, aliases::ComposeValue(Value(aliases::kSlotCount - 1), "Bench39")));
    QGuiApplication::clipboard()->setText(ui::ToQ(FriendsSet()));
    for (auto _ : state) {
        state.PauseTiming();
        folder.Restore();
        keys->ShowSelectedBinding();
        aliasPage->ReloadAliases();
        aliasPage->SelectRow(0);
        paste->click();
        QCoreApplication::processEvents();
        if (!apply->isEnabled() || command->currentText() == ui::ToQ(Value(0))) {
            state.SkipWithError("the set was not reviewed");
            break;
        }
        state.ResumeTiming();
        apply->click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (command->currentText() != ui::ToQ(Value(0)) ||
            aliasList->item(aliases::kSlotCount - 1)->text() != lastAlias) {
            state.SkipWithError("the pages do not show the set");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["lines"] = kKeyLines + aliases::kSlotCount - kFirstAlias;
}
BENCHMARK(BM_WindowApply)->UseRealTime()->Unit(benchmark::kMillisecond);

// fenwake-cli import, started as a player starts it.
void BM_CliImport(benchmark::State& state)
{
    const Folder folder;
    const std::string command = "'" FENWAKE_CLI "' -C '" + folder.Dir().string() + "' import '" +
                                (folder.Dir() / kSetFile).string() + "' >/dev/null 2>&1";
    for (auto _ : state) {
        state.PauseTiming();
        folder.Restore();
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("fenwake-cli import failed");
            break;
        }
    }
}
BENCHMARK(BM_CliImport)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same command's steps in this process: read, review, write, record.
void BM_RulesImport(benchmark::State& state)
{
    const Folder folder;
    for (auto _ : state) {
        state.PauseTiming();
        folder.Restore();
        state.ResumeTiming();
        const sets::SetFile read = sets::ReadSetFile(fs::path(kSetFile));
        const ConfigFile user = game::UserIni();
        const sets::Plan plan = sets::PlanImport(user, sets::ReadSet(read.text), false);
        sets::ApplyPlan(user, plan,
                        history::Recorder(history::OpenFor(fs::current_path()), history::Origin::CliImport,
                                          [&state](const std::string& m) { state.SkipWithError(m.c_str()); }));
    }
}
BENCHMARK(BM_RulesImport)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace fenwake::bench
