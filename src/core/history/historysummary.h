#pragma once

#include "core/history/historystore.h"

#include <QDateTime>
#include <QList>
#include <optional>

class Database;

// What a choice of closed tills adds up to: per product, per hour and in cash.
namespace HistorySummary {

struct HourAmount {
    QDateTime hour; // the hour's start
    qint64 cents = 0;
    int sales = 0;
};

struct Summary {
    QList<HistoryStore::ClosedTill> tills; // as chosen
    QList<HistoryStore::ProductSold> products;
    // Every hour from the first sale to the last of each day, hours without a sale included.
    QList<HourAmount> hours;
    qint64 units = 0, tickets = 0;
    qint64 salesCents = 0, withdrawnCents = 0, floatCents = 0, expectedCents = 0;
    int counted = 0;                              // tills whose cash was counted
    qint64 countedCents = 0, differenceCents = 0; // over the counted tills only
    bool spansDays() const;
};

Summary build(Database& db, const QList<HistoryStore::ClosedTill>& tills);

// A price as money text ("2,5" -> "2,50"); a text that is no amount stays as it was typed.
QString priceText(const QString& price);

// "19h", or "10/12 19h" when the hours span several days.
QString hourLabel(const QDateTime& hour, bool withDate);

// The tills opened (or, without a readable opening, closed) between the two dates, both included.
QList<HistoryStore::ClosedTill> inRange(const QList<HistoryStore::ClosedTill>& tills, const QDate& from,
                                        const QDate& to);
QDate dayOf(const HistoryStore::ClosedTill& till);

} // namespace HistorySummary
