#include "creditbookstore.h"

#include "core/db/database.h"

namespace CreditBookStore {

namespace {
const QString accountTable = QStringLiteral("tbl_caderneta");
const QString itemTable = QStringLiteral("tbl_prod_caderneta");
} // namespace

QList<Account> accounts(Database& db) {
    // names in Brazilian order (the collation registered on the connection)
    QSqlQuery q =
        db.prepare(QStringLiteral("SELECT id, nome FROM tbl_caderneta ORDER BY nome COLLATE PTBR ASC"));
    Database::run(q);
    QList<Account> list;
    while (q.next())
        list << Account{q.value(0).toLongLong(), q.value(1).toString()};
    return list;
}

QList<ChargedItem> items(Database& db, qint64 accountId) {
    QSqlQuery q = db.prepare(QStringLiteral(
        "SELECT rowid, produto, valor, data, hora FROM tbl_prod_caderneta WHERE id_ligacao = :conta"));
    q.bindValue(QStringLiteral(":conta"), accountId);
    Database::run(q);
    const ColumnInfo* date = db.column(itemTable, QStringLiteral("data"));
    const ColumnInfo* time = db.column(itemTable, QStringLiteral("hora"));
    QList<ChargedItem> list;
    while (q.next())
        list << ChargedItem{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                            Database::displayText(date, q.value(3)), Database::displayText(time, q.value(4))};
    return list;
}

void chargeItem(Database& db, qint64 accountId, const QString& produto, const QString& valor,
                const QString& data, const QString& hora) {
    QSqlQuery q =
        db.prepare(QStringLiteral("INSERT INTO tbl_prod_caderneta (id_ligacao, produto, valor, data, hora) "
                                  "VALUES (:conta, :produto, :valor, :data, :hora)"));
    q.bindValue(QStringLiteral(":conta"), accountId);
    q.bindValue(QStringLiteral(":produto"), db.storable(itemTable, QStringLiteral("produto"), produto));
    q.bindValue(QStringLiteral(":valor"), db.storable(itemTable, QStringLiteral("valor"), valor));
    q.bindValue(QStringLiteral(":data"), db.storable(itemTable, QStringLiteral("data"), data));
    q.bindValue(QStringLiteral(":hora"), db.storable(itemTable, QStringLiteral("hora"), hora));
    Database::run(q);
}

void removeItem(Database& db, qint64 itemRow) {
    QSqlQuery q = db.prepare(QStringLiteral("DELETE FROM tbl_prod_caderneta WHERE rowid = :linha"));
    q.bindValue(QStringLiteral(":linha"), itemRow);
    Database::run(q);
}

bool openAccount(Database& db, const QString& name) {
    const QVariant nome = db.storable(accountTable, QStringLiteral("nome"), name);
    bool opened = false;
    db.transaction([&] {
        QSqlQuery taken =
            db.prepare(QStringLiteral("SELECT 1 FROM tbl_caderneta WHERE nome = :nome COLLATE NOCASE"));
        taken.bindValue(QStringLiteral(":nome"), nome);
        Database::run(taken);
        if (taken.next()) return;
        QSqlQuery insert = db.prepare(QStringLiteral("INSERT INTO tbl_caderneta (nome) VALUES (:nome)"));
        insert.bindValue(QStringLiteral(":nome"), nome);
        Database::run(insert);
        opened = true;
    });
    return opened;
}

void closeAccount(Database& db, qint64 accountId) {
    db.transaction([&] {
        QSqlQuery deleteItems =
            db.prepare(QStringLiteral("DELETE FROM tbl_prod_caderneta WHERE id_ligacao = :conta"));
        deleteItems.bindValue(QStringLiteral(":conta"), accountId);
        Database::run(deleteItems);
        QSqlQuery deleteAccount = db.prepare(QStringLiteral("DELETE FROM tbl_caderneta WHERE id = :conta"));
        deleteAccount.bindValue(QStringLiteral(":conta"), accountId);
        Database::run(deleteAccount);
    });
}

} // namespace CreditBookStore
