#include "platform/IoError.h"
#include "store/PathRules.h"
#include "store/Settings.h"
#include "store/TextFile.h"
#include "tests/support/Fixtures.h"

#include <QTemporaryDir>
#include <QtTest>

class TextFileTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir.reset(new QTemporaryDir);
        folder = dir->path() + u'/';
    }

    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("line");
        QTest::addRow("CR LF") << QByteArray("U:\\Updates\\\r\nsecond\r\n") << QByteArray("U:\\Updates\\");
        QTest::addRow("LF alone") << QByteArray("12\nx") << QByteArray("12");
        QTest::addRow("end of file") << QByteArray("12") << QByteArray("12");
        QTest::addRow("lone CR dropped") << QByteArray("1\r2\r\n") << QByteArray("12");
        QTest::addRow("CR at end of file") << QByteArray("12\r") << QByteArray("12");
        QTest::addRow("byte 26 ends the text") << QByteArray("7\x1a" "more\r\n") << QByteArray("7");
        QTest::addRow("not trimmed") << QByteArray("  5 \t\r\n") << QByteArray("  5 \t");
        QTest::addRow("empty file") << QByteArray() << QByteArray();
        QTest::addRow("empty first line") << QByteArray("\r\nnext") << QByteArray();
        QTest::addRow("byte-order mark is text") << QByteArray("\xEF\xBB\xBF" "3") << QByteArray("\xEF\xBB\xBF" "3");
    }
    void firstLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, line);
        QCOMPARE(firstLineOf(content), line);
    }

    void longLineIsReadWhole()
    {
        const QByteArray line(300000, 'v');
        writeFile(folder + "version.info", line + "\r\n" + QByteArray(200000, 'w'));
        QCOMPARE(VersionInfo(folder + "tool.exe"), QString::fromLatin1(line));
    }

    void loadConfig()
    {
        QString update_path = QStringLiteral("kept");
        QVERIFY(!LoadConfig(folder, update_path)); // no file
        QCOMPARE(update_path, QStringLiteral("kept"));

        writeFile(folder + "updater.conf", QByteArray());
        QVERIFY(LoadConfig(folder, update_path));
        QCOMPARE(update_path, QString());

        writeFile(folder + "updater.conf", "/srv/updates\r\n/other\r\n");
        QVERIFY(LoadConfig(folder, update_path));
        QCOMPARE(update_path, QStringLiteral("/srv/updates")); // no separator added
    }

    void saveConfigWritesOneLine()
    {
        SaveConfig(folder, QStringLiteral("/srv/updates/"));
        QCOMPARE(readFile(folder + "updater.conf"), QByteArray("/srv/updates/\r\n"));
        SaveConfig(folder, QString());
        QCOMPARE(readFile(folder + "updater.conf"), QByteArray("\r\n"));
        QCOMPARE(entriesOf(folder), QStringList{"updater.conf"});
    }

    void versionFile()
    {
        QVERIFY(QDir().mkdir(folder + "Tool"));
        SaveVersionInfo(folder + "Tool/tool.exe");
        QCOMPARE(readFile(folder + "Tool/version.info"), QByteArray("1\r\n"));
        QCOMPARE(VersionInfo(folder + "Tool/tool.exe"), QStringLiteral("1"));
    }

    void versionFileErrors_data()
    {
        QTest::addColumn<QString>("pathText");
        QTest::addColumn<bool>("saving");
        QTest::addColumn<int>("code");
        QTest::addRow("read a missing file") << "missing/tool.exe" << false << int(ENOENT);
        QTest::addRow("create in a missing folder") << "missing/tool.exe" << true << int(ENOENT);
        QTest::addRow("create through a regular file") << "plain/tool.exe" << true << int(ENOTDIR);
    }
    void versionFileErrors()
    {
        QFETCH(QString, pathText);
        QFETCH(bool, saving);
        QFETCH(int, code);
        writeFile(folder + "plain", "x");
        try {
            saving ? SaveVersionInfo(folder + pathText) : void(VersionInfo(folder + pathText));
            QFAIL("no error");
        } catch (const platform::IoError& error) {
            QCOMPARE(error.code(), code);
            QVERIFY2(QString::fromUtf8(error.what()).contains("version.info"), error.what());
        }
    }

    void pathRules_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addRow("executable") << "/opt/apps/Updater/Updater" << "/opt/apps/Updater/" << "Updater";
        QTest::addRow("root") << "/tool.exe" << "/" << "tool.exe";
        QTest::addRow("no folder") << "tool.exe" << "" << "tool.exe";
        QTest::addRow("ends with separator") << "/srv/up/" << "/srv/up/" << "";
    }
    void pathRules()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QCOMPARE(folderPart(path), folder);
        QCOMPARE(fileNamePart(path), name);
    }

    void trailingSeparator()
    {
        QCOMPARE(withTrailingSeparator(QStringLiteral("/srv/updates")), QStringLiteral("/srv/updates/"));
        QCOMPARE(withTrailingSeparator(QStringLiteral("/srv/updates/")), QStringLiteral("/srv/updates/"));
        QCOMPARE(withTrailingSeparator(QString()), QString());
        QCOMPARE(applicationPathFrom(QStringLiteral("/opt/Updater/Updater")), QStringLiteral("/opt/Updater/"));
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString folder;
};

QTEST_GUILESS_MAIN(TextFileTest)
#include "TextFileTest.moc"
