#pragma once

#include <QByteArray>

#include <cstring>
#include <vector>

// Record lists in memory built from, and compared with, fixtures laid out byte by byte
// (recordBytes): a list holds exactly the bytes a record file of it would.
template <typename Record>
std::vector<Record> recordsFrom(const QByteArray& bytes)
{
    std::vector<Record> records(static_cast<std::size_t>(bytes.size()) / sizeof(Record));
    if (!records.empty())
        std::memcpy(records.data(), bytes.constData(), records.size() * sizeof(Record));
    return records;
}

template <typename Record>
QByteArray bytesOf(const std::vector<Record>& records)
{
    return QByteArray(reinterpret_cast<const char*>(records.data()),
                      static_cast<qsizetype>(records.size() * sizeof(Record)));
}
