#pragma once

#include "core/print/report.h"

#include <QList>
#include <QString>

class Database;

// The print jobs of the sold tickets in the database, one small function per operation, every value
// bound. Each raises DbError with the user's message when the engine refuses.
namespace TicketJobStore {

// Where a ticket's job stands.
enum class State {
    Following,  // handed to the print server, not ended yet
    NotPrinted, // aborted, canceled or stopped
    Reprinted,  // not printed, then printed again as a new ticket
    Printed,    // completed
};

// One ticket with its job.
struct Ticket {
    qint64 seq = 0; // the order it was recorded in
    QString productId;
    QString product;
    QString text; // the ticket text as printed
    PrintJob job;
};

// Tickets of one product.
struct ProductTickets {
    QString product;
    int tickets = 0;
};

// Forgets the tickets that ended printed or were reprinted.
void removeEnded(Database& db);

// Records one ticket with its job, in state `state`.
void insert(Database& db, const QString& productId, const QString& product, const QString& text,
            const PrintJob& job, State state);

// The jobs of the tickets in `state`, in the order they were recorded.
QList<PrintJob> jobs(Database& db, State state);
// The tickets in `state`, in the order they were recorded.
QList<Ticket> tickets(Database& db, State state);
// The tickets in `state` counted per product, in the order each product's first one was recorded.
QList<ProductTickets> countPerProduct(Database& db, State state);

// Moves the tickets of `job` that are in state `from` to state `to`.
void setState(Database& db, const PrintJob& job, State from, State to);
// Moves the ticket recorded as `seq` to state `to`.
void setState(Database& db, qint64 seq, State to);

} // namespace TicketJobStore
