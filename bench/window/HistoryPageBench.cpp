// Showing the history page at the history's bound of 10,000 changes, beside
// reading those changes alone, in one run.
#include "HistoryData.h"

#include "pages/HistoryPage.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace fenwake::bench {
namespace {

class TenThousandChanges {
public:
    TenThousandChanges() : history_(std::make_shared<history::ChangeHistory>(folder_ / "history.txt", "/games"))
    {
        history_->Append(TenThousand(), Ignore);
    }
    const std::shared_ptr<history::ChangeHistory>& History() const { return history_; }

private:
    Folder folder_;
    std::shared_ptr<history::ChangeHistory> history_;
};

void BM_ReadTenThousandChanges(benchmark::State& state)
{
    const TenThousandChanges changes;
    for (auto _ : state) benchmark::DoNotOptimize(changes.History()->Load(Ignore));
}
BENCHMARK(BM_ReadTenThousandChanges)->Unit(benchmark::kMillisecond);

// What a click on "History" costs: the page reads the changes and the file
// and fills its list.
void BM_ShowHistoryPageOfTenThousand(benchmark::State& state)
{
    const TenThousandChanges changes;
    HistoryPage page(nullptr, ConfigFile("User.ini"), changes.History(),
                     history::Recorder(changes.History(), history::Origin::Window, Ignore), Ignore);
    for (auto _ : state) {
        page.Refresh();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ShowHistoryPageOfTenThousand)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace fenwake::bench
