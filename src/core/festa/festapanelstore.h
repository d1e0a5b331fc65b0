#pragma once

#include "core/festa/festacatalogue.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// What the treasurer's panel reads from and writes to the festa's server, on a connection of the
// treasurer role. Reads only the totals the journal's insertion keeps (never the journal itself), so it
// answers at once however many sales the festa had. Each raises ServerError when the server refuses.
namespace FestaPanelStore {

struct ProductFigures {
    QString deskId; // empty in the festa's totals
    QString key;
    QString name;
    qint64 units = 0;
    qint64 tickets = 0;
    qint64 cents = 0;
};

struct DeskFigures {
    QString deskId;
    QString name;
    QDateTime lastContact; // invalid: never
    qint64 secondsSinceContact = -1;
    qint64 waiting = 0;  // rows it had not sent at its last heartbeat
    qint64 received = 0; // journal rows the server has of it
    QString stopped;     // why its upload stopped (a copied desk file); empty while it runs
    int catalogue = 0;
    // its current (or last) till
    bool tillOpen = false;
    qint64 tillNumber = 0;
    qint64 floatCents = 0;
    qint64 salesCents = 0;
    int sales = 0;
    qint64 withdrawnCents = 0;
    int withdrawals = 0;
    qint64 expectedCents() const { return floatCents + salesCents - withdrawnCents; }
    // the whole festa
    qint64 festaSalesCents = 0;
    qint64 festaWithdrawnCents = 0;
    int festaWithdrawals = 0;
    // another desk claims this identity (a copied desk file): the claim's first row refused and hash, and
    // whether this is the copy (nothing of it counted; its till from the rows it holds) or the server's
    // branch; claimSeq 0 when none
    qint64 claimSeq = 0;
    QString claimHash;
    bool claimCopy = false;
};

// A desk heard of longer ago than this is silent: its figures may miss what it sold meanwhile (heartbeats
// come every 2 s, the panel reads every 2.5 s).
inline constexpr int silentSeconds = 6;

struct Figures {
    QList<ProductFigures> products;       // the festa's, by key and name
    QList<ProductFigures> productsByDesk; // per desk, by key and name
    QList<DeskFigures> desks;
    qint64 salesCents = 0;
    bool partial = false; // some desk is behind: rows waiting, stopped, or silent for a while
};

// Everything the panel shows; a desk silent for longer than `silentSeconds` makes the totals partial.
Figures read(QSqlDatabase& db, int silent = silentSeconds);

struct ClosedTill {
    QString deskId;
    QString deskName;
    qint64 number = 0;
    QString responsible;
    QString operatorName;
    QString openDate;
    QString openTime;
    QString closedAt; // as the desk recorded it
    QString closedBy;
    qint64 floatCents = 0;
    qint64 salesCents = 0;
    int sales = 0;
    qint64 withdrawnCents = 0;
    int withdrawals = 0;
    qint64 expectedCents = 0;
    std::optional<qint64> countedCents;
};
// Every desk's closed tills, newest closing first.
QList<ClosedTill> closedTills(QSqlDatabase& db);

// The newest catalogue version (version 0 when none yet).
FestaCatalogue catalogue(QSqlDatabase& db);
// Stores the catalogue as a new version, in one transaction; returns its number.
int saveCatalogue(QSqlDatabase& db, const FestaCatalogue& catalogue);
// The treasurer's choice on a claim: the desk `keeper` (the claim's copy or the server's branch) keeps the
// identity; the other takes a new one and sends its rows since the copy under it. Returns the new one.
QString resolveClaim(QSqlDatabase& db, const DeskFigures& keeper);

} // namespace FestaPanelStore
