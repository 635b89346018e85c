#include "engine/IntegerConversion.h"
#include "engine/UpdateCheck.h"
#include "store/RecordStores.h"
#include "store/RecordText.h"
#include "tests/support/Fixtures.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// The found-updates list as plain entries with their check marks.
struct EntryList final : FoundUpdatesList {
    QStringList texts;
    QList<bool> checked;
    QByteArrayList names;
    void clear() override { texts.clear(), checked.clear(), names.clear(); }
    void append(const QString& text, const QByteArray& name) override
    {
        texts << text;
        checked << true; // whatever the list shows, the check unchecks every entry at the end
        names << name;
    }
    int count() const override { return int(texts.size()); }
    void uncheckAll() override { checked.fill(false); }
};

// "Tool:3" → a record named Tool with version 3.
QByteArray records(const QStringList& recipes, int firstId = 1)
{
    QByteArray bytes;
    int id = firstId;
    for (const QString& recipe : recipes) {
        const QStringList parts = recipe.split(u':');
        bytes += recordBytes(id++, parts[0].toLatin1(), "/opt/x/", parts[1].toLatin1(), 0, '\x7f');
    }
    return bytes;
}

} // namespace

class UpdateCheckTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir.reset(new QTemporaryDir);
        folder = dir->path() + u'/';
    }

    void pairsByExactName_data()
    {
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QStringList>("updates");
        QTest::addColumn<QStringList>("entries");
        QTest::addRow("newer version") << QStringList{"Tool:3"} << QStringList{"Other:1", "Tool:5"}
                                       << QStringList{"2 - Tool | 5"};
        QTest::addRow("equal version") << QStringList{"Tool:3"} << QStringList{"Tool:3"} << QStringList{};
        QTest::addRow("older version") << QStringList{"Tool:4"} << QStringList{"Tool:3"} << QStringList{};
        QTest::addRow("letter case differs") << QStringList{"Tool:3"} << QStringList{"tool:5"} << QStringList{};
        QTest::addRow("integer, not text, comparison") << QStringList{"Tool:9"} << QStringList{"Tool:10"}
                                                       << QStringList{"1 - Tool | 10"};
        QTest::addRow("01 equals 1") << QStringList{"Tool:01"} << QStringList{"Tool:1"} << QStringList{};
        QTest::addRow("two programs of one name") << QStringList{"Tool:1", "Tool:2"} << QStringList{"Tool:3"}
                                                  << QStringList{"1 - Tool | 3", "1 - Tool | 3"};
        QTest::addRow("update order, then program order")
            << QStringList{"B:1", "A:1", "B:0"} << QStringList{"A:2", "B:1", "B:2"}
            << QStringList{"1 - A | 2", "2 - B | 1", "3 - B | 2", "3 - B | 2"};
        QTest::addRow("bad version of an unmatched name") << QStringList{"Tool:1"} << QStringList{"Else:5x", "Tool:2"}
                                                          << QStringList{"2 - Tool | 2"};
        QTest::addRow("name with blanks") << QStringList{"My Tool:1"} << QStringList{"My Tool:7"}
                                          << QStringList{"1 - My Tool | 7"};
    }
    void pairsByExactName()
    {
        QFETCH(QStringList, programs);
        QFETCH(QStringList, updates);
        QFETCH(QStringList, entries);
        const auto [found, result] = check(programs, updates);
        QCOMPARE(found.texts, entries);
        QCOMPARE(result, !entries.isEmpty());
        QVERIFY(!found.checked.contains(true));
    }

    void negativeIdAndKeptName()
    {
        writeFile(folder + "update.conf", recordBytes(-4, "My Tool", "", "5"));
        const auto [found, result] = check({"My Tool:1"}, std::nullopt);
        QVERIFY(result);
        QCOMPARE(found.texts, QStringList{"-4 - My Tool | 5"});
        QCOMPARE(found.names, QByteArrayList{"My Tool"});
    }

    void badVersionKeepsEarlierEntries()
    {
        writeFile(folder + "update.conf", records({"Tool:2", "Tool:5x", "Tool:3"}));
        EntryList found;
        found.append("old", "old");
        std::vector<upd> updates;
        std::int32_t updatesdb = 0;
        try {
            CheckForUpdates(true, true, programs({"Tool:1"}), updates, updatesdb, folder, found);
            QFAIL("no conversion error");
        } catch (const ConversionError& error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("''5x'' is not a valid integer value"));
        }
        QCOMPARE(found.texts, QStringList{"1 - Tool | 2"});
        QCOMPARE(found.checked, QList<bool>{true}); // the uncheck step did not run
    }

    void failedPreconditionKeepsList_data()
    {
        QTest::addColumn<bool>("programok_ok");
        QTest::addColumn<bool>("update_path_ok");
        QTest::addColumn<QByteArray>("updateFile"); // "-" for no file
        QTest::addRow("no programs at start") << false << true << records({"Tool:9"});
        QTest::addRow("no update folder at start") << true << false << records({"Tool:9"});
        QTest::addRow("no update list") << true << true << QByteArray("-");
        QTest::addRow("update list without a whole record") << true << true << QByteArray(527, 'x');
    }
    void failedPreconditionKeepsList()
    {
        QFETCH(bool, programok_ok);
        QFETCH(bool, update_path_ok);
        QFETCH(QByteArray, updateFile);
        if (updateFile != "-")
            writeFile(folder + "update.conf", updateFile);
        EntryList found;
        found.append("7 - Tool | 12", "Tool");
        std::vector<upd> updates(1, zeroRecord<upd>());
        std::int32_t updatesdb = 1;
        QVERIFY(!CheckForUpdates(programok_ok, update_path_ok, programs({"Tool:1"}), updates, updatesdb, folder, found));
        QCOMPARE(found.texts, QStringList{"7 - Tool | 12"});
        QCOMPARE(found.checked, QList<bool>{true});
    }

    void emptyResultClearsList()
    {
        EntryList found;
        found.append("7 - Tool | 12", "Tool");
        writeFile(folder + "update.conf", records({"Tool:1"}));
        std::vector<upd> updates;
        std::int32_t updatesdb = 0;
        QVERIFY(!CheckForUpdates(true, true, programs({"Tool:1"}), updates, updatesdb, folder, found));
        QCOMPARE(found.count(), 0);
        QCOMPARE(updatesdb, 1);
    }

private:
    std::vector<prog> programs(const QStringList& recipes)
    {
        const QByteArray bytes = records(recipes);
        std::vector<prog> list(static_cast<std::size_t>(recipes.size()));
        std::memcpy(list.data(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return list;
    }

    std::pair<EntryList, bool> check(const QStringList& programRecipes, const std::optional<QStringList>& updateRecipes)
    {
        if (updateRecipes)
            writeFile(folder + "update.conf", records(*updateRecipes));
        EntryList found;
        std::vector<upd> updates;
        std::int32_t updatesdb = 0;
        const bool result = CheckForUpdates(true, true, programs(programRecipes), updates, updatesdb, folder, found);
        return {found, result};
    }

    std::unique_ptr<QTemporaryDir> dir;
    QString folder;
};

QTEST_GUILESS_MAIN(UpdateCheckTest)
#include "UpdateCheckTest.moc"
