#include "festacataloguestore.h"

#include "core/db/database.h"

#include <QSqlQuery>

namespace FestaCatalogueStore {

void writeProducts(Database& db, const QList<FestaCatalogue::Product>& products) {
    db.execute(QStringLiteral("UPDATE tbl_produtos SET produto = '', impresso = '', valor = '0,00'"));
    for (const FestaCatalogue::Product& p : products) {
        QSqlQuery q =
            db.prepare(QStringLiteral("UPDATE tbl_produtos SET produto = ?, impresso = ?, valor = ?, "
                                      "quantidade = ? WHERE lower(id) = ?"));
        q.addBindValue(p.name);
        q.addBindValue(p.printed);
        q.addBindValue(p.price);
        q.addBindValue(p.tickets);
        q.addBindValue(p.key.toLower());
        Database::run(q);
    }
}

void writeTexts(Database& db, const QString& header, const QString& footer) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_festa SET cabecalho = ?, rodape = ?"));
    q.addBindValue(header);
    q.addBindValue(footer);
    Database::run(q);
    if (q.numRowsAffected() > 0) return;
    QSqlQuery add = db.prepare(QStringLiteral("INSERT INTO tbl_festa (cabecalho, rodape) VALUES (?, ?)"));
    add.addBindValue(header);
    add.addBindValue(footer);
    Database::run(add);
}

} // namespace FestaCatalogueStore
