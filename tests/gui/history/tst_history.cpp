#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/db/datamodule.h"
#include "core/history/historystore.h"
#include "core/history/historysummary.h"
#include "core/till/tillmodel.h"
#include "gui/shell/application.h"
#include "support/testsupport.h"

using namespace TestSupport;

namespace {

QDateTime at(int day, int hour, int minute) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

// Drives the till as the windows do: opening, sales at given moments, withdrawals, closing.
struct Festa {
    App& app;
    TillModel& till;
    explicit Festa(App& a) : app(a), till(*a.app->till) {}

    void open(int day, const QString& floatText) {
        Clock::setFixed(at(day, 18, 0));
        till.open({QStringLiteral("MARIA"), QStringLiteral("JOSE"), Clock::dateText(), Clock::timeText(),
                   floatText},
                  till.nextNumber());
    }
    void sell(const QDateTime& when, const QString& keys) {
        Clock::setFixed(when);
        for (const QChar k : keys)
            till.addLine(k);
        till.bookSale();
        till.clearSale();
    }
    void close(const QDateTime& when, const std::optional<QString>& counted) {
        Clock::setFixed(when);
        till.close(counted, QStringLiteral("ANA"));
    }
};

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    // Three evenings, three tills: what the history keeps and what it adds up to.
    void festaOfThreeTills() {
        App app;
        Festa f(app);
        f.open(9, QStringLiteral("50"));
        f.sell(at(9, 18, 10), QStringLiteral("01")); // 2,00 + 4,00
        f.sell(at(9, 18, 40), QStringLiteral("22")); // 12,00
        f.till.withdraw(QStringLiteral("10"));
        f.sell(at(9, 19, 5), QStringLiteral("3")); // 7,50
        f.close(at(9, 23, 0), QStringLiteral("65,50"));

        f.open(10, QStringLiteral("30,00"));
        f.sell(at(10, 19, 15), QStringLiteral("4"));      // 8,00
        f.sell(at(10, 21, 30), QStringLiteral("55"));     // 6,00
        f.close(at(10, 23, 30), QStringLiteral("41,50")); // 44,00 expected: 2,50 short

        // the same price typed another way: still one product at one price in the summary
        app.db.exec(QStringLiteral("update tbl_produtos set valor = '2' where id = '0'"));
        f.open(11, QStringLiteral("0"));
        f.sell(at(11, 20, 0), QStringLiteral("0"));
        f.close(at(11, 22, 0), std::nullopt);

        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_cont_vendas")), QStringLiteral("0"));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_hist_vendas where caixa_id is null")),
                 QStringLiteral("0"));

        Database& db = app.app->dm->database();
        const QList<HistoryStore::ClosedTill> tills = HistoryStore::closedTills(db);
        QCOMPARE(tills.size(), 3);
        struct Expect {
            qint64 number, floatC, sales, withdrawn;
            int withdrawals;
            qint64 expected;
            std::optional<qint64> counted, difference;
        };
        const Expect expect[] = {{3, 0, 200, 0, 0, 200, std::nullopt, std::nullopt}, // newest first
                                 {2, 3000, 1400, 0, 0, 4400, 4150, -250},
                                 {1, 5000, 2550, 1000, 1, 6550, 6550, 0}};
        for (int i = 0; i < 3; ++i) {
            const HistoryStore::ClosedTill& t = tills[i];
            const Expect& e = expect[i];
            QCOMPARE(t.number, e.number);
            QCOMPARE(t.floatCents, e.floatC);
            QCOMPARE(t.salesCents, e.sales);
            QCOMPARE(t.withdrawnCents, e.withdrawn);
            QCOMPARE(t.withdrawals, e.withdrawals);
            QCOMPARE(t.expectedCents, e.expected);
            QCOMPARE(t.countedCents, e.counted);
            QCOMPARE(t.differenceCents(), e.difference);
            QCOMPARE(t.responsible, QStringLiteral("MARIA"));
            QCOMPARE(t.closedBy, QStringLiteral("ANA"));
        }
        QCOMPARE(tills[1].openedAt, at(10, 18, 0));
        QCOMPARE(tills[1].closedAt, at(10, 23, 30));
        QCOMPARE(HistoryStore::moneyText(*tills[1].differenceCents()), QStringLiteral("-2,50"));

        // The whole festa per product (key, name, price, units, tickets, amount).
        const HistorySummary::Summary all = HistorySummary::build(db, tills);
        QStringList products;
        for (const HistoryStore::ProductSold& p : all.products)
            products << QStringLiteral("%1 %2 %3 %4 %5 %6")
                            .arg(p.key, p.name, p.price)
                            .arg(p.units)
                            .arg(p.tickets)
                            .arg(HistoryStore::moneyText(p.cents));
        QCOMPARE(products,
                 QStringList(
                     {QStringLiteral("0 ÁGUA 2,00 2 2 4,00"), QStringLiteral("1 REFRIGERANTE 4,00 1 1 4,00"),
                      QStringLiteral("2 CERVEJA 6,00 2 2 12,00"), QStringLiteral("3 PASTEL 7,50 1 1 7,50"),
                      QStringLiteral("4 CACHORRO-QUENTE 8,00 1 1 8,00"),
                      QStringLiteral("5 PIPOCA 3,00 2 2 6,00")}));
        QCOMPARE(all.salesCents, 4150);
        QCOMPARE(all.units, 9);
        QCOMPARE(all.counted, 2);
        QCOMPARE(all.differenceCents, -250);

        // Per hour: quiet hours inside an evening count as zero; evenings follow one another.
        QStringList hours;
        for (const HistorySummary::HourAmount& h : all.hours)
            hours << HistorySummary::hourLabel(h.hour, all.spansDays()) + QLatin1Char(' ') +
                         HistoryStore::moneyText(h.cents);
        QCOMPARE(hours, QStringList({"09/12 18h 18,00", "09/12 19h 7,50", "10/12 19h 8,00", "10/12 20h 0,00",
                                     "10/12 21h 6,00", "11/12 20h 2,00"}));

        // One till alone, and a range of dates.
        const HistorySummary::Summary first = HistorySummary::build(db, {tills[2]});
        QCOMPARE(first.salesCents, 2550);
        QCOMPARE(first.hours.size(), 2);
        QVERIFY(!first.spansDays());
        const auto range = HistorySummary::inRange(tills, QDate(2026, 12, 10), QDate(2026, 12, 11));
        QCOMPARE(range.size(), 2);
        QCOMPARE(range[1].number, 2);
    }

    // The closing is one transaction: made to fail halfway through its history rows, it leaves the till
    // open with its tally and no history at all; once it can finish, the till closes with its row.
    void closingFailingHalfwayLeavesNothing() {
        App app;
        Festa f(app);
        f.open(9, QStringLiteral("10"));
        f.sell(at(9, 19, 0), QStringLiteral("12"));
        app.db.exec(QStringLiteral("create trigger halfway before insert on tbl_hist_produtos "
                                   "begin select raise(abort, 'interrompido'); end"));
        QVERIFY_THROWS_EXCEPTION(DbError, f.close(at(9, 22, 0), QStringLiteral("20")));
        QVERIFY(f.till.isOpen());
        QCOMPARE(app.db.scalar(QStringLiteral("select aberto from tbl_caixa_atual")), QStringLiteral("1"));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_cont_vendas")), QStringLiteral("2"));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_hist_caixas")), QStringLiteral("0"));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_hist_vendas where caixa_id is null")),
                 QStringLiteral("1"));

        app.db.exec(QStringLiteral("drop trigger halfway"));
        f.close(at(9, 22, 1), QStringLiteral("20"));
        QCOMPARE(app.db.scalar(QStringLiteral("select aberto from tbl_caixa_atual")), QStringLiteral("0"));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_hist_caixas")), QStringLiteral("1"));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_hist_produtos")),
                 QStringLiteral("2"));

        // A counted amount that is no money closes nothing.
        f.open(10, QStringLiteral("10"));
        QVERIFY_THROWS_EXCEPTION(ConversionError, f.close(at(10, 22, 0), QStringLiteral("1,2,3")));
        QVERIFY(f.till.isOpen());
    }
};

QUORVANTA_TEST_MAIN(TestHistory)
#include "tst_history.moc"
