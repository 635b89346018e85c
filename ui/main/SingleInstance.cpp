#include "ui/main/SingleInstance.h"

#include "store/PathRules.h"

#include <QCryptographicHash>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <QWinEventNotifier>
#endif

namespace {

QString userIdentity()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), channel_(key.toStdString()) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::keyFor(const QString& executablePath)
{
    const QByteArray identity = (userIdentity() + u'\n' + folderPart(executablePath)).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("Updater-") + QString::fromLatin1(digest);
}

bool SingleInstance::askRunningInstanceToShow() { return channel_.askRunningInstance(); }

bool SingleInstance::listen()
{
    if (!channel_.listen())
        return false;
    const auto take = [this] {
        if (channel_.takeRequests() > 0)
            emit showRequested();
    };
#ifdef Q_OS_WIN
    // There the channel is an event to wait on, not a socket.
    requests_ = std::make_unique<QWinEventNotifier>(reinterpret_cast<Qt::HANDLE>(channel_.handle()));
    connect(requests_.get(), &QWinEventNotifier::activated, this, take);
#else
    requests_ = std::make_unique<QSocketNotifier>(static_cast<qintptr>(channel_.handle()), QSocketNotifier::Read);
    connect(requests_.get(), &QSocketNotifier::activated, this, take);
#endif
    return true;
}
