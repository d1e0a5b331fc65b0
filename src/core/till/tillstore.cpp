#include "tillstore.h"

#include "core/base/errors.h"
#include "core/db/database.h"

#include <QSqlQuery>

namespace TillStore {

namespace {

// Text columns of the till never hold NULL: an empty name is stored as the empty text.
QString notNull(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

std::optional<TillRow> readTill(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT aberto, numero, responsavel, operador, data, hora, "
                                            "entrada, em_caixa, sangria, sangrias, fichas_impressas "
                                            "FROM tbl_caixa_atual WHERE id = 1"));
    Database::run(q);
    if (!q.next()) return std::nullopt;
    TillRow t;
    t.open = q.value(0).toInt() != 0;
    t.number = q.value(1).toLongLong();
    t.responsible = q.value(2).toString();
    t.operatorName = q.value(3).toString();
    t.openDate = q.value(4).toString();
    t.openTime = q.value(5).toString();
    t.floatText = q.value(6).toString();
    t.cash = q.value(7).toString();
    t.withdrawn = q.value(8).toString();
    t.withdrawals = q.value(9).toInt();
    t.ticketsPrinted = q.value(10).toInt();
    return t;
}

void writeTill(Database& db, const TillRow& t) {
    QSqlQuery q = db.prepare(QStringLiteral("INSERT OR REPLACE INTO tbl_caixa_atual (id, aberto, numero, "
                                            "responsavel, operador, data, hora, entrada, em_caixa, sangria, "
                                            "sangrias, fichas_impressas) "
                                            "VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(t.open ? 1 : 0);
    q.addBindValue(t.number);
    q.addBindValue(notNull(t.responsible));
    q.addBindValue(notNull(t.operatorName));
    q.addBindValue(notNull(t.openDate));
    q.addBindValue(notNull(t.openTime));
    q.addBindValue(notNull(t.floatText));
    q.addBindValue(notNull(t.cash));
    q.addBindValue(notNull(t.withdrawn));
    q.addBindValue(t.withdrawals);
    q.addBindValue(t.ticketsPrinted);
    Database::run(q);
}

void setTicketsPrinted(Database& db, int printed) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_caixa_atual SET fichas_impressas = ? WHERE id = 1"));
    q.addBindValue(printed);
    Database::run(q);
}

QHash<QString, qint64> readCounts(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT id, fichas FROM tbl_caixa_fichas"));
    Database::run(q);
    QHash<QString, qint64> counts;
    while (q.next())
        counts.insert(q.value(0).toString(), q.value(1).toLongLong());
    return counts;
}

void emptyCounts(Database& db) {
    db.execute(QStringLiteral("DELETE FROM tbl_caixa_fichas"));
}

qint64 readCounter(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT cont FROM tbl_cont LIMIT 1"));
    Database::run(q);
    return q.next() ? q.value(0).toLongLong() : 0;
}

void writeCounter(Database& db, qint64 value) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_cont SET cont = ?"));
    q.addBindValue(value);
    Database::run(q);
    if (q.numRowsAffected() > 0) return;
    // a counter table left without its row gets it back
    QSqlQuery add = db.prepare(QStringLiteral("INSERT INTO tbl_cont (cont) VALUES (?)"));
    add.addBindValue(value);
    Database::run(add);
}

void emptyTally(Database& db) {
    db.execute(QStringLiteral("DELETE FROM tbl_cont_vendas"));
}

SaleLine productLine(Database& db, QChar key) {
    QSqlQuery& q = db.prepared(QStringLiteral("SELECT id, produto, valor, quantidade, impresso, id_relaciona "
                                              "FROM tbl_produtos WHERE id = ? COLLATE NOCASE LIMIT 1"));
    q.addBindValue(QString(key));
    Database::run(q);
    SaleLine line;
    if (!q.next()) return line;
    line.id = q.value(0).toString();
    line.product = q.value(1).toString();
    line.price = q.value(2).toString();
    line.tickets = q.value(3);
    line.ticketText = q.value(4).toString();
    line.relation = q.value(5).toString();
    q.finish();
    return line;
}

QHash<QString, QString> readNames(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT lower(id), produto FROM tbl_produtos ORDER BY rowid"));
    Database::run(q);
    QHash<QString, QString> names;
    while (q.next()) {
        const QString id = q.value(0).toString();
        if (!names.contains(id)) names.insert(id, q.value(1).toString());
    }
    return names;
}

QList<SaleLine> readSale(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT rowid, id, produto, valor, quantidade, impresso, "
                                            "id_relacionamento FROM tbl_vendas ORDER BY rowid"));
    Database::run(q);
    QList<SaleLine> lines;
    while (q.next()) {
        SaleLine l;
        l.rowid = q.value(0).toLongLong();
        l.id = q.value(1).toString();
        l.product = q.value(2).toString();
        l.price = q.value(3).toString();
        l.tickets = q.value(4);
        l.ticketText = q.value(5).toString();
        l.relation = q.value(6).toString();
        lines << l;
    }
    return lines;
}

qint64 insertSaleLine(Database& db, const SaleLine& l) {
    QSqlQuery& q =
        db.prepared(QStringLiteral("INSERT INTO tbl_vendas (id, produto, valor, quantidade, impresso, "
                                   "id_relacionamento) VALUES (?, ?, ?, ?, ?, ?)"));
    q.addBindValue(l.id);
    q.addBindValue(l.product);
    q.addBindValue(l.price);
    q.addBindValue(l.tickets.isNull() ? QVariant(QMetaType(QMetaType::LongLong)) : l.tickets);
    q.addBindValue(l.ticketText);
    q.addBindValue(l.relation);
    Database::run(q);
    const qint64 rowid = q.lastInsertId().toLongLong();
    q.finish();
    return rowid;
}

void emptySale(Database& db) {
    db.execute(QStringLiteral("DELETE FROM tbl_vendas"));
}

void bookSale(Database& db) {
    db.execute(QStringLiteral("INSERT INTO tbl_cont_vendas (produto, valor, quantidade, impresso, id, "
                              "id_relacionamento) SELECT produto, valor, quantidade, impresso, id, "
                              "id_relacionamento FROM tbl_vendas ORDER BY rowid"));
    // Upsert from a select needs its WHERE clause to parse.
    db.execute(QStringLiteral("INSERT INTO tbl_caixa_fichas (id, fichas) "
                              "SELECT lower(id), sum(coalesce(quantidade, 0)) FROM tbl_vendas WHERE id <> '' "
                              "GROUP BY lower(id) "
                              "ON CONFLICT (id) DO UPDATE SET fichas = fichas + excluded.fichas"));
}

void writeBackup(Database& db, const QString& text) {
    QSqlQuery q = db.prepare(
        QStringLiteral("UPDATE tbl_base SET ultcaixa = ? WHERE rowid = (SELECT min(rowid) FROM tbl_base)"));
    q.addBindValue(text);
    Database::run(q);
    if (q.numRowsAffected() > 0) return;
    QSqlQuery add = db.prepare(QStringLiteral("INSERT INTO tbl_base (ultcaixa) VALUES (?)"));
    add.addBindValue(text);
    Database::run(add);
}

} // namespace TillStore
