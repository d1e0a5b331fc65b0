#include "passwordstore.h"

#include "core/base/errors.h"
#include "core/db/database.h"
#include "core/db/datamodule.h"

#include <QSqlQuery>

namespace PasswordStore {

void find(DataModule& dm, const QString& column, const QString& typed) {
    QString sql;
    if (column == QLatin1String("s_caixa"))
        sql = QStringLiteral("SELECT * FROM tbl_senhas WHERE s_caixa = :senha");
    else if (column == QLatin1String("s_admin"))
        sql = QStringLiteral("SELECT * FROM tbl_senhas WHERE s_admin = :senha");
    else
        throw DbError(QStringLiteral("O campo '%1' não é uma senha de tbl_senhas.").arg(column));
    Dataset* q = dm.q_senhas;
    q->setQuery(sql, QStringLiteral("tbl_senhas"), {{QStringLiteral("senha"), typed}});
    q->open();
}

QStringList tillPasswords(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT s_caixa FROM tbl_senhas"));
    Database::run(q);
    QStringList passwords;
    while (q.next())
        passwords << q.value(0).toString();
    return passwords;
}

} // namespace PasswordStore
