#pragma once

#include <QString>

// "updater.conf" beside the executable holds the update folder. LoadConfig returns false
// when there is no such file, leaving `update_path` as it was; the line is taken unchanged.
bool LoadConfig(const QString& applicationpath, QString& update_path);
void SaveConfig(const QString& applicationpath, const QString& update_path);

// "version.info" in the folder of the program path text: its name, its first line, and
// creating it holding "1".
QString versionFileName(const QString& pathText);
QString VersionInfo(const QString& pathText);
void SaveVersionInfo(const QString& pathText);
