#include "tests/support/Fixtures.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

void putCounted(QByteArray& record, int offset, int capacity, const QByteArray& text)
{
    record[offset] = static_cast<char>(text.size());
    for (int i = 0; i < text.size() && i < capacity; ++i)
        record[offset + 1 + i] = text[i];
}

} // namespace

QByteArray recordBytes(std::int32_t id, const QByteArray& name, const QByteArray& path, const QByteArray& version,
                       std::uint8_t last, char filler)
{
    QByteArray record(528, filler);
    const auto bits = static_cast<std::uint32_t>(id);
    for (int i = 0; i < 4; ++i)
        record[i] = static_cast<char>((bits >> (8 * i)) & 0xff);
    putCounted(record, 4, 255, name);
    putCounted(record, 260, 255, path);
    putCounted(record, 516, 10, version);
    record[527] = static_cast<char>(last);
    return record;
}

void writeFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(fileName));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
