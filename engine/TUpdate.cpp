#include "engine/TUpdate.h"

#include "engine/FindFiles.h"
#include "platform/FileAccess.h"
#include "platform/IoError.h"
#include "platform/ReplacementSet.h"
#include "store/PathRules.h"
#include "store/RecordText.h"

#include <QEventLoop>

#include <exception>
#include <filesystem>

namespace {

// The index of the last registered program named exactly `name`, or -1.
qsizetype lastProgramNamed(const std::vector<prog>& programok, const CountedString<255>& name)
{
    for (auto i = static_cast<qsizetype>(programok.size()); i > 0; --i)
        if (exactlyEqual(programok[static_cast<std::size_t>(i - 1)].name, name))
            return i - 1;
    return -1;
}

} // namespace

void TUpdate::Create(const upd& u, WorkerContext& context, QEventLoop& waitingLoop)
{
    auto* worker = new TUpdate(u, context);
    connect(worker, &QThread::finished, &waitingLoop, &QEventLoop::quit, Qt::QueuedConnection);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    if (!worker->isRunning() && !worker->isFinished()) {
        // The system refused a thread: nothing was done, and nothing will signal completion.
        delete worker;
        context.failure = QStringLiteral("The update could not be started: the system refused to create a thread.");
        context.imdone.store(true, std::memory_order_release);
    }
}

TUpdate::TUpdate(const upd& u, WorkerContext& context) : up(u), context_(context) {}

void TUpdate::run() { Execute(); }

void TUpdate::Execute()
{
    try {
        const qsizetype matched = lastProgramNamed(context_.programok, up.name);
        if (matched >= 0) {
            prog& program = context_.programok[static_cast<std::size_t>(matched)];
            const QString name = readText(up.name);
            const QString mask = up.complete != 0 ? QStringLiteral("*.*") : name + QStringLiteral(".exe");
            filelist.clear();
            FindFiles(context_.update_path + name, mask, filelist);

            const QString programFolder = readText(program.path);
            platform::ReplacementSet staged;
            for (const QString& source : filelist)
                CopyF(source, programFolder + fileNamePart(source), staged);
            staged.commit();

            copyText(program.version, up.version);
            filelist.clear();
        }
    } catch (const std::exception& error) {
        context_.failure = QString::fromUtf8(error.what());
    } catch (...) {
        context_.failure = QStringLiteral("The update stopped on an unexpected error.");
    }
    context_.imdone.store(true, std::memory_order_release);
}

namespace {

// The source's permission bits, plus the execute bits the installed file already had: an
// update folder on a share that cannot carry execute bits (SMB seen through FUSE shows
// every file as 0644) must not leave an installed program that no longer starts.
unsigned modeFor(const platform::InputFile& source, const QString& Destination)
{
    namespace fs = std::filesystem;
    unsigned mode = source.permissions() & 0777u;
    std::error_code unknown;
    const fs::file_status installed = fs::status(systemPath(Destination), unknown);
    if (!unknown && fs::is_regular_file(installed))
        mode |= static_cast<unsigned>(installed.permissions() &
                                      (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec));
    return mode;
}

} // namespace

void TUpdate::CopyF(const QString& Source, const QString& Destination, platform::ReplacementSet& staged)
{
    requireFitsPathLimit(Source);
    requireFitsPathLimit(Destination);
    platform::InputFile source(systemPath(Source));
    platform::ReplacingFile destination(systemPath(Destination), modeFor(source, Destination),
                                        platform::ReplacingFile::Temporary::Named);
    const std::int64_t length = source.size();

    CopyProgress& progress = context_.progress;
    progress.position.store(0, std::memory_order_relaxed);
    progress.length.store(length, std::memory_order_relaxed);
    pozicio = 0;
    for (std::int64_t remaining = length; remaining > 0;) {
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(remaining, CopyBlockSize));
        const std::size_t got = source.read(buffer_.data(), wanted);
        if (got == 0)
            break; // the source shrank meanwhile
        remaining -= static_cast<std::int64_t>(got);
        destination.write(buffer_.data(), got);
        pozicio += static_cast<std::int64_t>(got);
        progress.position.store(pozicio, std::memory_order_relaxed);
    }
    if (pozicio != length)
        throw platform::IoError(platform::IoError::ShortRead, "read", source.path());
    staged.add(destination);
}
