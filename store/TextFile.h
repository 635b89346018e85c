#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// One-line text files in the ANSI code page ("updater.conf", "version.info").

// The first line of `content`: up to the first LF; every CR in it is dropped (the one
// before the LF belongs to the line end); a byte 26 ends the text. Nothing is trimmed.
QByteArray firstLineOf(QByteArrayView content);

// Reads the first line of an existing file, opened for reading only. Throws platform::IoError.
QString readFirstLine(const QString& fileName);

// Replaces the file atomically by `text` followed by CR LF. Throws platform::IoError.
void writeLine(const QString& fileName, const QString& text);
