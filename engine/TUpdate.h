#pragma once

#include "engine/WorkerContext.h"
#include "store/Records.h"

#include <QStringList>
#include <QThread>

#include <array>
#include <cstddef>
#include <cstdint>

class QEventLoop;

namespace platform {
class ReplacementSet;
}

// Copies are read and written in blocks of this size; the per-file progress moves by them.
constexpr std::size_t CopyBlockSize = 8194;

// The update worker: applies one published update on a thread of its own. It finds the
// registered program of the update's name (the last one of that name), copies the files of
// the program's subfolder of the update folder into the program's folder and stamps the new
// version into its record. The copy is all or nothing: every file is staged complete beside
// its destination before any destination changes, so a failure leaves the program's folder
// as it was and the version unstamped, with the reason in context.failure.
class TUpdate final : public QThread {
    Q_OBJECT

public:
    // Creates the worker for `u` and starts it at once. It deletes itself when it has
    // finished, and quits `waitingLoop` (queued to the loop's thread) at that moment. The
    // caller sets context.imdone to false first and must not touch the worker afterwards.
    static void Create(const upd& u, WorkerContext& context, QEventLoop& waitingLoop);

protected:
    void run() override; // Execute

private:
    TUpdate(const upd& u, WorkerContext& context);

    void Execute();
    void CopyF(const QString& Source, const QString& Destination, platform::ReplacementSet& staged);

    const upd up;
    WorkerContext& context_;
    QStringList filelist;
    std::int64_t pozicio = 0;
    std::array<char, CopyBlockSize> buffer_{};
};
