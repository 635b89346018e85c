#include "engine/FileMask.h"

#include <QtTest>

class FileMaskTest : public QObject {
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
};

void FileMaskTest::matches_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    QTest::addRow("*.* takes a name with an extension") << "*.*" << "Foo.exe" << true;
    QTest::addRow("*.* takes a name without a dot") << "*.*" << "README" << true;
    QTest::addRow("*.* takes a hidden name") << "*.*" << ".config" << true;
    QTest::addRow("*.* takes a name with spaces and accents") << "*.*" << "D\u00e4tei mit Leerzeichen" << true;
    QTest::addRow("executable mask, same name") << "Foo.exe" << "Foo.exe" << true;
    QTest::addRow("executable mask, other case") << "Foo.exe" << "FOO.EXE" << true;
    QTest::addRow("executable mask, accented letter in other case") << "\u00c9t\u00e9.exe" << "\u00e9T\u00c9.EXE" << true;
    QTest::addRow("executable mask, longer name") << "Foo.exe" << "Foo.exe.bak" << false;
    QTest::addRow("executable mask, prefix of the name") << "Foo.exe" << "MyFoo.exe" << false;
    QTest::addRow("executable mask, name without extension") << "Foo.exe" << "Foo" << false;
    QTest::addRow("name.* takes the bare name") << "Foo.*" << "Foo" << true;
    QTest::addRow("question mark is one character") << "F?o.exe" << "Fxo.exe" << true;
    QTest::addRow("question mark is not zero characters") << "F?o.exe" << "Fo.exe" << false;
    QTest::addRow("star in the middle") << "a*b*c" << "aXXbYYbc" << true;
    QTest::addRow("star in the middle, no end") << "a*b*c" << "aXXbYYbd" << false;
}

void FileMaskTest::matches()
{
    QFETCH(QString, mask);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(fileMaskMatches(mask, name), matches);
}

QTEST_GUILESS_MAIN(FileMaskTest)
#include "FileMaskTest.moc"
