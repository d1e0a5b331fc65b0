#include "festajournalstore.h"

#include "core/db/database.h"

#include <QSqlQuery>
#include <QUuid>

namespace FestaJournalStore {

Desk desk(Database& db) {
    QSqlQuery& q =
        db.prepared(QStringLiteral("SELECT caixa_id, festa_id, primeiro_seq, confirmado, catalogo, "
                                   "parado FROM tbl_festa_caixa WHERE id = 1"));
    Database::run(q);
    if (!q.next()) {
        q.finish();
        QSqlQuery add = db.prepare(QStringLiteral("INSERT OR IGNORE INTO tbl_festa_caixa (id, caixa_id) "
                                                  "VALUES (1, ?)"));
        add.addBindValue(QUuid::createUuid().toString(QUuid::WithoutBraces));
        Database::run(add);
        return desk(db);
    }
    Desk d;
    d.deskId = q.value(0).toString();
    d.festaId = q.value(1).toString();
    d.firstSeq = q.value(2).toLongLong();
    d.acknowledged = q.value(3).toLongLong();
    d.catalogue = q.value(4).toInt();
    d.stopped = q.value(5).toString();
    q.finish();
    return d;
}

qint64 lastSeq(Database& db) {
    QSqlQuery& q = db.prepared(QStringLiteral("SELECT coalesce(max(seq), 0) FROM tbl_festa_diario"));
    Database::run(q);
    const qint64 last = q.next() ? q.value(0).toLongLong() : 0;
    q.finish();
    return last;
}

qint64 nextSeq(Database& db) {
    return lastSeq(db) + 1;
}

void insert(Database& db, const Row& row) {
    QSqlQuery& q = db.prepared(
        QStringLiteral("INSERT INTO tbl_festa_diario (seq, tipo, conteudo, hash) VALUES (?, ?, ?, ?)"));
    q.addBindValue(row.seq);
    q.addBindValue(row.kind);
    q.addBindValue(row.content);
    q.addBindValue(row.hash);
    Database::run(q);
}

QList<Row> rows(Database& db, qint64 from, int limit) {
    QSqlQuery& q = db.prepared(QStringLiteral(
        "SELECT seq, tipo, conteudo, hash FROM tbl_festa_diario WHERE seq >= ? ORDER BY seq LIMIT ?"));
    q.addBindValue(from);
    q.addBindValue(limit);
    Database::run(q);
    QList<Row> out;
    while (q.next())
        out << Row{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                   q.value(3).toString()};
    return out;
}

QString hashAt(Database& db, qint64 seq) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT hash FROM tbl_festa_diario WHERE seq = ?"));
    q.addBindValue(seq);
    Database::run(q);
    return q.next() ? q.value(0).toString() : QString();
}

void setHash(Database& db, qint64 seq, const QString& hash) {
    QSqlQuery& q = db.prepared(QStringLiteral("UPDATE tbl_festa_diario SET hash = ? WHERE seq = ?"));
    q.addBindValue(hash);
    q.addBindValue(seq);
    Database::run(q);
}

void setIdentity(Database& db, const QString& deskId, qint64 firstSeq) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_festa_caixa SET caixa_id = ?, primeiro_seq = ?, "
                                            "confirmado = ?, parado = '' WHERE id = 1"));
    q.addBindValue(deskId);
    q.addBindValue(firstSeq);
    q.addBindValue(firstSeq - 1);
    Database::run(q);
}

void setAcknowledged(Database& db, qint64 seq) {
    QSqlQuery& q = db.prepared(
        QStringLiteral("UPDATE tbl_festa_caixa SET confirmado = max(confirmado, ?) WHERE id = 1"));
    q.addBindValue(seq);
    Database::run(q);
}

void join(Database& db, const QString& festaId, qint64 firstSeq) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_festa_caixa SET festa_id = ?, primeiro_seq = ?, "
                                            "confirmado = ? WHERE id = 1"));
    q.addBindValue(festaId.isNull() ? QStringLiteral("") : festaId);
    q.addBindValue(firstSeq);
    q.addBindValue(firstSeq - 1);
    Database::run(q);
}

void setFesta(Database& db, const QString& festaId) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_festa_caixa SET festa_id = ? WHERE id = 1"));
    q.addBindValue(festaId);
    Database::run(q);
}

void setStopped(Database& db, const QString& why) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_festa_caixa SET parado = ? WHERE id = 1"));
    q.addBindValue(why);
    Database::run(q);
}

void setCatalogue(Database& db, int version) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_festa_caixa SET catalogo = ? WHERE id = 1"));
    q.addBindValue(version);
    Database::run(q);
}

void storeCatalogue(Database& db, int version, const QString& content) {
    QSqlQuery q = db.prepare(
        QStringLiteral("INSERT OR REPLACE INTO tbl_festa_catalogo (versao, conteudo) VALUES (?, ?)"));
    q.addBindValue(version);
    q.addBindValue(content);
    Database::run(q);
}

QPair<int, QString> newestCatalogue(Database& db) {
    QSqlQuery q = db.prepare(
        QStringLiteral("SELECT versao, conteudo FROM tbl_festa_catalogo ORDER BY versao DESC LIMIT 1"));
    Database::run(q);
    if (!q.next()) return {0, QString()};
    return {q.value(0).toInt(), q.value(1).toString()};
}

void dropCatalogues(Database& db, int upTo) {
    QSqlQuery q = db.prepare(QStringLiteral("DELETE FROM tbl_festa_catalogo WHERE versao <= ?"));
    q.addBindValue(upTo);
    Database::run(q);
}

} // namespace FestaJournalStore
