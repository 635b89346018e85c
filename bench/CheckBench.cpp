// The update check over growing lists: half programs, half updates, 10% of the names shared.
// Linear growth shows as a steady time per (programs + updates).
#include "bench/RatioReporter.h"
#include "engine/UpdateCheck.h"
#include "store/RecordStores.h"
#include "store/RecordText.h"

#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>

namespace {

struct CountingList final : FoundUpdatesList {
    int entries = 0;
    void clear() override { entries = 0; }
    void append(const QString&, const QByteArray&) override { ++entries; }
    int count() const override { return entries; }
    void uncheckAll() override {}
};

struct Lists {
    QTemporaryDir folder;
    std::vector<prog> programok;
};

// `total` records: total/2 programs, total/2 updates; every tenth update names a program.
Lists& lists(int total)
{
    static std::map<int, std::unique_ptr<Lists>> made;
    auto& slot = made[total];
    if (!slot) {
        slot = std::make_unique<Lists>();
        const int half = total / 2;
        slot->programok.assign(static_cast<std::size_t>(half), zeroRecord<prog>());
        std::vector<upd> updates(static_cast<std::size_t>(half), zeroRecord<upd>());
        for (int i = 0; i < half; ++i) {
            prog& program = slot->programok[static_cast<std::size_t>(i)];
            program.id = i;
            storeText(program.name, QStringLiteral("Program %1").arg(i));
            storeText(program.version, QStringLiteral("3"));
            upd& update = updates[static_cast<std::size_t>(i)];
            update.id = i;
            storeText(update.name, i % 10 == 0 ? QStringLiteral("Program %1").arg(i) : QStringLiteral("Other %1").arg(i));
            storeText(update.version, QStringLiteral("4"));
        }
        SaveUpdateList(updates, slot->folder.path() + u'/');
    }
    return *slot;
}

void Check(benchmark::State& state)
{
    const int total = static_cast<int>(state.range(0));
    Lists& data = lists(total);
    const QString update_path = data.folder.path() + u'/';
    std::vector<upd> updates;
    std::int32_t updatesdb = 0;
    CountingList found;
    for (auto _ : state)
        CheckForUpdates(true, true, data.programok, updates, updatesdb, update_path, found);
    state.counters["per_entry_ns"] = benchmark::Counter(static_cast<double>(total),
                                                        benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
    state.counters["found"] = found.entries;
}

BENCHMARK(Check)->Arg(1000)->Arg(10000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const RatioReporter& reporter = runBenchmarks(argc, argv);
    double first = 0;
    for (const int total : {1000, 10000, 20000, 100000}) {
        const double perEntry = reporter.nanoseconds("Check/" + std::to_string(total)) / total;
        if (first == 0)
            first = perEntry;
        std::printf("check, %6d programs + updates: %8.1f ns per entry, %5.2fx the figure at 1,000   (goal: ~1x, linear)\n",
                    total, perEntry, first > 0 ? perEntry / first : 0.0);
    }
    return 0;
}
