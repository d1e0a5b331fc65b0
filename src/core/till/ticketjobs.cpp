#include "ticketjobs.h"

#include "core/db/database.h"
#include "core/till/ticketjobstore.h"

#include <utility>

using TicketJobStore::State;

TicketJobs::TicketJobs(Database& db, QList<TillRecorder*> recorders, QObject* parent)
    : QObject(parent), m_db(db), m_recorders(std::move(recorders)), m_journal(db) {
    // Tickets that ended printed (or were reprinted) are of no more use.
    TicketJobStore::removeEnded(db);
    connect(&m_watcher, &PrintJobWatcher::jobsFailed, this, &TicketJobs::jobsFailed);
    connect(&m_watcher, &PrintJobWatcher::jobsCompleted, this, &TicketJobs::jobsEnded);
    // Jobs still followed when the program last ended are followed again.
    m_watcher.follow(TicketJobStore::jobs(db, State::Following));
}

void TicketJobs::record(const QString& productId, const QString& product, const QString& ticketText,
                        const PrintJob& job) {
    if (job.isFile()) return; // a PDF file is whole once written
    TicketJobStore::insert(m_db, productId, product, ticketText, job, State::Following);
    m_watcher.follow(job);
}

void TicketJobs::jobsFailed(const QList<PrintJob>& jobs, const QList<PrintServer::JobState>&) {
    m_db.transaction([&] {
        for (const PrintJob& j : jobs)
            TicketJobStore::setState(m_db, j, State::Following, State::NotPrinted);
    });
    emit failedChanged();
}

void TicketJobs::jobsEnded(const QList<PrintJob>& jobs) {
    m_db.transaction([&] {
        for (const PrintJob& j : jobs)
            TicketJobStore::setState(m_db, j, State::Following, State::Printed);
    });
}

QList<TicketJobs::Failed> TicketJobs::failed() const {
    return TicketJobStore::countPerProduct(m_db, State::NotPrinted);
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

void TicketJobs::reprintFailed(
    const std::function<PrintJob(const QString& ticketText, const QString& document)>& print) {
    const QList<TicketJobStore::Ticket> rows = TicketJobStore::tickets(m_db, State::NotPrinted);
    if (rows.isEmpty()) return;
    {
        PrintSession session;
        for (const TicketJobStore::Ticket& r : rows) {
            PrintServer::cancelJob(r.job);
            const auto document = m_journal.begin(PrintJournal::Kind::Ticket,
                                                  QStringLiteral("A ficha reimpressa de %1").arg(r.product),
                                                  {{QStringLiteral("reimpressao"), r.seq}});
            const PrintJob job =
                m_journal.print(document, [&](const QString& name) { return print(r.text, name); });
            m_db.transaction([&] {
                m_journal.markPrinted(document, job);
                TicketJobStore::setState(m_db, r.seq, State::Reprinted);
                record(r.productId, r.product, r.text, job);
                for (TillRecorder* recorder : m_recorders)
                    recorder->recordReprint(m_db, {r.productId, r.product, r.text});
            });
            emit failedChanged();
        }
    }
}
