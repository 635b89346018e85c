#pragma once

#include <QString>
#include <QStringList>

// Appends to `filelist` the full path of every file directly in the folder `StartDir` whose
// name matches `FileMask` (see fileMaskMatches): hidden files included, folders left out,
// in name order without regard to letter case. Nothing is cleared. Throws platform::IoError
// when the folder cannot be listed (missing, unreadable, the share gone), so that an update
// whose files cannot be reached is not taken for an update without files.
void FindFiles(const QString& StartDir, const QString& FileMask, QStringList& filelist);
