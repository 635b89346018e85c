#include "engine/ProcessGuard.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeProcessTable.h"
#include "tests/support/RunningProgram.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using Entries = std::vector<platform::ProcessEntry>;
Q_DECLARE_METATYPE(Entries)

namespace {

// Names of this run only: other test runs on the machine start programs of their own.
QString uniqueDigits() { return QString::number(QRandomGenerator::global()->bounded(100000, 999999)); }

// Waits until the kernel reports `comm` as the process's short name.
bool waitForShortName(pid_t pid, const QByteArray& comm)
{
    QFile file(QStringLiteral("/proc/%1/comm").arg(pid));
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed() == comm)
            return true;
        file.close();
        QThread::msleep(10);
    }
    return false;
}

platform::ProcessEntry entry(std::uint32_t pid, const char* exe, std::vector<std::string> alternates = {})
{
    return {pid, exe, std::move(alternates)};
}

enum class AfterStart { Nothing, Replaced, Removed };

} // namespace

Q_DECLARE_METATYPE(AfterStart)

class ProcessGuardTest : public QObject {
    Q_OBJECT

private slots:
    void nameMatch_data();
    void nameMatch();
    void killTaskOutcome_data();
    void killTaskOutcome();
    void findsRealProcesses_data();
    void findsRealProcesses();
    void findsProgramByShortNameOnly();
    void skipsZombies();
    void killsEveryInstance();
    void refusedKillReturnsZero();

private:
    QTemporaryDir folder_;
};

void ProcessGuardTest::nameMatch_data()
{
    QTest::addColumn<QString>("processName");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("matches");

    QTest::addRow("same name") << "Foo.exe" << "Foo.exe" << true;
    QTest::addRow("lower-case process name") << "foo.exe" << "Foo.exe" << true;
    QTest::addRow("upper-case process name") << "FOO.EXE" << "Foo.exe" << true;
    QTest::addRow("mixed case") << "Foo.Exe" << "fOO.eXE" << true;
    QTest::addRow("non-ASCII letter in another case") << "Caf\u00e9.exe" << "CAF\u00c9.EXE" << false;
    QTest::addRow("non-ASCII letter in the same case") << "caf\u00e9.exe" << "CAF\u00e9.EXE" << true;
    QTest::addRow("Windows path, through its file-name part") << "C:\\Apps\\Foo.exe" << "foo.exe" << true;
    QTest::addRow("Windows path, through the whole name") << "C:\\Apps\\Foo.exe" << "c:\\apps\\FOO.EXE" << true;
    QTest::addRow("Unix path, through its file-name part") << "/opt/x/Foo.exe" << "FOO.exe" << true;
    QTest::addRow("drive and name") << "C:Foo.exe" << "foo.exe" << true;
    QTest::addRow("argument without extension") << "Foo.exe" << "Foo" << false;
    QTest::addRow("path as argument, bare process name") << "Foo.exe" << "C:\\Apps\\Foo.exe" << false;
    QTest::addRow("another folder in the whole name") << "C:\\Old\\Foo.exe" << "c:\\apps\\foo.exe" << false;
    QTest::addRow("no trimming of the argument") << "Foo.exe" << "Foo.exe " << false;
    QTest::addRow("no trimming of the name") << " Foo.exe" << "Foo.exe" << false;
    QTest::addRow("no wildcard") << "Foo.exe" << "*.exe" << false;
    QTest::addRow("empty argument") << "Foo.exe" << "" << false;
}

void ProcessGuardTest::nameMatch()
{
    QFETCH(QString, processName);
    QFETCH(QString, argument);
    QFETCH(bool, matches);
    QCOMPARE(processNameMatches(processName, argument), matches);
}

void ProcessGuardTest::killTaskOutcome_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<std::int32_t>("result");
    QTest::addColumn<QList<std::uint32_t>>("requested");

    const Entries twoMatches{entry(10, "C:\\Apps\\Foo.exe"), entry(11, "bash"), entry(12, "FOO.EXE")};
    QTest::addRow("first refused, second accepted")
        << twoMatches << QList<bool>{false, true} << true << 1 << QList<std::uint32_t>{10, 12};
    QTest::addRow("first accepted, second refused")
        << twoMatches << QList<bool>{true, false} << true << 0 << QList<std::uint32_t>{10, 12};
    QTest::addRow("no match: nothing requested")
        << Entries{entry(10, "Bar.exe"), entry(11, "Foo")} << QList<bool>{true} << false << 0 << QList<std::uint32_t>{};
    QTest::addRow("empty snapshot") << Entries{} << QList<bool>{} << false << 0 << QList<std::uint32_t>{};
    QTest::addRow("matched through an alternate name")
        << Entries{entry(20, "/usr/lib/wine/wine64-preloader", {"C:\\Apps\\Foo.exe", "Foo.exe"}),
                   entry(21, "", {"Foo.exe"})}
        << QList<bool>{true, true} << true << 1 << QList<std::uint32_t>{20, 21};
}

void ProcessGuardTest::killTaskOutcome()
{
    QFETCH(Entries, entries);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, exists);
    QFETCH(std::int32_t, result);
    QFETCH(QList<std::uint32_t>, requested);

    FakeProcessTable table;
    table.entries = entries;
    table.answers = answers;
    QCOMPARE(processExists("Foo.exe", table), exists);
    QVERIFY(table.requested.isEmpty());
    QCOMPARE(KillTask("Foo.exe", table), result);
    QCOMPARE(table.requested, requested);
}

void ProcessGuardTest::findsRealProcesses_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("argv0");
    QTest::addColumn<AfterStart>("afterStart");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("exists");

    // %1 stands for digits of this run. "LongName%1.exe" is longer than a short name holds,
    // and the argv[0] "x" hides it: those rows are found through the executable alone.
    QTest::addRow("started from its file") << "F%1.exe" << "" << AfterStart::Nothing << "f%1.EXE" << true;
    QTest::addRow("found through its executable")
        << "LongName%1.exe" << "x" << AfterStart::Nothing << "longname%1.exe" << true;
    QTest::addRow("executable replaced while running")
        << "LongName%1.exe" << "x" << AfterStart::Replaced << "LongName%1.exe" << true;
    QTest::addRow("executable removed while running")
        << "LongName%1.exe" << "x" << AfterStart::Removed << "LongName%1.exe" << true;
    QTest::addRow("loader with a Windows argv[0]")
        << "loader%1" << "C:\\Apps\\LongName%1.exe" << AfterStart::Nothing << "LongName%1.exe" << true;
    QTest::addRow("loader with a Windows argv[0], whole path asked")
        << "loader%1" << "C:\\Apps\\LongName%1.exe" << AfterStart::Nothing << "c:\\apps\\LONGNAME%1.EXE" << true;
    QTest::addRow("loader with a Unix argv[0]")
        << "loader%1" << "/root/.wine/drive_c/Apps/LongName%1.exe" << AfterStart::Nothing << "LongName%1.exe" << true;
    QTest::addRow("argument without extension") << "F%1.exe" << "" << AfterStart::Nothing << "F%1" << false;
    QTest::addRow("another program") << "B%1.exe" << "" << AfterStart::Nothing << "F%1.exe" << false;
}

void ProcessGuardTest::findsRealProcesses()
{
    QFETCH(QString, fileName);
    QFETCH(QString, argv0);
    QFETCH(AfterStart, afterStart);
    QFETCH(QString, argument);
    QFETCH(bool, exists);

    const QString digits = uniqueDigits();
    const QString executable = folder_.filePath(fileName.arg(digits));
    QVERIFY(QFile::copy("/bin/sleep", executable));
    RunningProgram program(executable, argv0.arg(digits).toUtf8());
    QVERIFY(program.pid() > 0);

    if (afterStart == AfterStart::Replaced) {
        const QString update = executable + ".new";
        QVERIFY(QFile::copy("/bin/sleep", update));
        QVERIFY(::rename(QFile::encodeName(update).constData(), QFile::encodeName(executable).constData()) == 0);
    } else if (afterStart == AfterStart::Removed) {
        QVERIFY(QFile::remove(executable));
    }

    QCOMPARE(processExists(argument.arg(digits)), exists);
    program.end();
    QVERIFY(!processExists(argument.arg(digits)));
    QFile::remove(executable);
}

void ProcessGuardTest::findsProgramByShortNameOnly()
{
    // A loader names its process after the program, cut to 15 bytes, and keeps its own
    // executable and argv[0]: here the test's own.
    const QByteArray name = "F" + uniqueDigits().toLatin1() + ".exe";
    RunningProgram program(startChild([&] {
        ::prctl(PR_SET_NAME, name.constData());
        for (;;)
            ::pause();
    }));
    QVERIFY(waitForShortName(program.pid(), name));
    QVERIFY(processExists(QString::fromLatin1(name).toLower()));
}

void ProcessGuardTest::skipsZombies()
{
    const QByteArray name = "F" + uniqueDigits().toLatin1() + ".exe";
    RunningProgram program(startChild([&] { ::prctl(PR_SET_NAME, name.constData()); }));
    siginfo_t info{};
    QVERIFY(::waitid(P_PID, static_cast<id_t>(program.pid()), &info, WEXITED | WNOWAIT) == 0); // now a zombie
    QVERIFY(!processExists(QString::fromLatin1(name)));
    QCOMPARE(KillTask(QString::fromLatin1(name)), 0);
    QVERIFY(!processExists(QStringLiteral("kthreadd"))); // a kernel thread
}

void ProcessGuardTest::killsEveryInstance()
{
    const QString name = "F" + uniqueDigits() + ".exe";
    const QString executable = folder_.filePath(name);
    QVERIFY(QFile::copy("/bin/sleep", executable));
    RunningProgram first(executable, {});
    RunningProgram second(executable, {});
    QVERIFY(first.pid() > 0 && second.pid() > 0);

    QVERIFY(processExists(name));
    QCOMPARE(KillTask(name.toUpper()), 1);
    QVERIFY(processesGoneWithin(name, std::chrono::seconds(2))); // not reaped yet: zombies do not count
    QCOMPARE(first.reap(), SIGKILL);
    QCOMPARE(second.reap(), SIGKILL);
    QVERIFY(!processExists(name));
    QCOMPARE(KillTask(name), 0);
}

void ProcessGuardTest::refusedKillReturnsZero()
{
    const QString name = "F" + uniqueDigits() + ".exe";
    const QString executable = folder_.filePath(name);
    QVERIFY(QFile::copy("/bin/sleep", executable));
    RunningProgram program(executable, {});
    QVERIFY(program.pid() > 0);

    // Another user may see the program but not end it.
    const int status = runInChild(
        [&] {
            if (!processExists(name) || KillTask(name) != 0)
                throw std::runtime_error("unexpected outcome");
        },
        {.fileSizeLimit = std::nullopt, .asNobody = true});
    QCOMPARE(status, 0);
    QVERIFY(!processesGoneWithin(name, std::chrono::milliseconds(50)));
}

QTEST_GUILESS_MAIN(ProcessGuardTest)
#include "ProcessGuardTest.moc"
