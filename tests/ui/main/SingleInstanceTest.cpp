#include "ui/main/SingleInstance.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Binds a socket at `path` and abandons it, as an instance that crashed leaves it.
void leaveSocketAt(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, name.constData(), sizeof address.sun_path - 1);
    QCOMPARE(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

    QTemporaryDir runtime_;
    const QString key_ = SingleInstance::keyFor(QStringLiteral("/opt/Updater/Updater"));

    QString socketPath() const { return runtime_.path() + '/' + key_ + ".socket"; }

private slots:
    void init()
    {
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        QFile::remove(socketPath());
    }

    void aSecondStartReachesTheFirst()
    {
        SingleInstance first(key_);
        QVERIFY(!first.askRunningInstanceToShow());
        QVERIFY(first.listen());
        QCOMPARE(QFileInfo(socketPath()).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::WriteGroup),
                 QFile::Permissions());
        QSignalSpy shows(&first, &SingleInstance::showRequested);

        SingleInstance second(key_);
        QVERIFY(second.askRunningInstanceToShow());
        QVERIFY(!second.listen());
        QVERIFY(shows.wait(2000));
        QVERIFY(SingleInstance(key_).askRunningInstanceToShow());
        QVERIFY(shows.wait(2000));
    }

    void theSocketGoesWithTheInstance()
    {
        {
            SingleInstance first(key_);
            QVERIFY(first.listen());
        }
        QVERIFY(!QFile::exists(socketPath()));
        QVERIFY(!SingleInstance(key_).askRunningInstanceToShow());
    }

    void whatACrashLeftBehindIsReplaced()
    {
        leaveSocketAt(socketPath());
        SingleInstance restarted(key_);
        QVERIFY(!restarted.askRunningInstanceToShow());
        QVERIFY(restarted.listen());
        QSignalSpy shows(&restarted, &SingleInstance::showRequested);
        QVERIFY(SingleInstance(key_).askRunningInstanceToShow());
        QVERIFY(shows.wait(2000));
    }

    void anotherUsersFileIsLeftAlone()
    {
        leaveSocketAt(socketPath());
        QCOMPARE(::chown(QFile::encodeName(socketPath()).constData(), 65534, 65534), 0);
        SingleInstance mine(key_);
        QVERIFY(!mine.askRunningInstanceToShow());
        QVERIFY(!mine.listen());
        QVERIFY(QFile::exists(socketPath()));
    }

    void keysSeparateInstallations()
    {
        QCOMPARE(SingleInstance::keyFor("/opt/a/Updater"), SingleInstance::keyFor("/opt/a/Other"));
        QVERIFY(SingleInstance::keyFor("/opt/a/Updater") != SingleInstance::keyFor("/opt/b/Updater"));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
