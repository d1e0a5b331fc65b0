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
};

struct Figures {
    QList<ProductFigures> products;       // the festa's, by key and name
    QList<ProductFigures> productsByDesk; // per desk, by key and name
    QList<DeskFigures> desks;
    qint64 salesCents = 0;
    bool partial = false; // some desk is behind: rows waiting, stopped, or silent for a while
};

// Everything the panel shows; a desk silent for longer than `silentSeconds` makes the totals partial.
Figures read(QSqlDatabase& db, int silentSeconds = 30);

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
// Lets a stopped desk's upload be shown as running again once the treasurer sorted the copy out.
void clearStop(QSqlDatabase& db, const QString& deskId);

} // namespace FestaPanelStore
