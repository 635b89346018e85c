#include "platform/AnsiCodePage.h"
#include "platform/LocaleCodePage.h"
#include "store/RecordText.h"
#include "store/Records.h"

#include <QtTest>

namespace {

std::u16string utf16(const QString& text) { return text.toStdU16String(); }

} // namespace

class AnsiCodePageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The machine's code page is read from the locale once, on first use.
        qputenv("LC_ALL", "hu_HU.UTF-8");
    }

    void recordsFollowTheLocale()
    {
        QCOMPARE(platform::ansiCodePage(), 1250);
        prog record = zeroRecord<prog>();
        storeText(record.name, QStringLiteral("Árvíztűrő Ω"));
        QCOMPARE(QByteArray(record.name.text, record.name.length), QByteArray("\xC1rv\xEDzt\xFBr\xF5 ?"));
        QCOMPARE(readText(record.name), QStringLiteral("Árvíztűrő ?"));
    }

    void codePageOfLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("codePage");
        QTest::addRow("Hungarian") << "hu_HU.UTF-8" << 1250;
        QTest::addRow("Polish, no territory") << "pl" << 1250;
        QTest::addRow("Russian") << "ru_RU.UTF-8" << 1251;
        QTest::addRow("Greek") << "el_GR.UTF-8" << 1253;
        QTest::addRow("Japanese") << "ja_JP.UTF-8" << 932;
        QTest::addRow("Chinese, mainland") << "zh_CN.UTF-8" << 936;
        QTest::addRow("Chinese, Taiwan") << "zh_TW.UTF-8" << 950;
        QTest::addRow("English") << "en_US.UTF-8" << 1252;
        QTest::addRow("C") << "C" << 1252;
        QTest::addRow("POSIX") << "POSIX" << 1252;
        QTest::addRow("modifier") << "sr_RS@latin" << 1251;
    }
    void codePageOfLocale()
    {
        QFETCH(QString, locale);
        QFETCH(int, codePage);
        QCOMPARE(platform::codePageForLocale(locale.toStdString()), codePage);
    }

    // Bytes as a Windows machine writes them, both ways.
    void windowsBytes_data()
    {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("1250 Hungarian") << 1250 << QStringLiteral("Árvíztűrő tükörfúrógép")
                                        << QByteArray("\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p");
        QTest::addRow("1250 Polish") << 1250 << QStringLiteral("Zażółć") << QByteArray("Za\xBF\xF3\xB3\xE6");
        QTest::addRow("1252 Western") << 1252 << QStringLiteral("Café €5 ß") << QByteArray("Caf\xE9 \x80" "5 \xDF");
        QTest::addRow("1251 Cyrillic") << 1251 << QStringLiteral("Привет") << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2");
        QTest::addRow("932 Japanese") << 932 << QStringLiteral("日本") << QByteArray("\x93\xFA\x96{");
    }
    void windowsBytes()
    {
        QFETCH(int, codePage);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(QByteArray::fromStdString(platform::toAnsi(utf16(text), codePage)), bytes);
        QCOMPARE(QString::fromStdU16String(platform::fromAnsi(bytes.toStdString(), codePage)), text);
    }

    void unrepresentableBecomesQuestionMark_data()
    {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("ő in 1252, no look-alike") << 1252 << QStringLiteral("Tűrő") << QByteArray("T?r?");
        QTest::addRow("Greek in 1250") << 1250 << QStringLiteral("aΩb") << QByteArray("a?b");
        QTest::addRow("one ? per character outside the BMP") << 1252 << QStringLiteral("x😀y") << QByteArray("x?y");
        QTest::addRow("Cyrillic is representable in 932") << 932 << QStringLiteral("日ж?") << QByteArray("\x93\xFA\x84w?");
        QTest::addRow("Hangul in 932") << 932 << QStringLiteral("한") << QByteArray("?");
    }
    void unrepresentableBecomesQuestionMark()
    {
        QFETCH(int, codePage);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(QByteArray::fromStdString(platform::toAnsi(utf16(text), codePage)), bytes);
    }
};

QTEST_GUILESS_MAIN(AnsiCodePageTest)
#include "AnsiCodePageTest.moc"
