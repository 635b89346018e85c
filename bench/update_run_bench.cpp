// One update run ("Update Selected") over a program whose update is one large file (1 GiB
// unless the first argument gives another size in MiB), measured from the outside:
//  - the UI thread's CPU time during the run, against the run's wall time;
//  - the time from the worker's last block (the staged copy reaching its full length) and
//    from the worker's completion to the finished message;
//  - how often the per-file bar is painted, against the number of blocks copied.
// Offscreen; every file lives in a temporary folder that is removed afterwards.

#include "engine/TUpdate.h"
#include "store/RecordText.h"
#include "store/Records.h"
#include "ui/common/Prompts.h"
#include "ui/main/TForm1.h"
#include "ui/main/TrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fcntl.h>
#include <thread>
#include <type_traits>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double threadCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

// Answers every prompt and notes when the last message was shown.
class TimedPrompts final : public Prompts {
public:
    Clock::time_point lastMessage;
    QString lastText;

    void message(const QString& text) override
    {
        lastMessage = Clock::now();
        lastText = text;
    }
    bool confirm(const QString&) override { return true; }
    QString inputBox(const QString&, const QString&, const QString& initial) override { return initial; }
    QString passwordBox(const QString&, const QString&) override { return {}; }
    QString openExecutable(QWidget*) override { return {}; }
    std::optional<QString> browseForFolder(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> selectDirectory(QWidget*, const QString&) override { return std::nullopt; }
};

class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        std::exit(1);
    }
}

template <typename Record>
QByteArray recordOf(const QString& name, const QString& path)
{
    Record record = zeroRecord<Record>();
    record.id = 1;
    storeText(record.name, name);
    storeText(record.path, path);
    storeText(record.version, QString::fromLatin1(std::is_same_v<Record, prog> ? "1" : "2"));
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
}

// The large update: written through the page cache, then flushed, so the run copies from a
// warm cache as it would on a second look at a share.
void writeLargeFile(const QString& name, std::int64_t size)
{
    const int descriptor = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::vector<char> block(1 << 20, 'x');
    for (std::int64_t left = size; left > 0;) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(block.size())));
        if (::write(descriptor, block.data(), chunk) != static_cast<ssize_t>(chunk)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            std::exit(1);
        }
        left -= static_cast<std::int64_t>(chunk);
    }
    ::fsync(descriptor);
    ::close(descriptor);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::int64_t mebibytes = argc > 1 ? std::atoll(argv[1]) : 1024;
    const std::int64_t size = mebibytes << 20;

    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/updater-run-bench-XXXXXX"));
    qputenv("HOME", root.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (root.path() + QStringLiteral("/config")).toUtf8());
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Updater"));
    TrayIcon::assumeAvailable(true);
    TimedPrompts prompts;
    setPrompts(&prompts);

    const QString app = root.path() + QStringLiteral("/app/");
    const QString program = app + QStringLiteral("Big/");
    const QString updates = root.path() + QStringLiteral("/updates/");
    QDir().mkpath(program);
    QDir().mkpath(updates + QStringLiteral("Big"));
    writeFile(program + QStringLiteral("Big.exe"), "old");
    writeLargeFile(updates + QStringLiteral("Big/Big.exe"), size);
    writeFile(app + QStringLiteral("updater.conf"), updates.toUtf8() + "\r\n");
    writeFile(app + QStringLiteral("programs.conf"), recordOf<prog>(QStringLiteral("Big"), program));
    writeFile(updates + QStringLiteral("update.conf"), recordOf<upd>(QStringLiteral("Big"), QStringLiteral("Big.exe")));

    TForm1 form(app + QStringLiteral("Updater"));
    form.Timer1->stop();
    form.show();
    form.CheckListBox1->item(0)->setCheckState(Qt::Checked);
    PaintCounter counter;
    form.ProgressBar->installEventFilter(&counter);
    QCoreApplication::processEvents();
    const int paintsBefore = counter.paints;

    // Watches, beside the run, for the staged copy reaching its full length and for the
    // worker's completion flag.
    std::atomic<bool> watching{true};
    Clock::time_point lastBlock{};
    Clock::time_point workerDone{};
    std::thread watcher([&] {
        bool started = false;
        while (watching.load()) {
            const bool done = form.state().imdone.load(std::memory_order_acquire);
            if (!done)
                started = true;
            if (lastBlock == Clock::time_point{}) {
                std::error_code error;
                for (const auto& entry : std::filesystem::directory_iterator(program.toStdString(), error))
                    if (entry.path().filename() != "Big.exe" && entry.file_size(error) == static_cast<std::uintmax_t>(size))
                        lastBlock = Clock::now();
            }
            if (started && done && workerDone == Clock::time_point{})
                workerDone = Clock::now();
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    });

    const double cpuBefore = threadCpuSeconds();
    const auto start = Clock::now();
    form.Button1->click();
    const auto end = Clock::now();
    const double cpu = threadCpuSeconds() - cpuBefore;
    watching = false;
    watcher.join();

    if (prompts.lastText != QStringLiteral("Update Process Finished Succesfully")) {
        std::fprintf(stderr, "the run failed: %s\n", qPrintable(prompts.lastText));
        return 1;
    }
    const double wall = std::chrono::duration<double>(end - start).count();
    const int paints = counter.paints - paintsBefore;
    const double blocks = static_cast<double>((size + static_cast<std::int64_t>(CopyBlockSize) - 1) /
                                              static_cast<std::int64_t>(CopyBlockSize));
    std::printf("update run of %lld MiB: %.2f s wall\n", static_cast<long long>(mebibytes), wall);
    std::printf("UI-thread CPU during the run: %.1f ms / %.0f ms wall = %.4f (goal near 0)\n", cpu * 1e3, wall * 1e3,
                cpu / wall);
    if (lastBlock != Clock::time_point{})
        std::printf("last block to finished message: %.1f ms (goal < 100 ms)\n",
                    milliseconds(prompts.lastMessage - lastBlock));
    if (workerDone != Clock::time_point{})
        std::printf("worker done to finished message: %.1f ms\n", milliseconds(prompts.lastMessage - workerDone));
    std::printf("per-file bar painted %d times for %.0f blocks = %.5f per block, %.1f per second (goal: a human rate, "
                "tens per second at most)\n",
                paints, blocks, paints / blocks, paints / wall);
    setPrompts(nullptr);
    return 0;
}
