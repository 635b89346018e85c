#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

// One 528-byte record laid out byte by byte: id (little-endian), then three counted
// strings of 256, 256 and 11 bytes, then the last byte. Unused bytes are `filler`.
QByteArray recordBytes(std::int32_t id, const QByteArray& name, const QByteArray& path, const QByteArray& version,
                       std::uint8_t last = 0, char filler = 0);

void writeFile(const QString& fileName, const QByteArray& bytes);
QByteArray readFile(const QString& fileName);

// The names in a folder, hidden ones included: shows temporary files left behind.
QStringList entriesOf(const QString& folder);
