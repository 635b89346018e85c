#include "engine/TUpdate.h"
#include "engine/WorkerWait.h"
#include "store/RecordText.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Relative path → content; a path ending in '/' is a folder, a content starting with "->"
// a symbolic link to the rest.
using Files = QMap<QString, QByteArray>;

struct Program {
    QString name;
    QString folder; // relative to the test's root
};

QByteArray pattern(int size, int seed = 1)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed * 13) % 251);
    return bytes;
}

void create(const QString& root, const Files& files)
{
    for (auto file = files.begin(); file != files.end(); ++file) {
        const QString path = root + '/' + file.key();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (file.key().endsWith('/'))
            QVERIFY(QDir().mkpath(path));
        else if (file.value().startsWith("->"))
            QVERIFY(QFile::link(QString::fromUtf8(file.value().mid(2)), path));
        else
            writeFile(path, file.value());
    }
}

// Every entry under `folder`, hidden ones included, with its content and permission bits:
// shows any change, and any temporary file left behind.
Files contentsOf(const QString& folder)
{
    Files files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(folder).relativeFilePath(path);
        struct stat info {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        const QByteArray mode = " mode " + QByteArray::number(info.st_mode & 07777, 8);
        if (S_ISDIR(info.st_mode))
            files[relative + '/'] = mode;
        else if (S_ISLNK(info.st_mode))
            files[relative] = "->" + QFile::encodeName(QFileInfo(path).symLinkTarget());
        else
            files[relative] = readFile(path) + mode;
    }
    return files;
}

std::vector<prog> programList(const QString& root, const QList<Program>& programs)
{
    std::vector<prog> list;
    for (const Program& program : programs) {
        prog record = zeroRecord<prog>();
        record.id = static_cast<std::int32_t>(list.size()) + 1;
        storeText(record.name, program.name);
        storeText(record.path, root + '/' + program.folder + '/');
        storeText(record.version, QStringLiteral("1"));
        list.push_back(record);
    }
    return list;
}

upd update(const QString& name, bool complete, const QString& version = QStringLiteral("2"))
{
    upd record = zeroRecord<upd>();
    record.id = 7;
    storeText(record.name, name);
    storeText(record.path, QStringLiteral("C:\\Apps\\") + name + '\\');
    storeText(record.version, version);
    record.complete = complete ? 1 : 0;
    return record;
}

QStringList versionsOf(const std::vector<prog>& programok)
{
    QStringList versions;
    for (const prog& program : programok)
        versions << readText(program.version);
    return versions;
}

// What one worker did, run here or in a child process with limits.
struct Outcome {
    bool applied = false;
    bool imdone = false;
    QStringList versions;
    QString failure;
};

Outcome runWorker(const upd& u, std::vector<prog> programok, const QString& update_path,
                  const std::optional<ChildLimits>& inChild = std::nullopt, const std::function<void()>& first = {})
{
    auto run = [&] {
        if (first)
            first();
        std::atomic<bool> imdone{true};
        WorkerContext context(programok, update_path, imdone);
        Outcome outcome;
        outcome.applied = runWorkerAndWait(u, context);
        outcome.imdone = imdone.load(std::memory_order_acquire);
        outcome.versions = versionsOf(programok);
        outcome.failure = context.failure;
        return outcome;
    };
    if (!inChild)
        return run();

    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const int status = runInChild(
        [&] {
            const Outcome outcome = run();
            const QByteArray report = QStringList{outcome.applied ? "1" : "0", outcome.imdone ? "1" : "0",
                                                  outcome.versions.join(','), outcome.failure}
                                          .join('\n')
                                          .toUtf8();
            if (::write(channel[1], report.constData(), static_cast<std::size_t>(report.size())) != report.size())
                throw std::runtime_error("report not written");
        },
        *inChild);
    ::close(channel[1]);
    QByteArray report;
    char block[4096];
    for (ssize_t got; (got = ::read(channel[0], block, sizeof block)) > 0;)
        report.append(block, got);
    ::close(channel[0]);
    const QStringList parts = QString::fromUtf8(report).split('\n');
    if (status != 0 || parts.size() < 4)
        return {false, false, {}, QStringLiteral("child exited with %1").arg(status)};
    return {parts[0] == "1", parts[1] == "1", parts[2].split(','), parts.mid(3).join('\n')};
}

enum class Fault {
    SourceVanished,
    SourceShrank,
    SourceIsPipe,
    SubfolderMissing,
    UpdateFolderThroughFile,
    ProgramFolderMissing,
    ProgramFolderThroughFile,
    DestinationIsFolder,
    DestinationImmutable,
    PathTooLong,
    DiskFull,
    FolderNotWritable,
    NoThread,
};

} // namespace

Q_DECLARE_METATYPE(Files)
Q_DECLARE_METATYPE(Program)
Q_DECLARE_METATYPE(Fault)

class TUpdateTest : public QObject {
    Q_OBJECT

private slots:
    void copies_data();
    void copies();
    void keepsPermissionBits_data();
    void keepsPermissionBits();
    void failureLeavesProgramFolderAsBefore_data();
    void failureLeavesProgramFolderAsBefore();
    void publishesProgress();
    void barValuesFitAnInt_data();
    void barValuesFitAnInt();
};

void TUpdateTest::copies_data()
{
    QTest::addColumn<QString>("updateName");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QList<Program>>("programs");
    QTest::addColumn<Files>("published"); // under the update folder
    QTest::addColumn<Files>("installed"); // under the root, before
    QTest::addColumn<Files>("changed");   // what the update is to change in `installed`
    QTest::addColumn<QStringList>("versions");

    const QList<Program> foo{{"Foo", "inst/Foo"}};
    const Files installed{{"inst/Foo/Foo.exe", "old executable"}, {"inst/Foo/data.ini", "settings"}};
    // The last size is written back in several windows while it is copied, with a data
    // sync on the way.
    for (const int size : {8193, 8194, 8195, 20000, (70 << 20) + 12345}) {
        QTest::addRow("executable of %d bytes", size)
            << "Foo" << false << foo << Files{{"Foo/Foo.exe", pattern(size)}, {"Foo/readme.txt", "not copied"}}
            << installed << Files{{"inst/Foo/Foo.exe", pattern(size)}} << QStringList{"2"};
    }
    QTest::addRow("empty executable") << "Foo" << false << foo << Files{{"Foo/Foo.exe", ""}} << installed
                                      << Files{{"inst/Foo/Foo.exe", ""}} << QStringList{"2"};
    QTest::addRow("whole folder: hidden files too, subfolders not")
        << "Foo" << true << foo
        << Files{{"Foo/Foo.exe", pattern(9000)},
                 {"Foo/.hidden", "hidden"},
                 {"Foo/lib.dll", pattern(100, 2)},
                 {"Foo/README", "no extension"},
                 {"Foo/sub/inner.dll", "not copied"}}
        << installed
        << Files{{"inst/Foo/Foo.exe", pattern(9000)},
                 {"inst/Foo/.hidden", "hidden"},
                 {"inst/Foo/lib.dll", pattern(100, 2)},
                 {"inst/Foo/README", "no extension"}}
        << QStringList{"2"};
    Files manyPublished;
    Files manyChanged;
    for (int i = 0; i < 20; ++i) { // more than are flushed one by one
        const QString name = QStringLiteral("part%1.dll").arg(i);
        manyPublished.insert("Foo/" + name, pattern(100 + i, i));
        manyChanged.insert("inst/Foo/" + name, pattern(100 + i, i));
    }
    QTest::addRow("whole folder of 20 files") << "Foo" << true << foo << manyPublished << installed << manyChanged
                                              << QStringList{"2"};
    QTest::addRow("FOO.EXE matches the mask Foo.exe and keeps its own case")
        << "Foo" << false << foo << Files{{"Foo/FOO.EXE", "new"}} << installed << Files{{"inst/Foo/FOO.EXE", "new"}}
        << QStringList{"2"};
    QTest::addRow("two programs of that name: the last one is updated")
        << "Foo" << false << QList<Program>{{"Foo", "inst/A"}, {"Foo", "inst/B"}} << Files{{"Foo/Foo.exe", "new"}}
        << Files{{"inst/A/Foo.exe", "old A"}, {"inst/B/Foo.exe", "old B"}} << Files{{"inst/B/Foo.exe", "new"}}
        << QStringList{"1", "2"};
    QTest::addRow("program name in another case: nothing")
        << "Foo" << false << QList<Program>{{"foo", "inst/Foo"}} << Files{{"Foo/Foo.exe", "new"}} << installed
        << Files{} << QStringList{"1"};
    QTest::addRow("no program of that name: nothing")
        << "Foo" << true << QList<Program>{{"Bar", "inst/Foo"}} << Files{{"Foo/Foo.exe", "new"}} << installed
        << Files{} << QStringList{"1"};
    QTest::addRow("empty update folder: version stamped")
        << "Foo" << true << foo << Files{{"Foo/", {}}} << installed << Files{} << QStringList{"2"};
    QTest::addRow("no executable in the update folder: version stamped")
        << "Foo" << false << foo << Files{{"Foo/Other.exe", "x"}} << installed << Files{} << QStringList{"2"};
    QTest::addRow("names with spaces and accents")
        << "M\u00fcller Tool" << true << QList<Program>{{"M\u00fcller Tool", "inst/Programme f\u00fcr alle"}}
        << Files{{"M\u00fcller Tool/M\u00fcller Tool.exe", pattern(10000)}, {"M\u00fcller Tool/D\u00e4tei 1.dll", "d"}}
        << Files{{"inst/Programme f\u00fcr alle/M\u00fcller Tool.exe", "old"}}
        << Files{{"inst/Programme f\u00fcr alle/M\u00fcller Tool.exe", pattern(10000)},
                 {"inst/Programme f\u00fcr alle/D\u00e4tei 1.dll", "d"}}
        << QStringList{"2"};
}

void TUpdateTest::copies()
{
    QFETCH(QString, updateName);
    QFETCH(bool, complete);
    QFETCH(QList<Program>, programs);
    QFETCH(Files, published);
    QFETCH(Files, installed);
    QFETCH(Files, changed);
    QFETCH(QStringList, versions);

    QTemporaryDir root;
    const auto install = [&](const Files& files) {
        create(root.path(), files);
        for (const Program& program : programs)
            QVERIFY(QDir().mkpath(root.filePath(program.folder)));
    };
    install(installed);
    create(root.path(), changed);
    const Files expected = contentsOf(root.filePath("inst"));
    QVERIFY(QDir(root.filePath("inst")).removeRecursively());
    install(installed);
    create(root.filePath("updates"), published);

    const Outcome outcome = runWorker(update(updateName, complete), programList(root.path(), programs),
                                      root.filePath("updates") + '/');
    QCOMPARE(outcome.failure, QString());
    QVERIFY(outcome.applied);
    QVERIFY(outcome.imdone);
    QCOMPARE(outcome.versions, versions);
    QCOMPARE(contentsOf(root.filePath("inst")), expected);
}

void TUpdateTest::keepsPermissionBits_data()
{
    QTest::addColumn<int>("sourceMode");
    QTest::addColumn<int>("installedMode"); // 0: no installed file yet
    QTest::addColumn<int>("expectedMode");

    QTest::addRow("executable stays executable over a plain file") << 0755 << 0644 << 0755;
    QTest::addRow("a share without execute bits keeps the program executable") << 0644 << 0755 << 0755;
    QTest::addRow("new file") << 0640 << 0 << 0640;
    QTest::addRow("read-only file") << 0444 << 0644 << 0444;
    QTest::addRow("set-user-ID and sticky bits not taken over") << 07755 << 0755 << 0755;
}

void TUpdateTest::keepsPermissionBits()
{
    QFETCH(int, sourceMode);
    QFETCH(int, installedMode);
    QFETCH(int, expectedMode);

    QTemporaryDir root;
    create(root.path(), Files{{"updates/Foo/Foo.exe", "new"}, {"inst/Foo/", {}}});
    QVERIFY(::chmod(QFile::encodeName(root.filePath("updates/Foo/Foo.exe")).constData(), sourceMode) == 0);
    const QString installed = root.filePath("inst/Foo/Foo.exe");
    if (installedMode != 0) {
        writeFile(installed, "old");
        QVERIFY(::chmod(QFile::encodeName(installed).constData(), installedMode) == 0);
    }

    const Outcome outcome = runWorker(update("Foo", false), programList(root.path(), {{"Foo", "inst/Foo"}}),
                                      root.filePath("updates") + '/');
    QCOMPARE(outcome.failure, QString());
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(installed).constData(), &info) == 0);
    QCOMPARE(static_cast<int>(info.st_mode & 07777), expectedMode);
    QCOMPARE(readFile(installed), QByteArray("new"));
}

void TUpdateTest::failureLeavesProgramFolderAsBefore_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("expectedText");

    QTest::addRow("source vanished after the listing") << Fault::SourceVanished << "b.dll\": No such file or directory";
    QTest::addRow("source shorter than its size") << Fault::SourceShrank << "b.dll\": The file ended sooner than expected";
    QTest::addRow("source is a pipe") << Fault::SourceIsPipe << "b.dll\": Invalid argument";
    QTest::addRow("update subfolder missing") << Fault::SubfolderMissing << "Foo/\": No such file or directory";
    QTest::addRow("update folder through a file") << Fault::UpdateFolderThroughFile << "Not a directory";
    QTest::addRow("program folder missing") << Fault::ProgramFolderMissing << "No such file or directory";
    QTest::addRow("program folder through a file") << Fault::ProgramFolderThroughFile << "Not a directory";
    QTest::addRow("destination is a folder") << Fault::DestinationIsFolder << "b.dll\": Is a directory";
    QTest::addRow("destination may not be replaced") << Fault::DestinationImmutable
                                                     << "c.dll\": Operation not permitted";
    QTest::addRow("destination path over 259 characters") << Fault::PathTooLong << "The file name is too long";
    QTest::addRow("disk full") << Fault::DiskFull << "Not every byte could be written";
    QTest::addRow("program folder not writable") << Fault::FolderNotWritable << "Permission denied";
    QTest::addRow("no thread for the worker") << Fault::NoThread << "could not be started";
}

void TUpdateTest::failureLeavesProgramFolderAsBefore()
{
    QFETCH(Fault, fault);
    QFETCH(QString, expectedText);

    QTemporaryDir root;
    QVERIFY(::chmod(QFile::encodeName(root.path()).constData(), 0755) == 0); // for the run as nobody
    QString programFolder = "inst/Foo";
    if (fault == Fault::PathTooLong)
        programFolder += "/" + QString(60, 'a') + "/" + QString(60, 'b') + "/" + QString(60, 'c') + "/" + QString(60, 'd');
    Files published{{"Foo/a.dll", pattern(20000)}, {"Foo/b.dll", pattern(300, 2)}, {"Foo/c.dll", pattern(9000, 3)}};
    create(root.filePath("updates"), published);
    create(root.path(), Files{{programFolder + "/a.dll", "old a"},
                              {programFolder + "/b.dll", "old b"},
                              {programFolder + "/c.dll", "old c"},
                              {programFolder + "/Foo.exe", "old executable"}});
    QString update_path = root.filePath("updates") + '/';
    std::optional<ChildLimits> inChild;
    std::function<void()> inChildFirst;
    const QString published_b = root.filePath("updates/Foo/b.dll");
    const QString installed_c = root.filePath(programFolder + "/c.dll");

    switch (fault) {
    case Fault::SourceVanished:
        QVERIFY(QFile::remove(published_b));
        QVERIFY(QFile::link(root.filePath("gone"), published_b));
        break;
    case Fault::SourceShrank:
        if (!QFile::exists("/sys/devices/system/cpu/online"))
            QSKIP("no sysfs file that reads shorter than its size");
        QVERIFY(QFile::remove(published_b));
        QVERIFY(QFile::link("/sys/devices/system/cpu/online", published_b));
        break;
    case Fault::SourceIsPipe:
        QVERIFY(QFile::remove(published_b));
        QVERIFY(::mkfifo(QFile::encodeName(published_b).constData(), 0644) == 0);
        break;
    case Fault::SubfolderMissing:
        QVERIFY(QDir(root.filePath("updates/Foo")).removeRecursively());
        break;
    case Fault::UpdateFolderThroughFile:
        writeFile(root.filePath("plain"), "a file");
        update_path = root.filePath("plain") + '/';
        break;
    case Fault::ProgramFolderMissing:
        programFolder = "nowhere";
        break;
    case Fault::ProgramFolderThroughFile:
        programFolder += "/Foo.exe";
        break;
    case Fault::DestinationIsFolder:
        QVERIFY(QFile::remove(root.filePath(programFolder + "/b.dll")));
        create(root.path(), Files{{programFolder + "/b.dll/", {}}});
        break;
    case Fault::DestinationImmutable:
        if (QProcess::execute("chattr", {"+i", installed_c}) != 0)
            QSKIP("this file system has no immutable files");
        break;
    case Fault::PathTooLong:
        break;
    case Fault::DiskFull:
        inChild = ChildLimits{.fileSizeLimit = 12000, .asNobody = false};
        break;
    case Fault::FolderNotWritable:
        inChild = ChildLimits{.fileSizeLimit = std::nullopt, .asNobody = true};
        break;
    case Fault::NoThread:
        inChild = ChildLimits{.fileSizeLimit = std::nullopt, .asNobody = true};
        inChildFirst = [] {
            const rlimit none{0, 0};
            ::setrlimit(RLIMIT_NPROC, &none);
        };
        break;
    }

    const Files before = contentsOf(root.filePath("inst"));
    const Outcome outcome = runWorker(update("Foo", true), programList(root.path(), {{"Foo", programFolder}}),
                                      update_path, inChild, inChildFirst);
    if (fault == Fault::DestinationImmutable)
        QProcess::execute("chattr", {"-i", installed_c});

    QVERIFY2(outcome.failure.contains(expectedText), qPrintable(outcome.failure));
    QVERIFY(!outcome.applied);
    QVERIFY(outcome.imdone);
    QCOMPARE(outcome.versions, QStringList{"1"});
    QCOMPARE(contentsOf(root.filePath("inst")), before);
}

void TUpdateTest::publishesProgress()
{
    QTemporaryDir root;
    const int size = 3 * 1024 * 1024 + 5;
    create(root.path(), Files{{"updates/Foo/Foo.exe", pattern(size)}, {"inst/Foo/", {}}});
    std::vector<prog> programok = programList(root.path(), {{"Foo", "inst/Foo"}});
    const QString update_path = root.filePath("updates") + '/';
    std::atomic<bool> imdone{true};
    WorkerContext context(programok, update_path, imdone);

    QList<ProgressBarValues> shown;
    QVERIFY(runWorkerAndWait(
        update("Foo", false), context, [&](const CopyProgress& progress) { shown << barValues(progress); },
        std::chrono::milliseconds(1)));
    QVERIFY(!shown.isEmpty());
    for (const ProgressBarValues& values : shown) {
        QVERIFY(values.maximum == 0 || values.maximum == size);
        QVERIFY(values.value >= 0 && values.value <= values.maximum);
    }
    QCOMPARE(shown.last().maximum, size);
    QCOMPARE(shown.last().value, size);
}

void TUpdateTest::barValuesFitAnInt_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");

    const qint64 threeGiB = 3LL << 30;
    QTest::addRow("empty file") << qint64(0) << qint64(0) << 0 << 0;
    QTest::addRow("small file, halfway") << qint64(20000) << qint64(8194) << 20000 << 8194;
    QTest::addRow("largest length an int holds") << qint64(INT_MAX) << qint64(INT_MAX) << INT_MAX << INT_MAX;
    QTest::addRow("3 GiB file, start") << threeGiB << qint64(0) << int(threeGiB >> 1) << 0;
    QTest::addRow("3 GiB file, halfway") << threeGiB << threeGiB / 2 << int(threeGiB >> 1) << int(threeGiB >> 2);
    QTest::addRow("3 GiB file, end") << threeGiB << threeGiB << int(threeGiB >> 1) << int(threeGiB >> 1);
    QTest::addRow("position of the previous file, beyond this one") << qint64(100) << qint64(5000) << 100 << 100;
}

void TUpdateTest::barValuesFitAnInt()
{
    QFETCH(qint64, length);
    QFETCH(qint64, position);
    QFETCH(int, maximum);
    QFETCH(int, value);

    CopyProgress progress;
    progress.length = length;
    progress.position = position;
    const ProgressBarValues values = barValues(progress);
    QCOMPARE(values.maximum, maximum);
    QCOMPARE(values.value, value);
}

QTEST_GUILESS_MAIN(TUpdateTest)
#include "TUpdateTest.moc"
