#include "festasettings.h"

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

} // namespace

QString FestaSettings::fileName() {
    if (!fileOverride().isEmpty()) return fileOverride();
    return OwnerSettings::defaultPath(QStringLiteral("festa.conf"));
}

void FestaSettings::setFileName(const QString& file) {
    fileOverride() = file;
}

std::optional<FestaSettings> FestaSettings::load() {
    if (!QFileInfo::exists(fileName())) return std::nullopt;
    QSettings file(fileName(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("festa"));
    FestaSettings s;
    s.host = file.value(QStringLiteral("servidor")).toString().trimmed();
    if (s.host.isEmpty()) return std::nullopt;
    const int port = file.value(QStringLiteral("porta"), s.port).toInt();
    if (port > 0 && port < 65536) s.port = port;
    s.database = file.value(QStringLiteral("base"), s.database).toString().trimmed();
    s.deskName = file.value(QStringLiteral("caixa")).toString().trimmed();
    s.password = file.value(QStringLiteral("senha")).toString();
    s.treasurerPassword = file.value(QStringLiteral("senha_tesouraria")).toString();
    return s;
}

void FestaSettings::save() const {
    const bool written = OwnerSettings::write(fileName(), [this](QSettings& file) {
        file.beginGroup(QStringLiteral("festa"));
        file.setValue(QStringLiteral("servidor"), host.trimmed());
        file.setValue(QStringLiteral("porta"), port);
        file.setValue(QStringLiteral("base"), database.trimmed());
        file.setValue(QStringLiteral("caixa"), deskName.trimmed());
        file.setValue(QStringLiteral("senha"), password);
        if (treasurerPassword.isEmpty())
            file.remove(QStringLiteral("senha_tesouraria"));
        else
            file.setValue(QStringLiteral("senha_tesouraria"), treasurerPassword);
        file.endGroup();
    });
    if (!written)
        throw AppError(QStringLiteral("Não foi possível gravar a configuração da festa em \"%1\".")
                           .arg(QDir::toNativeSeparators(fileName())));
}

void FestaSettings::remove() {
    QFile::remove(fileName());
}
