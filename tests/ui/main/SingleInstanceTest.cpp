#include "ui/main/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class SingleInstanceTest : public QObject {
    Q_OBJECT

    QString key_;

private slots:
    void init()
    {
        key_ = SingleInstance::keyFor(QStringLiteral("/opt/test-%1/Updater").arg(QCoreApplication::applicationPid()));
    }

    void aSecondStartReachesTheFirst()
    {
        SingleInstance first(key_);
        QVERIFY(!first.askRunningInstanceToShow());
        QVERIFY(first.listen());
        QSignalSpy shows(&first, &SingleInstance::showRequested);

        SingleInstance second(key_);
        QVERIFY(second.askRunningInstanceToShow());
        QVERIFY(shows.wait(2000));
    }

    void whatACrashLeftBehindIsReplaced()
    {
        // The socket of an instance that died without cleaning up: bound, never listened on.
        const QByteArray path = QFile::encodeName(QDir::tempPath() + '/' + key_);
        const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        QCOMPARE(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(stale);
        QLocalServer plain;
        QVERIFY(!plain.listen(key_)); // the stale socket is in the way

        SingleInstance restarted(key_);
        QVERIFY(!restarted.askRunningInstanceToShow());
        QVERIFY(restarted.listen());
    }

    void keysSeparateInstallations()
    {
        QCOMPARE(SingleInstance::keyFor("/opt/a/Updater"), SingleInstance::keyFor("/opt/a/Other"));
        QVERIFY(SingleInstance::keyFor("/opt/a/Updater") != SingleInstance::keyFor("/opt/b/Updater"));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
