// The treasurer's reconciliation of a festa's day: 10 000 Pix sales of 10 desks against a statement of
// 10 000 credits (a tenth carrying the sale's txid, most within minutes of their sale, some missing,
// some extra), amounts drawn from a menu's few prices. Prints the median and p99.
// Usage: bench_reconcile [runs] (default 21).

#include "core/payments/pixcode.h"
#include "core/payments/reconciliation.h"
#include "support/coresupport.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>

int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 21;
    constexpr int n = 10000;
    QRandomGenerator random(20260714);
    const QDateTime start(QDate(2026, 7, 14), QTime(16, 0));
    QList<Reconciliation::PixSale> sales;
    QList<StatementCredit> credits;
    for (int i = 0; i < n; ++i) {
        const int desk = 1 + i % 10;
        const qint64 cents = 250 * (1 + qint64(random.bounded(40)));
        const QDateTime moment = start.addSecs(random.bounded(8 * 3600));
        sales << Reconciliation::PixSale{QStringLiteral("Caixa %1").arg(desk), 1,     i / 10 + 1,
                                         PixCode::txid(desk, 1, i / 10 + 1),   cents, moment};
        StatementCredit c;
        const bool extra = i % 50 == 0; // a credit of no sale, in place of the sale's own
        c.cents = extra ? cents + 1 : cents;
        c.at = moment.addSecs(random.bounded(-120, 600));
        c.id = QStringLiteral("E%1").arg(i, 30, 10, QLatin1Char('0'));
        c.payer = QStringLiteral("PAGADOR %1").arg(i);
        c.memo = i % 10 == 0 ? QStringLiteral("PIX RECEBIDO ") + sales.back().txid
                             : QStringLiteral("PIX RECEBIDO");
        credits << c;
    }
    QList<double> ms;
    qsizetype matched = 0;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        matched = Reconciliation::reconcile(sales, credits).matched.size();
        ms << double(t.nsecsElapsed()) / 1e6;
    }
    std::printf("bench_reconcile: %d sales x %d credits, %lld matched, %d runs\n", n, n,
                static_cast<long long>(matched), runs);
    std::printf("  median %.1f ms, p99 %.1f ms (goal: under 1000 ms)\n", TestSupport::percentile(ms, 0.5),
                TestSupport::percentile(ms, 0.99));
    return 0;
}
