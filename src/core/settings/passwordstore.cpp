#include "passwordstore.h"

#include "core/base/errors.h"
#include "core/db/database.h"

#include <QSqlQuery>

namespace PasswordStore {

bool matches(Database& db, const QString& column, const QString& typed) {
    QString sql;
    if (column == QLatin1String("s_caixa"))
        sql = QStringLiteral("SELECT s_caixa FROM tbl_senhas WHERE s_caixa = :senha LIMIT 1");
    else if (column == QLatin1String("s_admin"))
        sql = QStringLiteral("SELECT s_admin FROM tbl_senhas WHERE s_admin = :senha LIMIT 1");
    else
        throw DbError(QStringLiteral("O campo '%1' não é uma senha de tbl_senhas.").arg(column));
    QSqlQuery q = db.prepare(sql);
    q.bindValue(QStringLiteral(":senha"), typed);
    Database::run(q);
    // compared here as well: the stored text must be the typed one exactly, whatever the engine's
    // comparison
    return q.next() && q.value(0).toString() == typed;
}

Passwords passwords(Database& db) {
    QSqlQuery q =
        db.prepare(QStringLiteral("SELECT s_caixa, s_admin FROM tbl_senhas ORDER BY rowid LIMIT 1"));
    Database::run(q);
    return q.next() ? Passwords{q.value(0).toString(), q.value(1).toString()} : Passwords{};
}

void save(Database& db, const Passwords& p) {
    const QString table = QStringLiteral("tbl_senhas");
    const QVariant till = db.storable(table, QStringLiteral("s_caixa"), p.till);
    const QVariant admin = db.storable(table, QStringLiteral("s_admin"), p.admin);
    db.transaction([&] {
        QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_senhas SET s_caixa = :caixa, s_admin = :admin "
                                                "WHERE rowid = (SELECT min(rowid) FROM tbl_senhas)"));
        q.bindValue(QStringLiteral(":caixa"), till);
        q.bindValue(QStringLiteral(":admin"), admin);
        Database::run(q);
        if (q.numRowsAffected() > 0) return;
        QSqlQuery add =
            db.prepare(QStringLiteral("INSERT INTO tbl_senhas (s_caixa, s_admin) VALUES (:caixa, :admin)"));
        add.bindValue(QStringLiteral(":caixa"), till);
        add.bindValue(QStringLiteral(":admin"), admin);
        Database::run(add);
    });
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
