#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "core/payments/statement.h"

// The treasurer's check of Pix sales against the credits of the festa's account: a sale paid by Pix
// with no credit may have been paid with a fake receipt; a credit with no sale was paid for nothing
// the desks booked.
namespace Reconciliation {

struct PixSale {
    QString desk; // as the festa names it ("Caixa 2")
    qint64 till = 0;
    qint64 sale = 0;
    QString txid;
    qint64 cents = 0;
    QDateTime moment;
};

struct Match {
    qsizetype sale = 0;   // index into the sales given
    qsizetype credit = 0; // index into the credits given
    bool byTxid = false;
};

// Per desk and till: the Pix sales, those with a credit and those without, in count and centavos.
struct DeskTillTotal {
    QString desk;
    qint64 till = 0;
    int sales = 0;
    qint64 salesCents = 0;
    int matched = 0;
    qint64 matchedCents = 0;
    int missing = 0;
    qint64 missingCents = 0;
};

struct Result {
    QList<Match> matched;                // in the order of the sales
    QList<qsizetype> salesWithoutCredit; // in the order of the sales
    QList<qsizetype> creditsWithoutSale; // in the order of the credits
    QList<DeskTillTotal> totals;         // by desk, then till
    qint64 creditsWithoutSaleCents = 0;
};

// Pairs each sale with at most one credit and each credit with at most one sale. First a credit that
// carries a sale's txid (as its id or in its memo) with the sale's amount; then, for the rest, the credit
// of the same amount nearest in time within `window` of the sale (a credit with no time of day: of the
// same day). O(n log n) in sales and credits.
Result reconcile(const QList<PixSale>& sales, const QList<StatementCredit>& credits,
                 int windowSeconds = 30 * 60);

// The result as a spreadsheet file: UTF-8 with a byte-order mark, semicolons, decimal comma; one line
// per sale and per credit left alone, then the totals per desk and till.
QByteArray csv(const QList<PixSale>& sales, const QList<StatementCredit>& credits, const Result& result);

} // namespace Reconciliation
