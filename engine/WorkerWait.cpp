#include "engine/WorkerWait.h"

#include "engine/TUpdate.h"

#include <QEventLoop>
#include <QTimer>

bool runWorkerAndWait(const upd& u, WorkerContext& context, const std::function<void(const CopyProgress&)>& showProgress,
                      std::chrono::milliseconds interval)
{
    context.failure.clear();
    context.progress.length.store(0, std::memory_order_relaxed);
    context.progress.position.store(0, std::memory_order_relaxed);
    context.imdone.store(false, std::memory_order_relaxed);

    QEventLoop loop;
    QTimer ticker;
    if (showProgress) {
        QObject::connect(&ticker, &QTimer::timeout, &loop, [&] { showProgress(context.progress); });
        ticker.start(interval);
    }
    TUpdate::Create(u, context, loop);
    while (!context.imdone.load(std::memory_order_acquire))
        loop.exec();
    ticker.stop();
    if (showProgress)
        showProgress(context.progress);
    return context.failure.isEmpty();
}
