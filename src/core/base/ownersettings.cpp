#include "ownersettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace OwnerSettings {

QString defaultPath(const QString& name) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quorvanta/") + name;
}

bool write(const QString& path, const std::function<void(QSettings& file)>& write) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The settings replace the file keeping the permissions it was made with.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) ::close(fd);
    QSettings file(path, QSettings::IniFormat);
    write(file);
    file.sync();
    return file.status() == QSettings::NoError &&
           QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace OwnerSettings
