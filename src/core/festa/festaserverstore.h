#pragma once

#include "core/festa/festacatalogue.h"
#include "core/festa/festajournalstore.h"

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <optional>

// What a desk says to and asks of the festa's server, on a connection of the desk role. One small function
// per statement, every value bound; each raises ServerError with the server's words when it fails.
namespace FestaServerStore {

// A statement prepared on a server connection (read forward only), and its run; both raise ServerError.
QSqlQuery prepare(QSqlDatabase& db, const QString& sql);
void run(QSqlQuery& query);

// The session's statement timeout.
void setTimeouts(QSqlDatabase& db, int milliseconds);
// The server's schema version; empty when the database has no festa schema.
std::optional<int> schemaVersion(QSqlDatabase& db);
QString festaId(QSqlDatabase& db);

// The desk's last journal row on the server; empty when it has none.
std::optional<qint64> lastSeq(QSqlDatabase& db, const QString& deskId);
// Inserts the rows, leaving alone those the server already has; returns the seqs inserted.
QSet<qint64> insert(QSqlDatabase& db, const QString& deskId, const QList<FestaJournalStore::Row>& rows);
// The hashes the server holds for the desk's rows first..last, by seq.
QHash<qint64, QString> hashes(QSqlDatabase& db, const QString& deskId, qint64 first, qint64 last);

struct Heartbeat {
    QString deskId;
    QString deskName;
    qint64 waiting = 0;
    bool tillOpen = false;
    QString stopped;
};
void heartbeat(QSqlDatabase& db, const Heartbeat& beat);

// A claim on a desk's identity by a second desk (a copied file): the seq and hash of the copy's first
// row the server holds with another content, and the treasurer's choice once made ("servidor": the
// branch the server holds keeps the identity, "copia": the copy does; the loser takes newId).
struct Claim {
    qint64 seq = 0;
    QString hash;
    QString winner;
    QString newId;
};
QList<Claim> claims(QSqlDatabase& db, const QString& deskId);
// Records this desk as a copy whose row `seq` (hash) the server holds with another content.
void registerCopy(QSqlDatabase& db, const QString& deskId, const Claim& claim, const QString& deskName);
// The copy's heartbeat while the treasurer has not chosen.
void copyHeartbeat(QSqlDatabase& db, const QString& deskId, const Claim& claim, const QString& deskName,
                   qint64 waiting);
// Rows a stopped desk booked, held apart from the totals (branch: "" for the server's, the copy's hash);
// the last one held of that branch (0: none).
void hold(QSqlDatabase& db, const QString& deskId, const QString& branch,
          const QList<FestaJournalStore::Row>& rows);
qint64 heldUpTo(QSqlDatabase& db, const QString& deskId, const QString& branch);

// The newest catalogue version (0: none yet) and one version whole.
int newestCatalogue(QSqlDatabase& db);
FestaCatalogue catalogue(QSqlDatabase& db, int version);

} // namespace FestaServerStore
