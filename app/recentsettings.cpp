// The user's settings file, read after a check and written through the one safe-save routine.
#include "app/recentsettings.h"

#include "map/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

bool Usable(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_size <= MaxSettingsBytes;
}

} // namespace

QString UserSettingsFile(const QString& organisation, const QString& application) {
    // A QSettings opens every file of its search path as soon as it is made (also the
    // organisation's "<folder>/<organisation>.ini", and would wait on a pipe there). Asked under
    // a format of its own extension, which no file has, it names the place without opening
    // anything; the place follows QSettings::setPath for INI files.
    static const QSettings::Format placeOnly = QSettings::registerFormat(
        "quarvel-place", [](QIODevice&, QSettings::SettingsMap&) { return false; },
        [](QIODevice&, const QSettings::SettingsMap&) { return false; });
    const QString name =
        QSettings(placeOnly, QSettings::UserScope, organisation, application).fileName();
    return name.left(name.lastIndexOf('.')) + ".ini";
}

bool SettingsFileUsable(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return errno == ENOENT;
    return Usable(st);
}

void ReadSettingsFile(const QString& path, const std::function<void(QSettings&)>& read) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st;
    if (::fstat(fd, &st) == 0 && Usable(st)) {
        // The settings are read from the file just checked (not from the name again, which
        // could have been replaced by a pipe in between).
        QSettings settings(QString("/proc/self/fd/%1").arg(fd), QSettings::IniFormat);
        read(settings);
    }
    ::close(fd);
}

bool WriteSettingsFile(const QString& path, const std::function<void(QSettings&)>& change) {
    QByteArray old;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno != ENOENT) return false;
    if (fd >= 0) {
        struct stat st;
        const bool usable = ::fstat(fd, &st) == 0 && Usable(st);
        if (usable) {
            QFile file;
            if (file.open(fd, QIODevice::ReadOnly)) old = file.read(MaxSettingsBytes + 1);
        }
        ::close(fd);
        if (!usable || old.size() > MaxSettingsBytes) return false;
    }
    // Qt's own INI writer works on a private copy beside the file; the finished bytes then
    // replace the file in one step.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) return false;
    QByteArray changed;
    {
        QTemporaryFile copy(folder + "/.settings-XXXXXX");
        if (!copy.open() || copy.write(old) != old.size() || !copy.flush()) return false;
        QSettings settings(copy.fileName(), QSettings::IniFormat);
        change(settings);
        settings.sync();
        if (settings.status() != QSettings::NoError) return false;
        // Qt replaces the copy by a new file of the same name: read it by its name.
        QFile written(copy.fileName());
        if (!written.open(QIODevice::ReadOnly)) return false;
        changed = written.read(MaxSettingsBytes + 1);
    }
    try {
        WriteFileAtomically(QFile::encodeName(path).toStdString(), changed.constData(),
                            size_t(changed.size()), FileRole::File);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::vector<std::string> ReadRecentFiles(const QString& path, size_t max) {
    std::vector<std::string> paths;
    ReadSettingsFile(path, [&](QSettings& settings) {
        const int count = settings.beginReadArray("RecentFiles");
        const int n = int(std::min<long long>(std::max(count, 0), (long long)max));
        for (int i = 0; i < n; ++i) {
            settings.setArrayIndex(i);
            paths.push_back(settings.value("Path").toByteArray().toStdString());
        }
        settings.endArray();
    });
    return paths;
}

} // namespace quarvel
