#include "ui/main/SingleInstance.h"

#include "store/PathRules.h"

#include <QCryptographicHash>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <unistd.h>
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
    requests_ = std::make_unique<QSocketNotifier>(static_cast<qintptr>(channel_.handle()), QSocketNotifier::Read);
    connect(requests_.get(), &QSocketNotifier::activated, this, [this] {
        if (channel_.takeRequests() > 0)
            emit showRequested();
    });
    return true;
}
