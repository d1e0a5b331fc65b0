#include "withdrawallegend.h"

#include "core/db/database.h"

#include <QSqlQuery>
#include <QStringList>

namespace WithdrawalLegend {

QString line(const QStringList& tillPasswords) {
    QString shortcut = QStringLiteral("CTRL + S – Permite efetuar a sangria de valores do caixa");
    if (!tillPasswords.contains(deliveredPassword)) return shortcut;
    return shortcut + QStringLiteral(" (Senha teste: %1 )").arg(deliveredPassword);
}

QString line(Database& database) {
    QSqlQuery q(database.handle());
    QStringList passwords;
    if (q.exec(QStringLiteral("select s_caixa from tbl_senhas")))
        while (q.next())
            passwords << q.value(0).toString();
    return line(passwords);
}

} // namespace WithdrawalLegend
