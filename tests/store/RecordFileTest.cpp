#include "platform/IoError.h"
#include "store/RecordStores.h"
#include "store/RecordText.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Fixtures.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>

namespace {

QByteArray toolRecord(std::int32_t id, const QByteArray& version)
{
    // Garbage behind every text and in the last byte: a reader must keep it untouched.
    return recordBytes(id, "Tool", "/opt/tool/", version, 0xA7, '\x5A');
}

std::vector<prog> programsNamed(int count)
{
    std::vector<prog> list(static_cast<std::size_t>(count), zeroRecord<prog>());
    for (int i = 0; i < count; ++i) {
        list[static_cast<std::size_t>(i)].id = i + 1;
        storeText(list[static_cast<std::size_t>(i)].name, QStringLiteral("Program%1").arg(i));
        storeText(list[static_cast<std::size_t>(i)].version, QStringLiteral("2"));
    }
    return list;
}

// Others may enter and read the folder, not write it.
void openToEveryone(const QString& folder)
{
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther));
}

int ioErrorCode(const std::function<void()>& action)
{
    try {
        action();
    } catch (const platform::IoError& error) {
        return error.code();
    }
    return 0;
}

} // namespace

class RecordFileTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir.reset(new QTemporaryDir);
        folder = dir->path() + u'/';
    }

    void loadsWholeRecords_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("records");
        QTest::addRow("empty file") << 0 << 0;
        QTest::addRow("527 bytes: no whole record") << 527 << 0;
        QTest::addRow("one record") << 528 << 1;
        QTest::addRow("1000 bytes: the tail is ignored") << 1000 << 1;
        QTest::addRow("three records") << 3 * 528 << 3;
    }
    void loadsWholeRecords()
    {
        QFETCH(int, size);
        QFETCH(int, records);
        QByteArray bytes = toolRecord(7, "12") + toolRecord(8, "13") + toolRecord(9, "14");
        bytes.resize(size, '\x33');
        writeFile(folder + "programs.conf", bytes);

        std::vector<prog> list = programsNamed(5); // replaced by the load
        std::int32_t count = 5;
        QCOMPARE(LoadAvailabelPrograms(list, count, folder), records > 0);
        QCOMPARE(count, records);
        QCOMPARE(int(list.size()), records);
        for (int i = 0; i < records; ++i) {
            QCOMPARE(list[i].id, 7 + i);
            QCOMPARE(readText(list[i].name), QStringLiteral("Tool"));
            QCOMPARE(readText(list[i].version), QString::number(12 + i));
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(&list[i]), 528), bytes.mid(528 * i, 528));
        }
    }

    void savesEveryByteAsRead()
    {
        const QByteArray bytes = recordBytes(-4, "Tool", "C:\\Apps\\Tool\\", "5", 2, '\xEE') + toolRecord(2, "7");
        writeFile(folder + "update.conf", bytes);
        std::vector<upd> updates;
        std::int32_t updatesdb = 0;
        QVERIFY(LoadUpdateList(updates, updatesdb, folder));
        QVERIFY(updates[0].complete); // any nonzero byte is true
        QCOMPARE(updates[0].id, -4);

        QVERIFY(QDir().mkdir(folder + "out"));
        SaveUpdateList(updates, folder + "out/");
        QCOMPARE(readFile(folder + "out/update.conf"), bytes);
    }

    void storingTextKeepsBytesBehindIt()
    {
        prog record;
        std::memcpy(&record, toolRecord(1, "1234567").constData(), 528);
        storeText(record.name, QString(300, u'n'));
        storeText(record.version, QStringLiteral("123456789012"));
        storeText(record.path, QStringLiteral("ab"));
        QCOMPARE(record.name.length, 255);
        QCOMPARE(readText(record.version), QStringLiteral("1234567890"));
        QCOMPARE(record.path.text[2], 'p'); // what "/opt/tool/" left behind "ab"
        QCOMPARE(record.fill, 0xA7);
    }

    void exactEquality_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("equal");
        QTest::addRow("same") << "Tool" << "Tool" << true;
        QTest::addRow("letter case differs") << "Tool" << "tool" << false;
        QTest::addRow("trailing blank") << "Tool" << "Tool " << false;
        QTest::addRow("both empty") << "" << "" << true;
    }
    void exactEquality()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, equal);
        prog x = zeroRecord<prog>();
        upd y = zeroRecord<upd>();
        y.name.text[10] = 'z'; // bytes behind the text do not count
        storeText(x.name, a);
        storeText(y.name, b);
        QCOMPARE(exactlyEqual(x.name, y.name), equal);
    }

    void missingFileChangesNothing()
    {
        QVERIFY(QDir().mkdir(folder + "update.conf")); // a folder of that name does not count
        std::vector<upd> updates(2, zeroRecord<upd>());
        std::int32_t updatesdb = 2;
        QVERIFY(!LoadUpdateList(updates, updatesdb, folder));
        QVERIFY(!LoadUpdateList(updates, updatesdb, folder + "nowhere/"));
        QCOMPARE(updatesdb, 2);
        QCOMPARE(updates.size(), 2u);
    }

    void emptyListGivesEmptyFile()
    {
        writeFile(folder + "programs.conf", toolRecord(1, "1"));
        SaveAvailablePrograms({}, folder);
        QCOMPARE(readFile(folder + "programs.conf"), QByteArray());
        QCOMPARE(entriesOf(folder), QStringList{"programs.conf"});
    }

    void pathLimit()
    {
        // 259 characters are allowed; 260 fail with code 3 before anything is created.
        const QString base = folder + QString(240 - folder.size(), u'd') + u'/';
        QVERIFY(QDir().mkpath(base));
        const QString fits = base + QString(259 - base.size() - 14, u'x') + u'/';
        QVERIFY(QDir().mkpath(fits));
        QCOMPARE((fits + "programs.conf").size(), 259);
        SaveAvailablePrograms(programsNamed(1), fits);

        const QString tooLong = base + QString(260 - base.size() - 14, u'y') + u'/';
        QVERIFY(QDir().mkpath(tooLong));
        QCOMPARE(ioErrorCode([&] { SaveAvailablePrograms(programsNamed(1), tooLong); }), platform::IoError::PathTooLong);
        QVERIFY(entriesOf(tooLong).isEmpty());
        std::vector<prog> list;
        std::int32_t count = 0;
        QCOMPARE(ioErrorCode([&] { LoadAvailabelPrograms(list, count, tooLong); }), platform::IoError::PathTooLong);
    }

    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<int>("expectedCode");
        QTest::addColumn<bool>("throughRegularFile");
        QTest::addColumn<bool>("asNobody");
        QTest::addColumn<qint64>("fileSizeLimit");
        QTest::addRow("short write (file size limit)") << int(platform::IoError::ShortWrite) << false << false << qint64(4000);
        QTest::addRow("no room at all (file size limit 0)") << int(EFBIG) << false << false << qint64(0);
        QTest::addRow("folder the user may not write") << int(EACCES) << false << true << qint64(-1);
        QTest::addRow("path through a regular file") << int(ENOTDIR) << true << false << qint64(-1);
    }
    void failedSaveKeepsOldFile()
    {
        QFETCH(int, expectedCode);
        QFETCH(bool, throughRegularFile);
        QFETCH(bool, asNobody);
        QFETCH(qint64, fileSizeLimit);
        const QByteArray old = toolRecord(1, "1") + toolRecord(2, "2");
        writeFile(folder + "programs.conf", old);
        openToEveryone(dir->path());
        const QString target = throughRegularFile ? folder + "programs.conf/" : folder;
        ChildLimits limits;
        limits.asNobody = asNobody;
        if (fileSizeLimit >= 0)
            limits.fileSizeLimit = fileSizeLimit;
        const int code = runInChild([&] { SaveAvailablePrograms(programsNamed(100), target); }, limits);
        QCOMPARE(code, expectedCode);
        QCOMPARE(readFile(folder + "programs.conf"), old);
        QCOMPARE(entriesOf(folder), QStringList{"programs.conf"});
    }

    void unreadableFileIsAnError()
    {
        // Neither a file the user may not read nor one in a folder the user may not enter
        // passes for a missing file.
        writeFile(folder + "update.conf", toolRecord(1, "1"));
        std::vector<upd> updates;
        std::int32_t updatesdb = 0;
        QCOMPARE(runInChild([&] { LoadUpdateList(updates, updatesdb, folder); }, asNobody()), EACCES);
        openToEveryone(dir->path());
        QVERIFY(QFile::setPermissions(folder + "update.conf", QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(runInChild([&] { LoadUpdateList(updates, updatesdb, folder); }, asNobody()), EACCES);
    }

    void readOnlyFileCanBeLoaded()
    {
        // A client that may only read the update folder still gets the list.
        writeFile(folder + "update.conf", toolRecord(1, "1"));
        openToEveryone(dir->path());
        QVERIFY(QFile::setPermissions(folder + "update.conf", QFile::ReadOwner | QFile::ReadOther));
        std::vector<upd> updates;
        std::int32_t updatesdb = 0;
        const int code = runInChild(
            [&] {
                if (!LoadUpdateList(updates, updatesdb, folder) || updatesdb != 1)
                    throw std::runtime_error("not loaded");
            },
            asNobody());
        QCOMPARE(code, 0);
    }

    void killedWhileSavingLeavesOldOrNewFile()
    {
        const QByteArray old = toolRecord(1, "1");
        writeFile(folder + "programs.conf", old);
        const std::vector<prog> large = programsNamed(200000); // about 100 MiB
        const QByteArray fresh(reinterpret_cast<const char*>(large.data()), qsizetype(large.size() * 528));
        for (int delayMs : {5, 40, 150}) {
            const pid_t child = startChild([&] {
                for (;;)
                    SaveAvailablePrograms(large, folder);
            });
            QTest::qWait(delayMs);
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const QByteArray now = readFile(folder + "programs.conf");
            QVERIFY2(now == old || now == fresh, qPrintable(QStringLiteral("%1 bytes after %2 ms").arg(now.size()).arg(delayMs)));
            QCOMPARE(entriesOf(folder), QStringList{"programs.conf"});
        }
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString folder;
};

QTEST_GUILESS_MAIN(RecordFileTest)
#include "RecordFileTest.moc"
