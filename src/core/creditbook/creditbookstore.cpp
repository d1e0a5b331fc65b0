#include "creditbookstore.h"

#include "core/db/datamodule.h"

namespace CreditBookStore {

namespace {
const QString accounts = QStringLiteral("tbl_caderneta");
const QString items = QStringLiteral("tbl_prod_caderneta");
} // namespace

void listAccounts(DataModule& dm) {
    Dataset* q = dm.q_caderneta;
    q->close();
    // names in Brazilian order (the collation registered on the connection)
    q->setQuery(QStringLiteral("SELECT * FROM tbl_caderneta ORDER BY nome COLLATE PTBR ASC"), accounts);
    q->open();
}

void listItems(DataModule& dm, const QString& accountId) {
    Dataset* q = dm.q_prod_cad;
    q->close();
    q->setQuery(
        QStringLiteral("SELECT * FROM tbl_prod_caderneta WHERE id_ligacao = :conta"), items,
        {{QStringLiteral("conta"), dm.database().storable(items, QStringLiteral("id_ligacao"), accountId)}});
    q->open();
}

void chargeItem(DataModule& dm, const QString& accountId, const QString& produto, const QString& valor,
                const QString& data, const QString& hora) {
    Database& db = dm.database();
    QSqlQuery q =
        db.prepare(QStringLiteral("INSERT INTO tbl_prod_caderneta (id_ligacao, produto, valor, data, hora) "
                                  "VALUES (:conta, :produto, :valor, :data, :hora)"));
    q.bindValue(QStringLiteral(":conta"), db.storable(items, QStringLiteral("id_ligacao"), accountId));
    q.bindValue(QStringLiteral(":produto"), db.storable(items, QStringLiteral("produto"), produto));
    q.bindValue(QStringLiteral(":valor"), db.storable(items, QStringLiteral("valor"), valor));
    q.bindValue(QStringLiteral(":data"), db.storable(items, QStringLiteral("data"), data));
    q.bindValue(QStringLiteral(":hora"), db.storable(items, QStringLiteral("hora"), hora));
    dm.q_prod_cad->close();
    Database::run(q);
}

bool openAccount(DataModule& dm, const QString& name) {
    Database& db = dm.database();
    const QVariant nome = db.storable(accounts, QStringLiteral("nome"), name);
    QSqlQuery taken =
        db.prepare(QStringLiteral("SELECT 1 FROM tbl_caderneta WHERE nome = :nome COLLATE NOCASE"));
    taken.bindValue(QStringLiteral(":nome"), nome);
    Database::run(taken);
    if (taken.next()) return false;
    QSqlQuery insert = db.prepare(QStringLiteral("INSERT INTO tbl_caderneta (nome) VALUES (:nome)"));
    insert.bindValue(QStringLiteral(":nome"), nome);
    dm.q_caderneta->close();
    Database::run(insert);
    return true;
}

void closeAccount(DataModule& dm, const QString& accountId) {
    Database& db = dm.database();
    const QVariant id = db.storable(accounts, QStringLiteral("id"), accountId);
    dm.q_prod_cad->close();
    dm.q_caderneta->close();
    db.transaction([&] {
        QSqlQuery deleteItems =
            db.prepare(QStringLiteral("DELETE FROM tbl_prod_caderneta WHERE id_ligacao = :conta"));
        deleteItems.bindValue(QStringLiteral(":conta"), id);
        Database::run(deleteItems);
        QSqlQuery deleteAccount = db.prepare(QStringLiteral("DELETE FROM tbl_caderneta WHERE id = :conta"));
        deleteAccount.bindValue(QStringLiteral(":conta"), id);
        Database::run(deleteAccount);
    });
}

} // namespace CreditBookStore
