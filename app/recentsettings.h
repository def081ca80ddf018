// The user's settings file (the recent files, the 表示 options) read with bounds and written
// safely: the file is used only when it is a regular file of a sane size, never waited on, and
// replaced only by a complete new file.
#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QSettings;

namespace quarvel {

// A settings file larger than this is not read (nor written over): a few recent names fit
// in a few kilobytes.
constexpr long long MaxSettingsBytes = 64 * 1024;

// The user's settings file (INI format) of `application` by `organisation`, where
// QSettings(IniFormat, UserScope, organisation, application) keeps it, found without reading
// it (constructing that QSettings reads the file at once, and would wait on a pipe).
QString UserSettingsFile(const QString& organisation, const QString& application);

// True when `path` is missing or a regular file of at most MaxSettingsBytes. Anything else
// (a pipe, a device, a folder, a huge file) is left alone: the editor starts with defaults.
bool SettingsFileUsable(const QString& path);

// Calls `read` with the settings of the file `path` (INI format) when that is a regular file of
// at most MaxSettingsBytes; nothing when it is missing or not usable. The file is opened
// without waiting and checked before the settings are read from that very file.
void ReadSettingsFile(const QString& path, const std::function<void(QSettings&)>& read);

// Applies `change` to the settings of the file `path` (INI format) and puts the result in its
// place through TSaveFile, so that a full disk or a crash leaves the old file whole. Nothing is
// written when the file is not usable (a pipe, a folder, a huge file); false then and when the
// new file could not be written (the old one stays).
bool WriteSettingsFile(const QString& path, const std::function<void(QSettings&)>& change);

// The first `max` paths of the settings array "RecentFiles" (key "Path") in the settings file
// `path` (INI format), read by ReadSettingsFile.
std::vector<std::string> ReadRecentFiles(const QString& path, size_t max);

} // namespace quarvel
