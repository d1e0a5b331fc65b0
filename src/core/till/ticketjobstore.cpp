#include "ticketjobstore.h"

#include "core/db/database.h"

#include <QSqlQuery>

namespace TicketJobStore {

namespace {

// The state as stored.
QString stored(State state) {
    switch (state) {
    case State::Following:
        return QStringLiteral("acompanhando");
    case State::NotPrinted:
        return QStringLiteral("falhou");
    case State::Reprinted:
        return QStringLiteral("reimpresso");
    case State::Printed:
        return QStringLiteral("impresso");
    }
    return {};
}

} // namespace

void removeEnded(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("DELETE FROM tbl_fichas_trabalhos WHERE estado IN (?, ?)"));
    q.addBindValue(stored(State::Printed));
    q.addBindValue(stored(State::Reprinted));
    Database::run(q);
}

void insert(Database& db, const QString& productId, const QString& product, const QString& text,
            const PrintJob& job, State state) {
    QSqlQuery q = db.prepare(QStringLiteral("INSERT INTO tbl_fichas_trabalhos "
                                            "(produto_id, produto, impresso, destino, trabalho, estado) "
                                            "VALUES (?, ?, ?, ?, ?, ?)"));
    for (const QVariant& v : {QVariant(productId), QVariant(product), QVariant(text),
                              QVariant(job.destination), QVariant(job.id), QVariant(stored(state))})
        q.addBindValue(v);
    Database::run(q);
}

QList<PrintJob> jobs(Database& db, State state) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT destino, trabalho FROM tbl_fichas_trabalhos "
                                            "WHERE estado = ? ORDER BY seq"));
    q.addBindValue(stored(state));
    Database::run(q);
    QList<PrintJob> out;
    while (q.next())
        out << PrintJob{q.value(0).toString(), q.value(1).toInt()};
    return out;
}

QList<Ticket> tickets(Database& db, State state) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT seq, produto_id, produto, impresso, destino, trabalho "
                                            "FROM tbl_fichas_trabalhos WHERE estado = ? ORDER BY seq"));
    q.addBindValue(stored(state));
    Database::run(q);
    QList<Ticket> out;
    while (q.next())
        out << Ticket{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                      q.value(3).toString(), PrintJob{q.value(4).toString(), q.value(5).toInt()}};
    return out;
}

QList<ProductTickets> countPerProduct(Database& db, State state) {
    QSqlQuery q =
        db.prepare(QStringLiteral("SELECT produto, COUNT(*) FROM tbl_fichas_trabalhos "
                                  "WHERE estado = ? GROUP BY produto_id, produto ORDER BY MIN(seq)"));
    q.addBindValue(stored(state));
    Database::run(q);
    QList<ProductTickets> out;
    while (q.next())
        out << ProductTickets{q.value(0).toString(), q.value(1).toInt()};
    return out;
}

void setState(Database& db, const PrintJob& job, State from, State to) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_fichas_trabalhos SET estado = ? "
                                            "WHERE destino = ? AND trabalho = ? AND estado = ?"));
    q.addBindValue(stored(to));
    q.addBindValue(job.destination);
    q.addBindValue(job.id);
    q.addBindValue(stored(from));
    Database::run(q);
}

void setState(Database& db, qint64 seq, State to) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_fichas_trabalhos SET estado = ? WHERE seq = ?"));
    q.addBindValue(stored(to));
    q.addBindValue(seq);
    Database::run(q);
}

} // namespace TicketJobStore
