#include "withdrawallegend.h"

#include "core/base/errors.h"
#include "core/settings/passwordstore.h"

#include <QStringList>

namespace WithdrawalLegend {

QString line(const QStringList& tillPasswords) {
    QString shortcut = QStringLiteral("CTRL + S – Permite efetuar a sangria de valores do caixa");
    if (!tillPasswords.contains(deliveredPassword)) return shortcut;
    return shortcut + QStringLiteral(" (Senha teste: %1 )").arg(deliveredPassword);
}

QString line(Database& database) {
    try {
        return line(PasswordStore::tillPasswords(database));
    } catch (const DbError&) {
        return line(QStringList()); // a failed read shows no password
    }
}

} // namespace WithdrawalLegend
