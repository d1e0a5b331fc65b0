#include "printersettings.h"

#include "core/base/errors.h"
#include "core/base/ownersettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

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

} // namespace

QString PrinterSettings::fileName() {
    if (!fileOverride().isEmpty()) return fileOverride();
    return OwnerSettings::defaultPath(QStringLiteral("impressora.conf"));
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
    const bool written = OwnerSettings::write(fileName(), [this](QSettings& file) {
        file.beginGroup(QStringLiteral("impressora"));
        for (const auto& k : kinds)
            if (kind == k.kind) file.setValue(QStringLiteral("tipo"), QLatin1String(k.name));
        file.setValue(QStringLiteral("endereco"), host);
        file.setValue(QStringLiteral("porta"), port);
        file.setValue(QStringLiteral("dispositivo"), device);
        file.setValue(QStringLiteral("papel_mm"), paperMm);
        file.setValue(QStringLiteral("cortar_cada_ficha"), cutEachTicket);
        file.endGroup();
    });
    if (!written)
        throw AppError(QStringLiteral("Não foi possível gravar a configuração da impressora em \"%1\".")
                           .arg(QDir::toNativeSeparators(fileName())));
}
