#include "productstore.h"

#include "core/db/database.h"

namespace ProductStore {

namespace {

const QString table = QStringLiteral("tbl_produtos");

QList<Product> read(Database& db, const QString& sql) {
    QSqlQuery q = db.prepare(sql);
    Database::run(q);
    QList<Product> products;
    while (q.next()) {
        const QString id = q.value(0).toString();
        products << Product{id.isEmpty() ? QChar() : id.at(0), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toString(), q.value(4).toString()};
    }
    return products;
}

} // namespace

QList<Product> products(Database& db) {
    return read(db, QStringLiteral("SELECT id, produto, impresso, valor, quantidade FROM tbl_produtos "
                                   "ORDER BY id ASC"));
}

QList<Product> namedProducts(Database& db) {
    return read(db, QStringLiteral("SELECT id, produto, impresso, valor, quantidade FROM tbl_produtos "
                                   "WHERE produto <> '' ORDER BY id ASC"));
}

void save(Database& db, const Product& p) {
    QSqlQuery q =
        db.prepare(QStringLiteral("UPDATE tbl_produtos SET produto = :produto, impresso = :impresso, "
                                  "valor = :valor, quantidade = :quantidade WHERE id = :id"));
    q.bindValue(QStringLiteral(":produto"), db.storable(table, QStringLiteral("produto"), p.name));
    q.bindValue(QStringLiteral(":impresso"), db.storable(table, QStringLiteral("impresso"), p.ticketText));
    q.bindValue(QStringLiteral(":valor"), db.storable(table, QStringLiteral("valor"), p.price));
    q.bindValue(QStringLiteral(":quantidade"), db.storable(table, QStringLiteral("quantidade"), p.tickets));
    q.bindValue(QStringLiteral(":id"), QString(p.key));
    Database::run(q);
}

QString tillCounter(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT cont FROM tbl_cont ORDER BY rowid LIMIT 1"));
    Database::run(q);
    return q.next() ? q.value(0).toString() : QString();
}

void saveTillCounter(Database& db, const QString& counter) {
    const QVariant cont = db.storable(QStringLiteral("tbl_cont"), QStringLiteral("cont"), counter);
    db.transaction([&] {
        QSqlQuery q = db.prepare(QStringLiteral(
            "UPDATE tbl_cont SET cont = :cont WHERE rowid = (SELECT min(rowid) FROM tbl_cont)"));
        q.bindValue(QStringLiteral(":cont"), cont);
        Database::run(q);
        if (q.numRowsAffected() > 0) return;
        QSqlQuery add = db.prepare(QStringLiteral("INSERT INTO tbl_cont (cont) VALUES (:cont)"));
        add.bindValue(QStringLiteral(":cont"), cont);
        Database::run(add);
    });
}

} // namespace ProductStore
