#pragma once

// core/history: the closed tills kept for the festa, their summary and spreadsheet files.

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

#include "core/till/tillrecorder.h"
#include "core/till/tillstore.h"

class Database;

// The festa's history: every closed till with its figures and what it sold per product, and every
// completed sale with its moment. Amounts are kept in whole centavos so that sums stay exact; they are
// written once and never changed. Each function raises DbError when the engine refuses.
namespace HistoryStore {

// One completed sale of till `number`, not yet tied to a closed till.
void recordSale(Database& db, qint64 number, const QDateTime& moment, qint64 totalCents, int tickets);

// The closed till's row, its per-product rows read from the till tally, and its sales tied to it.
// Runs inside the closing's transaction; returns the new row's id.
qint64 recordClosing(Database& db, const TillStore::TillRow& till, const ClosingFacts& facts);

struct ClosedTill {
    qint64 id = 0;
    qint64 number = 0;
    QString responsible;
    QString operatorName;
    QString closedBy;
    QDateTime openedAt; // invalid when the opening's date text could not be read
    QString openDate;   // as the till showed it
    QString openTime;
    QDateTime closedAt;
    qint64 floatCents = 0;
    qint64 salesCents = 0;
    qint64 withdrawnCents = 0;
    int withdrawals = 0;
    qint64 expectedCents = 0; // the cash in till at the closing
    std::optional<qint64> countedCents;
    // counted minus expected: negative when cash is missing
    std::optional<qint64> differenceCents() const {
        return countedCents ? std::optional<qint64>(*countedCents - expectedCents) : std::nullopt;
    }
};

// Every closed till, newest closing first.
QList<ClosedTill> closedTills(Database& db);

// One product as it sold, at the name and price it had.
struct ProductSold {
    QString key;
    QString name;
    QString price; // as configured
    qint64 units = 0;
    qint64 tickets = 0;
    qint64 cents = 0;
};
// The products sold by the given tills, summed by key, name and price, in key order.
QList<ProductSold> productsSold(Database& db, const QList<qint64>& tillIds);

struct SaleMoment {
    QDateTime moment;
    qint64 cents = 0;
    int tickets = 0;
};
// The sales of the given tills, oldest first.
QList<SaleMoment> sales(Database& db, const QList<qint64>& tillIds);

// What the open till's tally holds, summed by key, name and price (an unreadable price counts 0).
QList<ProductSold> tally(Database& db);
// Sales of open till `number` booked so far.
int openSales(Database& db, qint64 number);

// An amount in money text as centavos; raises ConversionError for a text that is no amount.
qint64 cents(const QString& money);
// Centavos as money text: 1250 -> "12,50", -250 -> "-2,50".
QString moneyText(qint64 cents);

} // namespace HistoryStore
