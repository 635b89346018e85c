#include "engine/UpdateRunReport.h"

#include <QtTest>

class UpdateRunReportTest : public QObject {
    Q_OBJECT

private slots:
    void finishedMessage_data()
    {
        QTest::addColumn<QStringList>("outcomes"); // "NAME" applied, "NAME: REASON" failed
        QTest::addColumn<QString>("message");
        QTest::addRow("nothing applied, nothing failed") << QStringList{} << "Update Process Finished Succesfully";
        QTest::addRow("all applied") << QStringList{"Foo", "Bar"} << "Update Process Finished Succesfully";
        QTest::addRow("one of two failed")
            << QStringList{"Foo: disk full", "Bar"}
            << "The update process finished, but not every update was applied.\n\nNot updated (the program keeps "
               "its old version):\nFoo: disk full\n\nUpdated:\nBar";
        QTest::addRow("every one failed, one program twice")
            << QStringList{"Foo: disk full", "Foo: in use"}
            << "The update process finished, but not every update was applied.\n\nNot updated (the program keeps "
               "its old version):\nFoo: disk full\nFoo: in use\n\nUpdated:\nnone";
    }

    void finishedMessage()
    {
        QFETCH(QStringList, outcomes);
        QFETCH(QString, message);
        UpdateRunReport report;
        for (const QString& outcome : outcomes) {
            const qsizetype colon = outcome.indexOf(QStringLiteral(": "));
            if (colon < 0)
                report.applied(outcome);
            else
                report.failed(outcome.left(colon), outcome.mid(colon + 2));
        }
        QCOMPARE(report.finishedMessage(), message);
    }
};

QTEST_GUILESS_MAIN(UpdateRunReportTest)
#include "UpdateRunReportTest.moc"
