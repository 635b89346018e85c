#include "engine/IntegerConversion.h"

#include <QtTest>

class IntegerConversionTest : public QObject {
    Q_OBJECT

private slots:
    void converts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::addRow("plain") << "5" << true << 5;
        QTest::addRow("leading blank") << " 5" << true << 5;
        QTest::addRow("plus sign") << "+5" << true << 5;
        QTest::addRow("minus sign") << "-4" << true << -4;
        QTest::addRow("leading zero is decimal") << "010" << true << 10;
        QTest::addRow("dollar hex") << "$1F" << true << 31;
        QTest::addRow("0x hex") << "0x1f" << true << 31;
        QTest::addRow("x hex") << "X10" << true << 16;
        QTest::addRow("negative hex") << "-$10" << true << -16;
        QTest::addRow("hex uses all 32 bits") << "$FFFFFFFF" << true << -1;
        QTest::addRow("largest") << "2147483647" << true << 2147483647;
        QTest::addRow("smallest") << "-2147483648" << true << int(-2147483648LL);
        QTest::addRow("letter after number") << "5x" << false << 0;
        QTest::addRow("trailing blank") << "5 " << false << 0;
        QTest::addRow("empty") << "" << false << 0;
        QTest::addRow("blank only") << " " << false << 0;
        QTest::addRow("sign only") << "-" << false << 0;
        QTest::addRow("prefix only") << "$" << false << 0;
        QTest::addRow("above range") << "2147483648" << false << 0;
        QTest::addRow("below range") << "-2147483649" << false << 0;
        QTest::addRow("hex above 32 bits") << "$100000000" << false << 0;
        QTest::addRow("tab is not a blank") << "\t5" << false << 0;
        QTest::addRow("decimal point") << "1.0" << false << 0;
    }
    void converts()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        try {
            QCOMPARE(StrToInt(text), value);
            QVERIFY(valid);
        } catch (const ConversionError& error) {
            QVERIFY2(!valid, error.what());
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("''%1'' is not a valid integer value").arg(text));
        }
    }
};

QTEST_GUILESS_MAIN(IntegerConversionTest)
#include "IntegerConversionTest.moc"
