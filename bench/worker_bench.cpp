// The update worker against the commands that do the same copy, run alternately in the
// same process with the page cache warm. Local folders by default; from an SMB share when
// UPDATER_BENCH_SHARE (the shared folder, written directly) and UPDATER_BENCH_SHARE_MOUNT
// (the same folder seen through the mount) are set, as bench/worker_bench.sh does.

#include "engine/WorkerWait.h"
#include "store/RecordText.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void run(std::vector<std::string> command)
{
    std::vector<char*> argv;
    for (std::string& word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0 || ::waitpid(pid, &status, 0) < 0 ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "command failed: %s\n", command[0].c_str());
        std::exit(1);
    }
}

// Flushes what was written to the file system of `folder`: the same single request the
// worker makes before its renames.
double flush(const QString& folder)
{
    const auto start = Clock::now();
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    ::syncfs(descriptor);
    ::close(descriptor);
    return secondsSince(start);
}

double threadCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void writeFiles(const QString& folder, int count, qint64 size)
{
    QDir().mkpath(folder);
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>((i * 7919) >> 5);
    for (int i = 0; i < count; ++i) {
        QFile file(QStringLiteral("%1/file%2.dll").arg(folder).arg(i, 5, 10, QLatin1Char('0')));
        if (count == 1)
            file.setFileName(folder + QStringLiteral("/Big.exe"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (qint64 done = 0; done < size;) {
            const qint64 part = std::min<qint64>(size - done, static_cast<qint64>(block.size()));
            block[0] = static_cast<char>(i + done); // no two blocks alike
            file.write(block.data(), part);
            done += part;
        }
    }
}

struct DataSet {
    const char* name;
    int files;
    qint64 fileSize;
};

// Where the sources lie and where copies go.
struct Places {
    QString sourceRoot; // as the worker and the commands read it (the mount for a share)
    QString writeRoot;  // where the data set is written (the shared folder itself)
    QString destinationRoot;
};

// Seconds spent by one way of copying: into an empty folder (a first installation) and
// over its own previous copy (an update), each followed by a flush that is timed apart.
struct Timing {
    double fresh = 0, freshFlush = 0, replace = 0, replaceFlush = 0;
    double uiCpu = 0; // the worker's waiting thread only
};

void printRatio(double worker, double reference, double referenceFlush)
{
    std::printf(" %5.2fx (+flush %5.2fx)", worker / reference, worker / (reference + referenceFlush));
}

void copySet(benchmark::State& state, const DataSet& set, const Places& places)
{
    const bool withDd = set.files == 1; // the cost of the block size itself
    const QString name = QString::fromLatin1(set.name);
    writeFiles(places.writeRoot + '/' + name, set.files, set.fileSize);
    const QString source = places.sourceRoot + '/' + name;
    const QString workerCopy = places.destinationRoot + "/worker/" + name;
    const QString ddCopy = places.destinationRoot + "/dd";
    const QString cpCopy = places.destinationRoot + "/cp";

    std::vector<prog> programok(1, zeroRecord<prog>());
    storeText(programok[0].name, name);
    storeText(programok[0].path, workerCopy + '/');
    storeText(programok[0].version, QStringLiteral("1"));
    upd update = zeroRecord<upd>();
    storeText(update.name, name);
    storeText(update.version, QStringLiteral("2"));
    update.complete = 1;
    const QString update_path = places.sourceRoot + '/';
    std::atomic<bool> imdone{true};
    WorkerContext context(programok, update_path, imdone);

    // Each copies once into an emptied folder, then once more over that copy.
    auto measure = [&](const QString& folder, Timing& timing, auto copy) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        flush(places.destinationRoot);
        for (double* spent : {&timing.fresh, &timing.replace}) {
            const auto start = Clock::now();
            copy();
            *spent += secondsSince(start);
            *(spent == &timing.fresh ? &timing.freshFlush : &timing.replaceFlush) += flush(folder);
        }
    };
    auto worker = [&](Timing& timing) {
        measure(workerCopy, timing, [&] {
            const double cpu = threadCpuSeconds();
            if (!runWorkerAndWait(update, context, [](const CopyProgress& progress) { barValues(progress); })) {
                std::fprintf(stderr, "worker failed: %s\n", qPrintable(context.failure));
                std::exit(1);
            }
            timing.uiCpu += threadCpuSeconds() - cpu;
        });
    };
    auto dd = [&](Timing& timing) {
        measure(ddCopy, timing, [&] {
            run({"dd", "if=" + (source + "/Big.exe").toStdString(), "of=" + (ddCopy + "/Big.exe").toStdString(),
                 "bs=8194", "status=none"});
        });
    };
    auto cp = [&](Timing& timing) {
        measure(cpCopy, timing, [&] { run({"cp", "-r", source.toStdString(), cpCopy.toStdString()}); });
    };

    Timing warmUp; // fills the page cache with the sources
    worker(warmUp);

    Timing byWorker, byCp, byDd;
    int rounds = 0;
    for (auto _ : state) {
        const double before = byWorker.fresh + byWorker.replace;
        if (rounds % 2 == 0) {
            worker(byWorker);
            cp(byCp);
            if (withDd)
                dd(byDd);
        } else {
            if (withDd)
                dd(byDd);
            cp(byCp);
            worker(byWorker);
        }
        state.SetIterationTime(byWorker.fresh + byWorker.replace - before);
        ++rounds;
    }

    state.counters["worker_replace_s"] = byWorker.replace / rounds;
    state.counters["vs_cp"] = byWorker.replace / byCp.replace;
    state.counters["ui_cpu_ms"] = 1000 * byWorker.uiCpu / rounds;
    std::printf("%s, mean of %d rounds\n", set.name, rounds);
    const std::pair<const char*, Timing*> ways[] = {{"worker", &byWorker}, {"cp -r", &byCp}, {"dd bs=8194", &byDd}};
    for (const auto& [label, timing] : ways) {
        if (timing == &byDd && !withDd)
            continue;
        std::printf("  %-10s  into empty folder %8.3f s +flush %7.3f s | over previous copy %8.3f s +flush %7.3f s\n",
                    label, timing->fresh / rounds, timing->freshFlush / rounds, timing->replace / rounds,
                    timing->replaceFlush / rounds);
    }
    for (const auto& [label, timing] : ways) {
        if (timing == &byWorker || (timing == &byDd && !withDd))
            continue;
        std::printf("  worker / %-10s  into empty folder", label);
        printRatio(byWorker.fresh, timing->fresh, timing->freshFlush);
        std::printf(" | over previous copy");
        printRatio(byWorker.replace, timing->replace, timing->replaceFlush);
        std::printf("\n");
    }
    const double waited = byWorker.fresh + byWorker.replace;
    std::printf("  UI thread CPU while waiting: %.1f ms per round, %.3f%% of the wait\n", 1000 * byWorker.uiCpu / rounds,
                100 * byWorker.uiCpu / waited);
    std::fflush(stdout);
    QDir(places.writeRoot + '/' + name).removeRecursively();
    QDir(places.destinationRoot).removeRecursively();
}

QString environmentPath(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

void registerSets(const QString& mode, const std::vector<DataSet>& sets, int rounds)
{
    for (const DataSet& set : sets) {
        benchmark::RegisterBenchmark((mode + "/" + set.name).toStdString().c_str(),
                                     [set, mode](benchmark::State& state) {
                                         QTemporaryDir destination(QDir::tempPath() + "/updater-bench-XXXXXX");
                                         Places places;
                                         places.destinationRoot = destination.path();
                                         if (mode == "share") {
                                             places.writeRoot = environmentPath("UPDATER_BENCH_SHARE");
                                             places.sourceRoot = environmentPath("UPDATER_BENCH_SHARE_MOUNT");
                                         } else {
                                             places.writeRoot = places.sourceRoot = destination.path() + "/updates";
                                             places.destinationRoot = destination.path() + "/copies";
                                         }
                                         copySet(state, set, places);
                                     })
            ->Iterations(rounds)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("Ratios are the worker's time over the command's; \"+flush\" adds one syncfs of the copy, as the "
                "worker makes before it renames.\n");
    if (qEnvironmentVariableIsSet("UPDATER_BENCH_SHARE_MOUNT")) {
        registerSets("share", {{"large-200MiB", 1, 200LL << 20}, {"2000-files-64KiB", 2000, 64 << 10},
                               {"20000-files-4KiB", 20000, 4 << 10}},
                     3);
    } else {
        registerSets("local", {{"large-1GiB", 1, 1LL << 30}, {"2000-files-64KiB", 2000, 64 << 10},
                               {"20000-files-4KiB", 20000, 4 << 10}},
                     4);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
