#include "engine/RunningInstanceGuard.h"
#include "tests/support/FakeProcessTable.h"

#include <QtTest>

class RunningInstanceGuardTest : public QObject {
    Q_OBJECT

private slots:
    void theRunWaitsUntilTheProgramIsGoneOrGivenUp_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("userClosesIt");   // when first asked
        QTest::addColumn<QList<bool>>("endings");  // the system's answers to the requests to end it
        QTest::addColumn<bool>("requestsEndIt");   // an accepted request takes it off the table
        QTest::addColumn<QList<bool>>("skips");    // the user's answers to "skip its update?"
        QTest::addColumn<bool>("gone");
        QTest::addColumn<int>("askedToClose");
        QTest::addColumn<int>("askedToSkip");

        QTest::addRow("not running") << false << false << QList<bool>{} << true << QList<bool>{} << true << 0 << 0;
        QTest::addRow("the user closes it") << true << true << QList<bool>{} << true << QList<bool>{} << true << 1 << 0;
        QTest::addRow("left running, it is ended") << true << false << QList<bool>{true} << true << QList<bool>{}
                                                   << true << 1 << 0;
        QTest::addRow("ending refused, the update given up")
            << true << false << QList<bool>{false} << true << QList<bool>{true} << false << 1 << 1;
        QTest::addRow("ending refused, the user tries again and it is ended")
            << true << false << QList<bool>{false, true} << true << QList<bool>{false} << true << 2 << 1;
        QTest::addRow("ending accepted but the program lives on")
            << true << false << QList<bool>{true} << false << QList<bool>{true} << false << 1 << 1;
    }

    void theRunWaitsUntilTheProgramIsGoneOrGivenUp()
    {
        QFETCH(bool, running);
        QFETCH(bool, userClosesIt);
        QFETCH(QList<bool>, endings);
        QFETCH(bool, requestsEndIt);
        QFETCH(QList<bool>, skips);
        QFETCH(bool, gone);
        QFETCH(int, askedToClose);
        QFETCH(int, askedToSkip);
        FakeProcessTable table;
        if (running)
            table.entries = {{42, "/opt/Foo/Foo.exe", {}}};
        table.answers = endings;
        table.acceptedRequestsEnd = requestsEndIt;
        int closeQuestions = 0;
        int skipQuestions = 0;
        const RunningInstanceQuestions questions{[&] {
                                                     if (++closeQuestions == 1 && userClosesIt)
                                                         table.entries.clear();
                                                 },
                                                 [&] {
                                                     ++skipQuestions;
                                                     return skips.isEmpty() || skips.takeFirst();
                                                 }};

        QCOMPARE(waitUntilNotRunning(QStringLiteral("Foo"), questions, table), gone);
        QCOMPARE(closeQuestions, askedToClose);
        QCOMPARE(skipQuestions, askedToSkip);
        QCOMPARE(table.entries.empty(), gone);
    }
};

QTEST_GUILESS_MAIN(RunningInstanceGuardTest)
#include "RunningInstanceGuardTest.moc"
