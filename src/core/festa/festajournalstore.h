#pragma once

// core/festa: a festa of several cash desks reporting to one server: this desk's journal of steps, its
// upload, the connection settings and test, the catalogue from the server and the treasurer's panel.

#include <QList>
#include <QString>

class Database;

// The desk's side of the festa in its own file: its identity and place in the festa, its journal and the
// catalogue versions waiting to be applied. One small function per operation, every value bound; each
// raises DbError when the engine refuses.
namespace FestaJournalStore {

struct Desk {
    QString deskId;      // UUID, made on the desk's first start
    QString festaId;     // the festa it reports to; empty before its first contact with a server
    qint64 firstSeq = 0; // its report to that festa starts here (the snapshot written on joining)
    qint64 acknowledged = 0;
    int catalogue = 0; // the catalogue version it sells with (0: its own products)
    QString stopped;   // why its upload was stopped; empty while it runs
};

// The desk's row, made with a new id when the file has none.
Desk desk(Database& db);

struct Row {
    qint64 seq = 0;
    QString kind;
    QString content; // canonical JSON
    QString hash;
};

// The number the next row takes: one more than the last (rows are never removed).
qint64 nextSeq(Database& db);
qint64 lastSeq(Database& db);
void insert(Database& db, const Row& row);
// Up to `limit` rows from `from` on, in order.
QList<Row> rows(Database& db, qint64 from, int limit);

// The hash of row `seq`; empty when the journal has none.
QString hashAt(Database& db, qint64 seq);
void setHash(Database& db, qint64 seq, const QString& hash);
// The desk takes another identity whose report starts at `firstSeq` (nothing after it acknowledged yet),
// its stop cleared.
void setIdentity(Database& db, const QString& deskId, qint64 firstSeq);

void setAcknowledged(Database& db, qint64 seq); // never moves back
void join(Database& db, const QString& festaId, qint64 firstSeq);
void setFesta(Database& db, const QString& festaId);
void setStopped(Database& db, const QString& why);
void setCatalogue(Database& db, int version);

// Catalogue versions downloaded and not yet applied.
void storeCatalogue(Database& db, int version, const QString& content);
// The newest one waiting, as {version, content}; version 0 when none.
QPair<int, QString> newestCatalogue(Database& db);
void dropCatalogues(Database& db, int upTo);

} // namespace FestaJournalStore
