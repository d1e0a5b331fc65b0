#pragma once

#include "core/print/printjournal.h"
#include "core/print/printserver.h"
#include "core/till/ticketjobstore.h"
#include "core/till/tillrecorder.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class Database;

// The print job of every ticket a sale printed, kept in the database with the sale line it belongs to
// (product and ticket text) so that it survives a restart. The jobs are followed until they end; a job
// the print server aborted, canceled or stopped after accepting it marks its ticket as not printed, and
// reprintFailed() prints exactly those tickets, once each. Completed tickets are never printed again.
class TicketJobs : public QObject {
    Q_OBJECT
public:
    using Failed = TicketJobStore::ProductTickets;

    // A reprint is a step of the till: the till's recorders (TillModel::recorders) record it.
    explicit TicketJobs(Database& db, QList<TillRecorder*> recorders = {}, QObject* parent = nullptr);

    // Records the job of one ticket of that product, as soon as the print returned it.
    void record(const QString& productId, const QString& product, const QString& ticketText,
                const PrintJob& job);
    // Tickets not printed, per product, in the order they were sold.
    QList<Failed> failed() const;
    int failedCount() const;
    // "2 fichas de PASTEL, 1 ficha de ÁGUA"; empty when none.
    QString failedText() const;
    // Prints each ticket not printed again through `print` (which sets the ticket text and prints it
    // as the named document of the print journal, returning the job), one at a time; each one is marked
    // reprinted in the same step as its new job and its printed mark are recorded. A stopped job is canceled
    // first, so that it never comes out later as well. An error from `print` stops there; what was reprinted
    // stays reprinted.
    void
    reprintFailed(const std::function<PrintJob(const QString& ticketText, const QString& document)>& print);
    PrintJobWatcher& watcher() { return m_watcher; }

signals:
    void failedChanged();

private:
    void jobsFailed(const QList<PrintJob>& jobs, const QList<PrintServer::JobState>& states);
    void jobsEnded(const QList<PrintJob>& jobs);

    Database& m_db;
    QList<TillRecorder*> m_recorders;
    PrintJournal m_journal;
    PrintJobWatcher m_watcher;
};
