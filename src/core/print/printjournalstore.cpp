#include "printjournalstore.h"

#include "core/db/database.h"

#include <QSqlQuery>

namespace PrintJournalStore {

namespace {

QList<Row> rows(QSqlQuery& q) {
    Database::run(q);
    QList<Row> out;
    while (q.next())
        out << Row{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                   q.value(3).toString(),   q.value(4).toString(), q.value(5).toString(),
                   q.value(6).toString()};
    return out;
}

} // namespace

qint64 insert(Database& db, const Row& row, const QString& moment) {
    QSqlQuery& q = db.prepared(QStringLiteral("INSERT INTO tbl_impressoes "
                                              "(documento, tipo, descricao, passo, rota, estado, momento) "
                                              "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const QString& v : {row.document, row.kind, row.description, row.step, row.route, row.state, moment})
        q.addBindValue(v.isNull() ? QStringLiteral("") : v); // an empty text, never NULL
    Database::run(q);
    const qint64 seq = q.lastInsertId().toLongLong();
    q.finish();
    return seq;
}

void setState(Database& db, qint64 seq, const QString& state) {
    QSqlQuery& q = db.prepared(QStringLiteral("UPDATE tbl_impressoes SET estado = ? WHERE seq = ?"));
    q.addBindValue(state);
    q.addBindValue(seq);
    Database::run(q);
    q.finish();
}

void setPrinted(Database& db, qint64 seq, const QString& state, const PrintJob& job) {
    QSqlQuery& q = db.prepared(
        QStringLiteral("UPDATE tbl_impressoes SET estado = ?, destino = ?, trabalho = ? WHERE seq = ?"));
    q.addBindValue(state);
    q.addBindValue(job.destination.isNull() ? QStringLiteral("") : job.destination); // never NULL
    q.addBindValue(job.id);
    q.addBindValue(seq);
    Database::run(q);
    q.finish();
}

QList<Row> inState(Database& db, const QString& state) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT seq, documento, tipo, descricao, passo, rota, estado "
                                            "FROM tbl_impressoes WHERE estado = ? ORDER BY seq"));
    q.addBindValue(state);
    return rows(q);
}

QList<Row> ofKind(Database& db, const QString& kind) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT seq, documento, tipo, descricao, passo, rota, estado "
                                            "FROM tbl_impressoes WHERE tipo = ? ORDER BY seq"));
    q.addBindValue(kind);
    return rows(q);
}

} // namespace PrintJournalStore
