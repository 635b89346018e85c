#include "ui/main/SingleInstance.h"

#include "store/PathRules.h"

#include <QCryptographicHash>
#include <QLocalSocket>

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

constexpr int AnswerTimeoutMs = 2000;

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), key_(key)
{
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* connection = server_.nextPendingConnection())
            connection->deleteLater();
        emit showRequested();
    });
}

QString SingleInstance::keyFor(const QString& executablePath)
{
    const QByteArray identity = (userIdentity() + u'\n' + folderPart(executablePath)).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("Updater-") + QString::fromLatin1(digest);
}

bool SingleInstance::askRunningInstanceToShow()
{
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(AnswerTimeoutMs))
        return false;
    socket.write("show\n");
    socket.waitForBytesWritten(AnswerTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(key_))
        return true;
    // Nobody answered on the key, so what is left there is from an instance that crashed.
    if (server_.serverError() == QAbstractSocket::AddressInUseError && QLocalServer::removeServer(key_))
        return server_.listen(key_);
    return false;
}
