#pragma once

#include "core/print/report.h"

#include <QList>
#include <QString>

class Database;

// The print journal in the database (tbl_impressoes), one small function per operation, every value
// bound. Each raises DbError with the user's message when the engine refuses.
namespace PrintJournalStore {

struct Row {
    qint64 seq = 0;
    QString document;
    QString kind;
    QString description;
    QString step; // JSON
    QString route;
    QString state;
};

// Stores a document in state `state`; returns its sequence number.
qint64 insert(Database& db, const Row& row, const QString& moment);
void setState(Database& db, qint64 seq, const QString& state);
void setPrinted(Database& db, qint64 seq, const QString& state, const PrintJob& job);
// The documents in `state`, in the order they were stored.
QList<Row> inState(Database& db, const QString& state);
// The documents of that kind, in the order they were stored.
QList<Row> ofKind(Database& db, const QString& kind);

} // namespace PrintJournalStore
