#include "festastore.h"

#include "core/db/database.h"

#include <QSqlQuery>

namespace FestaStore {

QString header(Database& db) {
    QSqlQuery q(db.handle());
    q.prepare(QStringLiteral("SELECT cabecalho FROM tbl_festa LIMIT 1"));
    return q.exec() && q.next() ? q.value(0).toString() : QString();
}

TicketTexts texts(Database& db) {
    QSqlQuery q =
        db.prepare(QStringLiteral("SELECT cabecalho, rodape FROM tbl_festa ORDER BY rowid LIMIT 1"));
    Database::run(q);
    return q.next() ? TicketTexts{q.value(0).toString(), q.value(1).toString()} : TicketTexts{};
}

void save(Database& db, const TicketTexts& texts) {
    const QString table = QStringLiteral("tbl_festa");
    const QVariant header = db.storable(table, QStringLiteral("cabecalho"), texts.header);
    const QVariant footer = db.storable(table, QStringLiteral("rodape"), texts.footer);
    db.transaction([&] {
        QSqlQuery q =
            db.prepare(QStringLiteral("UPDATE tbl_festa SET cabecalho = :cabecalho, rodape = :rodape "
                                      "WHERE rowid = (SELECT min(rowid) FROM tbl_festa)"));
        q.bindValue(QStringLiteral(":cabecalho"), header);
        q.bindValue(QStringLiteral(":rodape"), footer);
        Database::run(q);
        if (q.numRowsAffected() > 0) return;
        QSqlQuery add = db.prepare(
            QStringLiteral("INSERT INTO tbl_festa (cabecalho, rodape) VALUES (:cabecalho, :rodape)"));
        add.bindValue(QStringLiteral(":cabecalho"), header);
        add.bindValue(QStringLiteral(":rodape"), footer);
        Database::run(add);
    });
}

} // namespace FestaStore
