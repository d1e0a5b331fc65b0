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

// The newest catalogue version (0: none yet) and one version whole.
int newestCatalogue(QSqlDatabase& db);
FestaCatalogue catalogue(QSqlDatabase& db, int version);

} // namespace FestaServerStore
