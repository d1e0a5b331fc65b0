#include "reconciliation.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <set>

namespace Reconciliation {

namespace {

using Slot = std::pair<qint64, qsizetype>; // a sale's moment (seconds) and index

// The words of a credit's id and memo that could be a txid (letters and digits only).
QStringList tokens(const StatementCredit& c) {
    static const QRegularExpression split(QStringLiteral("[^A-Za-z0-9]+"));
    return (c.id + QLatin1Char(' ') + c.memo).split(split, Qt::SkipEmptyParts);
}

void addTotals(Result& r, const QList<PixSale>& sales) {
    std::map<std::pair<QString, qint64>, DeskTillTotal> byTill;
    const auto total = [&](qsizetype i) -> DeskTillTotal& {
        DeskTillTotal& t = byTill[{sales.at(i).desk, sales.at(i).till}];
        t.desk = sales.at(i).desk;
        t.till = sales.at(i).till;
        ++t.sales;
        t.salesCents += sales.at(i).cents;
        return t;
    };
    for (const Match& m : std::as_const(r.matched)) {
        DeskTillTotal& t = total(m.sale);
        ++t.matched;
        t.matchedCents += sales.at(m.sale).cents;
    }
    for (const qsizetype i : std::as_const(r.salesWithoutCredit)) {
        DeskTillTotal& t = total(i);
        ++t.missing;
        t.missingCents += sales.at(i).cents;
    }
    for (const auto& [key, t] : byTill)
        r.totals << t;
}

} // namespace

Result reconcile(const QList<PixSale>& sales, const QList<StatementCredit>& credits, int windowSeconds) {
    QList<qsizetype> saleOf(credits.size(), -1);
    QList<bool> saleUsed(sales.size(), false);

    // By txid: a txid names one sale, and only a credit of that sale's amount pays it.
    QHash<QString, qsizetype> byTxid;
    byTxid.reserve(sales.size());
    for (qsizetype i = 0; i < sales.size(); ++i)
        if (!sales.at(i).txid.isEmpty()) byTxid.insert(sales.at(i).txid.toUpper(), i);
    QList<bool> txidMatch(credits.size(), false);
    for (qsizetype c = 0; c < credits.size() && !byTxid.isEmpty(); ++c) {
        for (const QString& word : tokens(credits.at(c))) {
            const auto it = byTxid.constFind(word.toUpper());
            if (it == byTxid.cend() || saleUsed.at(*it) || sales.at(*it).cents != credits.at(c).cents)
                continue;
            saleOf[c] = *it;
            saleUsed[*it] = true;
            txidMatch[c] = true;
            break;
        }
    }

    // By amount and time: the sales left, per amount, ordered by moment; each credit (timed ones first,
    // oldest first) takes the nearest one free within the window.
    QHash<qint64, std::set<Slot>> freeSales;
    for (qsizetype i = 0; i < sales.size(); ++i)
        if (!saleUsed.at(i)) freeSales[sales.at(i).cents].insert({sales.at(i).moment.toSecsSinceEpoch(), i});
    QList<qsizetype> order;
    for (qsizetype c = 0; c < credits.size(); ++c)
        if (saleOf.at(c) < 0) order << c;
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const StatementCredit &x = credits.at(a), &y = credits.at(b);
        return x.hasTime != y.hasTime ? x.hasTime : x.at < y.at;
    });
    for (const qsizetype c : std::as_const(order)) {
        const StatementCredit& credit = credits.at(c);
        const auto sameAmount = freeSales.find(credit.cents);
        if (sameAmount == freeSales.end() || sameAmount->empty()) continue;
        std::set<Slot>& s = *sameAmount;
        std::set<Slot>::iterator pick = s.end();
        if (credit.hasTime) {
            const qint64 t = credit.at.toSecsSinceEpoch();
            const auto after = s.lower_bound({t, -1});
            qint64 best = qint64(windowSeconds) + 1;
            if (after != s.end() && after->first - t < best) {
                best = after->first - t;
                pick = after;
            }
            if (after != s.begin() && t - std::prev(after)->first < best) pick = std::prev(after);
        } else {
            const qint64 dayStart = QDateTime(credit.at.date(), QTime(0, 0)).toSecsSinceEpoch();
            const qint64 dayEnd = QDateTime(credit.at.date().addDays(1), QTime(0, 0)).toSecsSinceEpoch();
            const auto first = s.lower_bound({dayStart, -1});
            if (first != s.end() && first->first < dayEnd) pick = first;
        }
        if (pick == s.end()) continue;
        saleOf[c] = pick->second;
        saleUsed[pick->second] = true;
        s.erase(pick);
    }

    Result r;
    QList<qsizetype> creditOf(sales.size(), -1);
    for (qsizetype c = 0; c < credits.size(); ++c) {
        if (saleOf.at(c) >= 0) {
            creditOf[saleOf.at(c)] = c;
        } else {
            r.creditsWithoutSale << c;
            r.creditsWithoutSaleCents += credits.at(c).cents;
        }
    }
    for (qsizetype i = 0; i < sales.size(); ++i) {
        if (creditOf.at(i) >= 0)
            r.matched << Match{i, creditOf.at(i), txidMatch.at(creditOf.at(i))};
        else
            r.salesWithoutCredit << i;
    }
    addTotals(r, sales);
    return r;
}

} // namespace Reconciliation
