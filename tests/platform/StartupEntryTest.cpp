#include "platform/StartupEntry.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const std::string Name = "Updater";

// Reads the Exec value back the way a desktop session does: first the escapes of every
// string value, then the quoting of the command line, then the doubled '%'. Returns the
// arguments.
QStringList execArguments(const QString& value)
{
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            unescaped += value[i];
            continue;
        }
        const QChar next = value[++i];
        unescaped += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next == u'r' ? QChar(u'\r')
                   : next == u's' ? QChar(u' ') : next;
    }
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (quoted && c == u'\\' && i + 1 < unescaped.size()) {
            current += unescaped[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c == u'%' && i + 1 < unescaped.size() && unescaped[i + 1] == u'%') {
            current += c;
            ++i;
        } else if (c == u' ' && !quoted) {
            if (any || !current.isEmpty())
                arguments << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        arguments << current;
    return arguments;
}

QString execLineOf(const QByteArray& content)
{
    for (const QByteArray& line : content.split('\n'))
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5));
    return {};
}

} // namespace

class StartupEntryTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QString entryFile() const { return home_.path() + QStringLiteral("/config/autostart/Updater.desktop"); }

    void putEntry(const QByteArray& content)
    {
        QDir().mkpath(home_.path() + QStringLiteral("/config/autostart"));
        writeFile(entryFile(), content);
    }

private slots:
    void init()
    {
        QVERIFY(home_.isValid());
        QDir(home_.path()).removeRecursively();
        QDir().mkpath(home_.path());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_.path() + QStringLiteral("/config")).toUtf8());
    }

    void presenceFollowsTheEntry_data()
    {
        QTest::addColumn<QByteArray>("content"); // a null array: no file at all
        QTest::addColumn<bool>("present");
        QTest::addRow("no entry") << QByteArray() << false;
        QTest::addRow("empty file") << QByteArray("") << false;
        QTest::addRow("entry naming a program")
            << QByteArray("[Desktop Entry]\nType=Application\nExec=\"/opt/Updater/Updater\"\n") << true;
        QTest::addRow("entry naming another program") << QByteArray("[Desktop Entry]\nExec=/usr/bin/true\n") << true;
        QTest::addRow("empty Exec") << QByteArray("[Desktop Entry]\nType=Application\nExec=\n") << false;
        QTest::addRow("Exec of blanks only") << QByteArray("[Desktop Entry]\nExec =   \n") << false;
        QTest::addRow("no Exec") << QByteArray("[Desktop Entry]\nType=Application\n") << false;
        QTest::addRow("hidden entry") << QByteArray("[Desktop Entry]\nExec=/usr/bin/true\nHidden=true\n") << false;
        QTest::addRow("Hidden=false") << QByteArray("[Desktop Entry]\nExec=/usr/bin/true\nHidden=false\n") << true;
        QTest::addRow("Exec only in another group")
            << QByteArray("[Desktop Entry]\nType=Application\n[Desktop Action Run]\nExec=/usr/bin/true\n") << false;
        QTest::addRow("comments and CR LF line ends")
            << QByteArray("# written by hand\r\n\r\n[Desktop Entry]\r\nExec = /usr/bin/true\r\n") << true;
    }

    void presenceFollowsTheEntry()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        if (!content.isNull())
            putEntry(content);
        QCOMPARE(platform::startupEntryPresent(Name), present);
    }

    void somethingElseThanAnEntryIsAnInvalidType_data()
    {
        QTest::addColumn<QByteArray>("content"); // a null array: a folder of the entry's name
        QTest::addRow("a folder") << QByteArray();
        QTest::addRow("another group first") << QByteArray("[Settings]\nExec=/usr/bin/true\n");
        QTest::addRow("keys before any group") << QByteArray("Exec=/usr/bin/true\n");
        QTest::addRow("binary data") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0", 10);
    }

    void somethingElseThanAnEntryIsAnInvalidType()
    {
        QFETCH(QByteArray, content);
        if (content.isNull())
            QDir().mkpath(entryFile());
        else
            putEntry(content);
        try {
            platform::startupEntryPresent(Name);
            QFAIL("no error");
        } catch (const platform::StartupEntryError& error) {
            QCOMPARE(error.kind(), platform::StartupEntryError::Kind::InvalidDataType);
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Invalid data type for 'Updater'"));
        }
    }

    void anUnreadableEntryCountsAsAbsent()
    {
        putEntry("[Desktop Entry]\nExec=/usr/bin/true\n");
        QFile::setPermissions(entryFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        for (const QString& folder : {home_.path(), home_.path() + "/config", home_.path() + "/config/autostart"})
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                              QFileDevice::ReadOther | QFileDevice::ExeOther);
        ChildLimits asNobody;
        asNobody.asNobody = true;
        const int status = runInChild(
            [] {
                if (platform::startupEntryPresent(Name))
                    throw std::runtime_error("present");
            },
            asNobody);
        QCOMPARE(status, 0);
    }

    void writesTheQuotedEscapedPath_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("execLine");
        QTest::addRow("plain path") << QStringLiteral("/opt/Updater/Updater") << QStringLiteral("\"/opt/Updater/Updater\"");
        QTest::addRow("path with blanks")
            << QStringLiteral("/home/me/My Programs/Up dater") << QStringLiteral("\"/home/me/My Programs/Up dater\"");
        QTest::addRow("characters special inside quotes")
            << QStringLiteral("/opt/a$b\"c`d\\e") << QStringLiteral("\"/opt/a\\\\$b\\\\\"c\\\\`d\\\\\\\\e\"");
        QTest::addRow("percent sign") << QStringLiteral("/opt/100% sure/x") << QStringLiteral("\"/opt/100%% sure/x\"");
        QTest::addRow("tab and line feed") << QStringLiteral("/opt/a\tb\nc") << QStringLiteral("\"/opt/a\\tb\\nc\"");
        QTest::addRow("non-ASCII name") << QStringLiteral("/opt/Frissítő/Updater") << QStringLiteral("\"/opt/Frissítő/Updater\"");
    }

    void writesTheQuotedEscapedPath()
    {
        QFETCH(QString, executable);
        QFETCH(QString, execLine);
        platform::writeStartupEntry(Name, executable.toStdString());
        const QByteArray content = readFile(entryFile());
        QVERIFY(content.startsWith("[Desktop Entry]\n"));
        QVERIFY(content.contains("\nType=Application\n"));
        QVERIFY(content.contains("\nName=Updater\n"));
        QCOMPARE(execLineOf(content), execLine);
        QCOMPARE(execArguments(execLineOf(content)), QStringList{executable});
        QVERIFY(platform::startupEntryPresent(Name));
    }

    void writingReplacesAnEntryAndCreatesPrivateFolders()
    {
        qputenv("XDG_CONFIG_HOME", (home_.path() + QStringLiteral("/new/config")).toUtf8());
        platform::writeStartupEntry(Name, "/old/Updater");
        platform::writeStartupEntry(Name, "/new/Updater");
        const QString file = home_.path() + QStringLiteral("/new/config/autostart/Updater.desktop");
        QCOMPARE(execLineOf(readFile(file)), QStringLiteral("\"/new/Updater\""));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(home_.path() + "/new/config").constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
        QCOMPARE(entriesOf(home_.path() + "/new/config/autostart"), QStringList{"Updater.desktop"});
    }

    void withoutAUsableConfigHomeTheEntryGoesUnderHome_data()
    {
        QTest::addColumn<QByteArray>("configHome"); // null: unset
        QTest::addRow("unset") << QByteArray();
        QTest::addRow("empty") << QByteArray("");
        QTest::addRow("relative") << QByteArray("relative/config");
    }

    void withoutAUsableConfigHomeTheEntryGoesUnderHome()
    {
        QFETCH(QByteArray, configHome);
        if (configHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", configHome);
        platform::writeStartupEntry(Name, "/opt/Updater/Updater");
        QVERIFY(QFile::exists(home_.path() + QStringLiteral("/.config/autostart/Updater.desktop")));
        QVERIFY(platform::startupEntryPresent(Name));
    }

    void aFolderThatCannotBeMadeFailsToSetData()
    {
        writeFile(home_.path() + QStringLiteral("/file"), "not a folder");
        qputenv("XDG_CONFIG_HOME", (home_.path() + QStringLiteral("/file/config")).toUtf8());
        try {
            platform::writeStartupEntry(Name, "/opt/Updater/Updater");
            QFAIL("no error");
        } catch (const platform::StartupEntryError& error) {
            QCOMPARE(error.kind(), platform::StartupEntryError::Kind::FailedToSetData);
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Failed to set data for 'Updater'"));
        }
        QVERIFY(!platform::startupEntryPresent(Name));
    }

    void removingTwiceRemovesOnce()
    {
        platform::writeStartupEntry(Name, "/opt/Updater/Updater");
        platform::removeStartupEntry(Name);
        QVERIFY(!QFile::exists(entryFile()));
        platform::removeStartupEntry(Name);
        QVERIFY(!platform::startupEntryPresent(Name));
        QCOMPARE(entriesOf(home_.path() + "/config/autostart"), QStringList());
    }

    void anEntryThatStaysIsReported()
    {
        QDir().mkpath(entryFile() + QStringLiteral("/inside"));
        try {
            platform::removeStartupEntry(Name);
            QFAIL("no error");
        } catch (const platform::StartupEntryError& error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Failed to delete data for 'Updater'"));
        }
    }
};

QTEST_GUILESS_MAIN(StartupEntryTest)
#include "StartupEntryTest.moc"
