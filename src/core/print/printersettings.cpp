#include "printersettings.h"

#include "core/base/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString& fileOverride() {
    static QString f;
    return f;
}

constexpr struct {
    PrinterSettings::Kind kind;
    const char* name;
} kinds[] = {{PrinterSettings::Kind::PrintServer, "servidor"},
             {PrinterSettings::Kind::Network, "rede"},
             {PrinterSettings::Kind::Usb, "usb"}};

constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

QString PrinterSettings::fileName() {
    if (!fileOverride().isEmpty()) return fileOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quorvanta/impressora.conf");
}

void PrinterSettings::setFileName(const QString& file) {
    fileOverride() = file;
}

PrinterSettings PrinterSettings::load() {
    PrinterSettings s;
    if (!QFileInfo::exists(fileName())) return s;
    QSettings file(fileName(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("impressora"));
    const QString kind = file.value(QStringLiteral("tipo")).toString();
    for (const auto& k : kinds)
        if (kind == QLatin1String(k.name)) s.kind = k.kind;
    s.host = file.value(QStringLiteral("endereco")).toString().trimmed();
    const int port = file.value(QStringLiteral("porta"), s.port).toInt();
    if (port > 0 && port < 65536) s.port = port;
    s.device = file.value(QStringLiteral("dispositivo"), s.device).toString();
    s.paperMm = file.value(QStringLiteral("papel_mm")).toInt() == 58 ? 58 : 80;
    s.cutEachTicket = file.value(QStringLiteral("cortar_cada_ficha"), true).toBool();
    return s;
}

void PrinterSettings::save() const {
    const QString path = fileName();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The file exists with the owner's permissions before anything is written into it: the settings
    // replace it keeping those permissions.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) ::close(fd);
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("impressora"));
    for (const auto& k : kinds)
        if (kind == k.kind) file.setValue(QStringLiteral("tipo"), QLatin1String(k.name));
    file.setValue(QStringLiteral("endereco"), host);
    file.setValue(QStringLiteral("porta"), port);
    file.setValue(QStringLiteral("dispositivo"), device);
    file.setValue(QStringLiteral("papel_mm"), paperMm);
    file.setValue(QStringLiteral("cortar_cada_ficha"), cutEachTicket);
    file.endGroup();
    file.sync();
    if (file.status() != QSettings::NoError || !QFile::setPermissions(path, ownerOnly))
        throw AppError(QStringLiteral("Não foi possível gravar a configuração da impressora em \"%1\".")
                           .arg(QDir::toNativeSeparators(path)));
}
