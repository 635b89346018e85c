#pragma once

#include <QString>

// Whether a file name matches a search mask the way a Windows file search matches it: '*'
// stands for any run of characters, '?' for one, letter case is ignored, and a mask ending
// in ".*" also takes names without an extension ("*.*" takes every name).
bool fileMaskMatches(const QString& mask, const QString& name);
