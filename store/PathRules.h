#pragma once

#include <QString>

#include <string>

// The system's separator between a folder and a name ('/' here, '\' on Windows).
QChar pathSeparator();

// Everything up to and including the last separator (and, on Windows, drive colon); empty
// when there is none.
QString folderPart(const QString& path);

// What follows the folder part.
QString fileNamePart(const QString& path);

// Appends a separator to a non-empty folder text that does not end with one.
QString withTrailingSeparator(const QString& folder);

// The running executable's folder, ending with a separator.
QString applicationPathFrom(const QString& executablePath);

// A full file name of more than 259 characters is refused with I/O error 3 before anything
// is opened or created.
void requireFitsPathLimit(const QString& fileName);

// The path as the file services take it.
std::string systemPath(const QString& fileName);
