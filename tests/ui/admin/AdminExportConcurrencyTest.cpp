#include "platform/FileAccess.h"
#include "store/PathRules.h"
#include "store/RecordStores.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Fixtures.h"
#include "tests/support/RecordLists.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/admin/TForm5.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>
#include <sys/wait.h>

namespace {

QByteArray listOf(int records, const QByteArray& version)
{
    QByteArray list;
    for (int i = 1; i <= records; ++i)
        list += recordBytes(i, "Program" + QByteArray::number(i), "/apps/" + QByteArray::number(i) + "/", version,
                            static_cast<std::uint8_t>(i % 2));
    return list;
}

void touch(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot create a marker file");
}

} // namespace

// Clients read "update.conf" from the share while the administrator exports it.
class AdminExportConcurrencyTest : public QObject {
    Q_OBJECT

private slots:
    void readersSeeTheOldOrTheNewListWhole();
};

void AdminExportConcurrencyTest::readersSeeTheOldOrTheNewListWhole()
{
    QTemporaryDir application, share, markers;
    const QString updatePath = share.path() + QLatin1Char('/');
    const QByteArray oldList = listOf(3, "4");
    const QByteArray newList = listOf(500, "5");
    writeFile(updatePath + QStringLiteral("update.conf"), oldList);
    const QString sawNew = markers.filePath(QStringLiteral("saw-new"));
    const QString stop = markers.filePath(QStringLiteral("stop"));
    const QString tally = markers.filePath(QStringLiteral("tally"));

    // The reader: every load must be one of the two lists exactly. A short or mixed list
    // ends it with a failure status (an I/O error's code, or 255).
    const pid_t reader = startChild([&] {
        std::vector<upd> updates;
        std::int32_t updatesdb = 0;
        int loads = 0, newLoads = 0;
        while (!platform::fileExists(systemPath(stop))) {
            LoadUpdateList(updates, updatesdb, updatePath);
            const QByteArray seen = bytesOf(updates);
            if (seen == newList) {
                if (newLoads++ == 0)
                    touch(sawNew);
            } else if (seen != oldList) {
                throw std::runtime_error("a list that is neither the old nor the new one");
            }
            ++loads;
        }
        QFile out(tally);
        if (!out.open(QIODevice::WriteOnly) || out.write(QByteArray::number(loads) + ' ' + QByteArray::number(newLoads)) < 0)
            throw std::runtime_error("cannot write the tally");
    });
    QVERIFY(reader > 0);
    bool reaped = false;
    const auto stopReader = qScopeGuard([&] { // also when a check below fails
        if (!reaped) {
            QFile marker(stop);
            (void)marker.open(QIODevice::WriteOnly);
            ::waitpid(reader, nullptr, 0);
        }
    });

    ScriptedPrompts scripted;
    UpdaterState state;
    state.applicationpath = application.path() + QLatin1Char('/');
    TForm5 form(state);
    for (int round = 0; round < 200; ++round) {
        state.updates = recordsFrom<upd>(round % 2 == 0 ? newList : oldList);
        state.updatesdb = static_cast<std::int32_t>(state.updates.size());
        form.fillFromState();
        form.Edit1->setText(share.path());
        scripted.confirmAnswers << true;
        form.Button5Click();
        if (round == 0) { // from here on the reader certainly runs while the list changes
            QDeadlineTimer patience(30000);
            while (!QFile::exists(sawNew) && !patience.hasExpired()) {
                int status = 0;
                if (::waitpid(reader, &status, WNOHANG) == reader) {
                    reaped = true;
                    QFAIL(qPrintable(QStringLiteral("the reader stopped early with status %1").arg(WEXITSTATUS(status))));
                }
                QTest::qWait(5);
            }
            QVERIFY(QFile::exists(sawNew));
        }
    }
    QCOMPARE(scripted.messages(), QStringList());
    touch(stop);

    int status = 0;
    QCOMPARE(::waitpid(reader, &status, 0), reader);
    reaped = true;
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    qInfo("reader: loads, of them the new list: %s", readFile(tally).constData());
    QCOMPARE(entriesOf(share.path()), QStringList{"update.conf"});
    QCOMPARE(readFile(updatePath + QStringLiteral("update.conf")), oldList); // the 200th export
}

QTEST_MAIN(AdminExportConcurrencyTest)
#include "AdminExportConcurrencyTest.moc"
