#include "historysummary.h"

#include "core/base/money.h"

#include <QMap>

namespace HistorySummary {

bool Summary::spansDays() const {
    return !hours.isEmpty() && hours.first().hour.date() != hours.last().hour.date();
}

Summary build(Database& db, const QList<HistoryStore::ClosedTill>& tills) {
    Summary s;
    s.tills = tills;
    QList<qint64> ids;
    for (const HistoryStore::ClosedTill& t : tills) {
        ids << t.id;
        s.floatCents += t.floatCents;
        s.withdrawnCents += t.withdrawnCents;
        s.expectedCents += t.expectedCents;
        if (const auto d = t.differenceCents()) {
            ++s.counted;
            s.countedCents += *t.countedCents;
            s.differenceCents += *d;
        }
    }
    s.products = HistoryStore::productsSold(db, ids);
    for (const HistoryStore::ProductSold& p : s.products) {
        s.units += p.units;
        s.tickets += p.tickets;
        s.salesCents += p.cents;
    }

    QMap<QDateTime, HourAmount> byHour;
    for (const HistoryStore::SaleMoment& m : HistoryStore::sales(db, ids)) {
        const QDateTime hour(m.moment.date(), QTime(m.moment.time().hour(), 0));
        HourAmount& h = byHour[hour];
        h.hour = hour;
        h.cents += m.cents;
        ++h.sales;
    }
    for (auto it = byHour.cbegin(); it != byHour.cend(); ++it) {
        // the quiet hours of the same day between two that sold
        if (!s.hours.isEmpty() && s.hours.last().hour.date() == it.key().date())
            for (QDateTime h = s.hours.last().hour.addSecs(3600); h < it.key(); h = h.addSecs(3600))
                s.hours << HourAmount{h, 0, 0};
        s.hours << it.value();
    }
    return s;
}

QString priceText(const QString& price) {
    return Money::isValid(price) ? HistoryStore::moneyText(HistoryStore::cents(price)) : price;
}

QString hourLabel(const QDateTime& hour, bool withDate) {
    const QString h = QStringLiteral("%1h").arg(hour.time().hour(), 2, 10, QLatin1Char('0'));
    return withDate ? hour.toString(QStringLiteral("dd/MM ")) + h : h;
}

QDate dayOf(const HistoryStore::ClosedTill& t) {
    return t.openedAt.isValid() ? t.openedAt.date() : t.closedAt.date();
}

QList<HistoryStore::ClosedTill> inRange(const QList<HistoryStore::ClosedTill>& tills, const QDate& from,
                                        const QDate& to) {
    QList<HistoryStore::ClosedTill> out;
    for (const HistoryStore::ClosedTill& t : tills) {
        const QDate d = dayOf(t);
        if (d >= from && d <= to) out << t;
    }
    return out;
}

} // namespace HistorySummary
