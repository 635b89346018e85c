// Load and save of a 100,000-record "programs.conf" against reading and writing the same
// bytes raw, in the same run.
#include "bench/RatioReporter.h"
#include "store/RecordStores.h"
#include "store/RecordText.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Records = 100000;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString applicationpath() { return folder().path() + u'/'; }

std::string fileName() { return (applicationpath() + "programs.conf").toStdString(); }

const std::vector<prog>& programs()
{
    static const std::vector<prog> list = [] {
        std::vector<prog> records(Records, zeroRecord<prog>());
        for (int i = 0; i < Records; ++i) {
            records[static_cast<std::size_t>(i)].id = i;
            storeText(records[static_cast<std::size_t>(i)].name, QStringLiteral("Program %1").arg(i));
            storeText(records[static_cast<std::size_t>(i)].version, QString::number(i % 97));
        }
        SaveAvailablePrograms(records, applicationpath());
        return records;
    }();
    return list;
}

void Load(benchmark::State& state)
{
    programs();
    std::vector<prog> list;
    std::int32_t count = 0;
    for (auto _ : state) {
        LoadAvailabelPrograms(list, count, applicationpath());
        benchmark::DoNotOptimize(list.data());
    }
}

void RawRead(benchmark::State& state)
{
    programs();
    std::vector<char> buffer(static_cast<std::size_t>(Records) * RecordSize);
    for (auto _ : state) {
        const int fd = ::open(fileName().c_str(), O_RDONLY);
        std::size_t done = 0;
        while (done < buffer.size()) {
            const ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        ::close(fd);
        benchmark::DoNotOptimize(buffer.data());
    }
}

void Save(benchmark::State& state)
{
    for (auto _ : state)
        SaveAvailablePrograms(programs(), applicationpath());
}

void rawWrite(benchmark::State& state, bool sync)
{
    const std::string raw = (applicationpath() + "raw.bin").toStdString();
    for (auto _ : state) {
        const int fd = ::open(raw.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::size_t size = programs().size() * RecordSize;
        if (::write(fd, programs().data(), size) != static_cast<ssize_t>(size))
            state.SkipWithError("raw write failed");
        if (sync)
            ::fsync(fd);
        ::close(fd);
    }
}

void RawWriteSynced(benchmark::State& state) { rawWrite(state, true); }
void RawWriteUnsynced(benchmark::State& state) { rawWrite(state, false); }

BENCHMARK(Load)->Unit(benchmark::kMillisecond);
BENCHMARK(RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(Save)->Unit(benchmark::kMillisecond);
BENCHMARK(RawWriteSynced)->Unit(benchmark::kMillisecond);
BENCHMARK(RawWriteUnsynced)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const RatioReporter& reporter = runBenchmarks(argc, argv);
    reporter.printRatio("load 100,000 records vs raw read", "Load", "RawRead", "within 2x");
    reporter.printRatio("save 100,000 records vs raw write + fsync", "Save", "RawWriteSynced", "within 2x");
    reporter.printRatio("save 100,000 records vs raw write, no fsync", "Save", "RawWriteUnsynced",
                        "information: the price of durability");
    return 0;
}
