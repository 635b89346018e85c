#include "platform/linux/ProcFsProcessTable.h"
#include "tests/support/Fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

// One process directory of a made-up proc tree; an empty text leaves that file out.
struct FakeProcess {
    QString pid;
    QByteArray stat;
    QByteArray exeTarget;
    QByteArray cmdline;
};

QByteArray stat(const QByteArray& comm, char state, unsigned long flags)
{
    return "4242 (" + comm + ") " + QByteArray(1, state) + " 1 4242 4242 0 -1 " + QByteArray::number(flags) +
           " 100 0 0 0 3 1 0 0 20 0 1 0 555 1000 200\n";
}

constexpr unsigned long UserFlags = 0x00400100;
constexpr unsigned long KernelThreadFlags = 0x00208040;

// "pid: exe | alternate names" for each entry, in pid order.
QStringList describe(std::vector<platform::ProcessEntry> entries)
{
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.pid < b.pid; });
    QStringList lines;
    for (const auto& entry : entries) {
        QStringList alternates;
        for (const auto& name : entry.alternateNames)
            alternates << QString::fromStdString(name);
        lines << QString::number(entry.pid) + ": " + QString::fromStdString(entry.exeFile) + " | " + alternates.join(", ");
    }
    return lines;
}

} // namespace

class ProcFsProcessTableTest : public QObject {
    Q_OBJECT

private slots:
    void readsMadeUpTree_data();
    void readsMadeUpTree();
    void missingRootGivesEmptySnapshot();
    void findsItselfInRealProc();
    void terminateReportsRefusal();
};

void ProcFsProcessTableTest::readsMadeUpTree_data()
{
    QTest::addColumn<QList<FakeProcess>>("processes");
    QTest::addColumn<QStringList>("expected");

    QTest::addRow("program with every name")
        << QList<FakeProcess>{{"17", stat("Foo.exe", 'S', UserFlags), "/opt/x/Foo.exe", QByteArray("/opt/x/Foo.exe\0-q\0", 18)}}
        << QStringList{"17: /opt/x/Foo.exe | /opt/x/Foo.exe, Foo.exe"};
    QTest::addRow("executable replaced after the start")
        << QList<FakeProcess>{{"17", stat("Foo.exe", 'R', UserFlags), "/opt/x/Foo.exe (deleted)", QByteArray("Foo.exe\0", 8)}}
        << QStringList{"17: /opt/x/Foo.exe | Foo.exe, Foo.exe"};
    QTest::addRow("program run through a loader")
        << QList<FakeProcess>{{"9", stat("LongProgramName", 'S', UserFlags), "/usr/lib/wine/wine64-preloader",
                               QByteArray("C:\\Apps\\LongProgramName.exe\0", 28)}}
        << QStringList{"9: /usr/lib/wine/wine64-preloader | C:\\Apps\\LongProgramName.exe, LongProgramName"};
    QTest::addRow("short name with spaces and parentheses")
        << QList<FakeProcess>{{"5", stat("a) (b", 'S', UserFlags), "/bin/a", {}}} << QStringList{"5: /bin/a | a) (b"};
    QTest::addRow("executable that may not be read")
        << QList<FakeProcess>{{"5", stat("Foo.exe", 'S', UserFlags), {}, QByteArray("Foo.exe\0", 8)}}
        << QStringList{"5:  | Foo.exe, Foo.exe"};
    QTest::addRow("zombie, kernel thread and vanished process left out")
        << QList<FakeProcess>{{"3", stat("Foo.exe", 'Z', UserFlags), {}, {}},
                              {"4", stat("kthreadd", 'S', KernelThreadFlags), {}, {}},
                              {"6", {}, "/opt/x/Foo.exe", {}},
                              {"7", stat("Foo.exe", 'S', UserFlags), "/opt/x/Foo.exe", {}}}
        << QStringList{"7: /opt/x/Foo.exe | Foo.exe"};
    QTest::addRow("entries that are not processes ignored")
        << QList<FakeProcess>{{"self", stat("x", 'S', UserFlags), "/bin/x", {}},
                              {"12abc", stat("x", 'S', UserFlags), "/bin/x", {}},
                              {"0", stat("x", 'S', UserFlags), "/bin/x", {}},
                              {"99999999999", stat("x", 'S', UserFlags), "/bin/x", {}}}
        << QStringList{};
    QTest::addRow("unreadable status left out")
        << QList<FakeProcess>{{"8", "8 (Foo.exe S 1", "/opt/x/Foo.exe", {}}, {"9", "9 (x) S 1 2", "/bin/x", {}}}
        << QStringList{};
}

void ProcFsProcessTableTest::readsMadeUpTree()
{
    QFETCH(QList<FakeProcess>, processes);
    QFETCH(QStringList, expected);

    QTemporaryDir root;
    for (const FakeProcess& process : processes) {
        const QString folder = root.filePath(process.pid);
        QVERIFY(QDir().mkpath(folder));
        if (!process.stat.isEmpty())
            writeFile(folder + "/stat", process.stat);
        if (!process.cmdline.isEmpty())
            writeFile(folder + "/cmdline", process.cmdline);
        if (!process.exeTarget.isEmpty())
            QVERIFY(::symlink(process.exeTarget.constData(), QFile::encodeName(folder + "/exe").constData()) == 0);
    }

    platform::ProcFsProcessTable table(root.path().toStdString());
    QCOMPARE(describe(table.snapshot()), expected);
}

void ProcFsProcessTableTest::missingRootGivesEmptySnapshot()
{
    platform::ProcFsProcessTable table("/nonexistent/proc");
    QVERIFY(table.snapshot().empty());
}

void ProcFsProcessTableTest::findsItselfInRealProc()
{
    const auto entries = platform::systemProcessTable().snapshot();
    const auto self = std::find_if(entries.begin(), entries.end(),
                                   [](const auto& entry) { return entry.pid == static_cast<std::uint32_t>(::getpid()); });
    QVERIFY(self != entries.end());
    QCOMPARE(QString::fromStdString(self->exeFile), QFileInfo("/proc/self/exe").symLinkTarget());
    QVERIFY(std::none_of(entries.begin(), entries.end(), [](const auto& entry) { return entry.pid == 2; })); // kthreadd
}

void ProcFsProcessTableTest::terminateReportsRefusal()
{
    // No process has the largest pid the kernel can hand out plus one.
    QVERIFY(!platform::systemProcessTable().terminate(4194305));
    QVERIFY(!platform::systemProcessTable().terminate(0xffffffffU));
}

QTEST_GUILESS_MAIN(ProcFsProcessTableTest)
#include "ProcFsProcessTableTest.moc"
