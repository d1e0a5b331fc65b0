#include "ticketjobs.h"

#include "core/base/errors.h"
#include "core/db/database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// Ticket states in the table.
const QString following = QStringLiteral("acompanhando");
const QString notPrinted = QStringLiteral("falhou");
const QString reprinted = QStringLiteral("reimpresso");
const QString printed = QStringLiteral("impresso");

void setState(Database& db, const PrintJob& job, const QString& from, const QString& to) {
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_fichas_trabalhos SET estado = ? "
                                            "WHERE destino = ? AND trabalho = ? AND estado = ?"));
    q.addBindValue(to);
    q.addBindValue(job.destination);
    q.addBindValue(job.id);
    q.addBindValue(from);
    Database::run(q);
}

} // namespace

TicketJobs::TicketJobs(Database& db, QObject* parent) : QObject(parent), m_db(db) {
    QSqlQuery create =
        db.prepare(QStringLiteral("CREATE TABLE IF NOT EXISTS tbl_fichas_trabalhos ("
                                  "seq INTEGER PRIMARY KEY AUTOINCREMENT, produto_id TEXT NOT NULL, "
                                  "produto TEXT NOT NULL, impresso TEXT NOT NULL, destino TEXT NOT NULL, "
                                  "trabalho INTEGER NOT NULL, estado TEXT NOT NULL)"));
    Database::run(create);
    // Tickets that ended printed (or were reprinted) are of no more use.
    QSqlQuery done = db.prepare(QStringLiteral("DELETE FROM tbl_fichas_trabalhos WHERE estado IN (?, ?)"));
    done.addBindValue(printed);
    done.addBindValue(reprinted);
    Database::run(done);
    connect(&m_watcher, &PrintJobWatcher::jobsFailed, this, &TicketJobs::jobsFailed);
    connect(&m_watcher, &PrintJobWatcher::jobsCompleted, this, &TicketJobs::jobsEnded);
    // Jobs still followed when the program last ended are followed again.
    QSqlQuery q = db.prepare(QStringLiteral("SELECT destino, trabalho FROM tbl_fichas_trabalhos "
                                            "WHERE estado = ? ORDER BY seq"));
    q.addBindValue(following);
    Database::run(q);
    QList<PrintJob> jobs;
    while (q.next())
        jobs << PrintJob{q.value(0).toString(), q.value(1).toInt()};
    m_watcher.follow(jobs);
}

void TicketJobs::record(const QString& productId, const QString& product, const QString& ticketText,
                        const PrintJob& job) {
    if (job.isFile()) return; // a PDF file is whole once written
    QSqlQuery q = m_db.prepare(QStringLiteral("INSERT INTO tbl_fichas_trabalhos "
                                              "(produto_id, produto, impresso, destino, trabalho, estado) "
                                              "VALUES (?, ?, ?, ?, ?, ?)"));
    for (const QVariant& v : {QVariant(productId), QVariant(product), QVariant(ticketText),
                              QVariant(job.destination), QVariant(job.id), QVariant(following)})
        q.addBindValue(v);
    Database::run(q);
    m_watcher.follow(job);
}

void TicketJobs::jobsFailed(const QList<PrintJob>& jobs, const QList<PrintServer::JobState>&) {
    m_db.transaction([&] {
        for (const PrintJob& j : jobs)
            setState(m_db, j, following, notPrinted);
    });
    emit failedChanged();
}

void TicketJobs::jobsEnded(const QList<PrintJob>& jobs) {
    m_db.transaction([&] {
        for (const PrintJob& j : jobs)
            setState(m_db, j, following, printed);
    });
}

QList<TicketJobs::Failed> TicketJobs::failed() const {
    QSqlQuery q =
        m_db.prepare(QStringLiteral("SELECT produto, COUNT(*) FROM tbl_fichas_trabalhos "
                                    "WHERE estado = ? GROUP BY produto_id, produto ORDER BY MIN(seq)"));
    q.addBindValue(notPrinted);
    Database::run(q);
    QList<Failed> out;
    while (q.next())
        out << Failed{q.value(0).toString(), q.value(1).toInt()};
    return out;
}

int TicketJobs::failedCount() const {
    int n = 0;
    for (const Failed& f : failed())
        n += f.tickets;
    return n;
}

QString TicketJobs::failedText() const {
    QStringList parts;
    for (const Failed& f : failed())
        parts << QStringLiteral("%1 %2 de %3")
                     .arg(f.tickets)
                     .arg(f.tickets == 1 ? QStringLiteral("ficha") : QStringLiteral("fichas"), f.product);
    return parts.join(QStringLiteral(", "));
}

void TicketJobs::reprintFailed(const std::function<PrintJob(const QString& ticketText)>& print) {
    struct Row {
        qint64 seq;
        QString productId, product, text;
        PrintJob job;
    };
    QList<Row> rows;
    {
        QSqlQuery q =
            m_db.prepare(QStringLiteral("SELECT seq, produto_id, produto, impresso, destino, trabalho "
                                        "FROM tbl_fichas_trabalhos WHERE estado = ? ORDER BY seq"));
        q.addBindValue(notPrinted);
        Database::run(q);
        while (q.next())
            rows << Row{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                        q.value(3).toString(), PrintJob{q.value(4).toString(), q.value(5).toInt()}};
    }
    if (rows.isEmpty()) return;
    {
        PrintSession session;
        for (const Row& r : rows) {
            PrintServer::cancelJob(r.job);
            const PrintJob job = print(r.text);
            m_db.transaction([&] {
                QSqlQuery q =
                    m_db.prepare(QStringLiteral("UPDATE tbl_fichas_trabalhos SET estado = ? WHERE seq = ?"));
                q.addBindValue(reprinted);
                q.addBindValue(r.seq);
                Database::run(q);
                record(r.productId, r.product, r.text, job);
            });
            emit failedChanged();
        }
    }
}
