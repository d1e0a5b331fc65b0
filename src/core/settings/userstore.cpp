#include "userstore.h"

#include "core/db/database.h"

#include <QSqlQuery>

namespace UserStore {

namespace {
std::optional<User> one(QSqlQuery& q) {
    Database::run(q);
    if (!q.next()) return std::nullopt;
    return User{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()};
}
} // namespace

std::optional<User> find(Database& db, const QString& name) {
    QSqlQuery q = db.prepare(QStringLiteral(
        "SELECT rowid, usuario, senha FROM tbl_adm WHERE usuario = :usuario ORDER BY rowid LIMIT 1"));
    q.bindValue(QStringLiteral(":usuario"), name);
    return one(q);
}

std::optional<User> first(Database& db) {
    QSqlQuery q =
        db.prepare(QStringLiteral("SELECT rowid, usuario, senha FROM tbl_adm ORDER BY rowid LIMIT 1"));
    return one(q);
}

void save(Database& db, User& user) {
    const QString table = QStringLiteral("tbl_adm");
    const QVariant name = db.storable(table, QStringLiteral("usuario"), user.name);
    const QVariant password = db.storable(table, QStringLiteral("senha"), user.password);
    db.transaction([&] {
        QSqlQuery q = db.prepare(
            QStringLiteral("UPDATE tbl_adm SET usuario = :usuario, senha = :senha WHERE rowid = :row"));
        q.bindValue(QStringLiteral(":usuario"), name);
        q.bindValue(QStringLiteral(":senha"), password);
        q.bindValue(QStringLiteral(":row"), user.row);
        Database::run(q);
        if (q.numRowsAffected() > 0) return;
        QSqlQuery add =
            db.prepare(QStringLiteral("INSERT INTO tbl_adm (usuario, senha) VALUES (:usuario, :senha)"));
        add.bindValue(QStringLiteral(":usuario"), name);
        add.bindValue(QStringLiteral(":senha"), password);
        Database::run(add);
        user.row = add.lastInsertId().toLongLong();
    });
}

} // namespace UserStore
