// A festa's figures against a real PostgreSQL 15 server of the benchmark's own (tests/support):
//  1. ten desks (child processes) at five steps a second each (86% of them sales): the time from a sale
//     booked on its desk to the panel's figures that include it, median and p99 (the panel is read every
//     100 ms, so each figure is late by up to that much);
//  2. the upload's throughput: a desk that sold offline catches up, in journal rows per second;
//  3. the panel's refresh with 1 000 000 sales on the server (the journal filled by the server's own
//     insertion, its totals kept as the journal rows arrive): median and p99, read directly and through
//     the panel model's thread.
// Usage: bench_festa [seconds of selling (20)] [sales on the server (1000000)]
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/desk/desktill.h"
#include "core/festa/deskjournal.h"
#include "core/festa/festadesk.h"
#include "core/festa/festapanel.h"
#include "core/till/tillmodel.h"
#include "support/coresupport.h"
#include "support/festasupport.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

using namespace TestSupport;

namespace {

double percentile(QList<double> v, double p) {
    if (v.isEmpty()) return 0;
    std::sort(v.begin(), v.end());
    const double rank = p * double(v.size() - 1);
    const int lo = int(rank);
    const int hi = std::min(lo + 1, int(v.size()) - 1);
    return v[lo] + (v[hi] - v[lo]) * (rank - lo);
}

void report(const char* what, const QList<double>& ms) {
    std::printf("%-52s median %8.1f ms   p99 %8.1f ms   (%lld)\n", what, percentile(ms, 0.5),
                percentile(ms, 0.99), qlonglong(ms.size()));
    std::fflush(stdout);
}

// Ten desks sell; the panel is read every 100 ms and notes when each desk's rows appear in it.
void deskToPanel(TestPgServer& pg, int seconds) {
    QTemporaryDir dir;
    std::vector<std::unique_ptr<TestDatabase>> files;
    std::vector<std::unique_ptr<QProcess>> desks;
    for (int i = 0; i < 10; ++i) {
        files.push_back(std::make_unique<TestDatabase>());
        const QString config = dir.filePath(QStringLiteral("festa-%1.conf").arg(i));
        FestaSettings::setFileName(config);
        FestaSettings s = pg.deskSettings(QStringLiteral("Caixa %1").arg(i + 1));
        s.save();
        desks.push_back(std::make_unique<QProcess>());
        desks.back()->start(QCoreApplication::applicationFilePath(),
                            testDeskArguments(files.back()->path(), config, 7000 + i, seconds * 5, 200));
    }
    FestaSession session(QStringLiteral("painel"), pg.treasurer());
    if (!session.open().isEmpty()) return;
    QSqlDatabase db = session.db();
    QHash<QString, QList<QPair<qint64, qint64>>> seen; // desk -> (rows received, when)
    QList<double> reads;
    QElapsedTimer clock;
    clock.start();
    const auto running = [&] {
        return std::any_of(desks.begin(), desks.end(),
                           [](const auto& d) { return d->state() != QProcess::NotRunning; });
    };
    while (running() && clock.elapsed() < (seconds + 60) * 1000) {
        QElapsedTimer read;
        read.start();
        const FestaPanelStore::Figures f = FestaPanelStore::read(db);
        reads << double(read.nsecsElapsed()) / 1e6;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (const FestaPanelStore::DeskFigures& d : f.desks) {
            auto& list = seen[d.deskId];
            if (list.isEmpty() || list.constLast().first < d.received) list << qMakePair(d.received, now);
        }
        QTest::qWait(100);
    }
    // Every sale's booking moment, from the rows the desks sent.
    const QString rows =
        pg.sql(QStringLiteral("SELECT caixa, seq - (SELECT primeiro_seq FROM festa.caixas k WHERE "
                              "k.id = caixa) + 1, conteudo::jsonb->>'momento' FROM festa.diario "
                              "WHERE tipo = 'venda'"));
    QList<double> latency;
    for (const QString& line : rows.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList c = line.split(QLatin1Char('|'));
        const qint64 booked = QDateTime::fromString(c[2], Qt::ISODateWithMs).toMSecsSinceEpoch();
        for (const auto& [received, when] : seen.value(c[0]))
            if (received >= c[1].toLongLong()) {
                latency << double(when - booked);
                break;
            }
    }
    std::printf("ten desks, %d s at five steps a second: %lld sales\n", seconds, qlonglong(latency.size()));
    report("  from the booking on a desk to the panel's figures", latency);
    report("  the panel's read meanwhile", reads);
}

// A desk sells offline, then reaches the server and catches up.
void uploadThroughput(TestPgServer& pg, int sales) {
    TestDatabase file;
    Database db(file.path());
    DeskTill till(db);
    FestaSettings away = pg.deskSettings(QStringLiteral("Caixa 11"), freePort());
    {
        FestaDesk offline(db, till, away);
        till.open({QStringLiteral("ANA"), QStringLiteral("RUI"), QStringLiteral("10/12/2026"),
                   QStringLiteral("18:00:00"), QStringLiteral("50,00")},
                  till.nextNumber());
        for (int i = 0; i < sales; ++i) {
            till.addLine(QLatin1Char('0' + i % 6));
            till.bookSale();
            till.clearSale();
        }
    }
    const qint64 rows = DeskJournal::waiting(db);
    QElapsedTimer t;
    t.start();
    FestaDesk online(db, till, pg.deskSettings(QStringLiteral("Caixa 11")));
    while (DeskJournal::waiting(db) > 0 && t.elapsed() < 300000)
        QTest::qWait(20);
    std::printf("upload: %lld rows in %.2f s: %.0f rows/s\n", rows, double(t.elapsed()) / 1000,
                double(rows) * 1000 / double(std::max<qint64>(1, t.elapsed())));
}

// The server's own insertion path (its trigger checks each row and keeps the totals), fed straight by SQL:
// ten desks' worth of sales of two lines each, in transactions of 5 000 rows, two desks at a time.
void fillServer(TestPgServer& pg, int sales) {
    QElapsedTimer t;
    t.start();
    const int perDesk = sales / 10;
    const auto fillDesk = [&](int d) {
        const QString desk =
            QStringLiteral("00000000-0000-0000-0000-0000000000%1").arg(d, 2, 10, QLatin1Char('0'));
        for (int from = 1; from <= perDesk + 2; from += 5000)
            pg.sql(
                QStringLiteral(
                    "INSERT INTO festa.diario (caixa, seq, tipo, conteudo, hash) "
                    "SELECT '%1', s, t, c, encode(sha256(convert_to('%1:' || s || ':' || c, 'UTF8')), 'hex') "
                    "FROM ("
                    " SELECT s, CASE s WHEN 1 THEN 'adesao' WHEN 2 THEN 'abertura' ELSE 'venda' END AS t,"
                    " CASE s WHEN 1 THEN "
                    "'{\"aberto\":false,\"catalogo\":0,\"momento\":\"2026-12-10T18:00:00\",\"tipo\":"
                    "\"adesao\"}'"
                    " WHEN 2 THEN "
                    "'{\"caixa\":1,\"data\":\"10/12/2026\",\"entrada\":\"50,00\",\"entrada_centavos\":5000,"
                    "\"hora\":\"18:00:00\",\"momento\":\"2026-12-10T18:00:00\",\"operador\":\"RUI\","
                    "\"responsavel\":\"ANA\",\"tipo\":\"abertura\"}'"
                    " ELSE "
                    "format('{\"caixa\":1,\"catalogo\":0,\"fichas\":2,\"itens\":[{\"centavos\":%s,"
                    "\"chave\":\"%s\",\"fichas\":1,\"preco\":\"x\",\"produto\":\"P%s\"},{\"centavos\":750,"
                    "\"chave\":\"3\",\"fichas\":1,\"preco\":\"7,50\",\"produto\":\"PASTEL\"}],"
                    "\"momento\":\"2026-12-10T18:00:00\",\"tipo\":\"venda\",\"total_centavos\":%s}', "
                    "100 * (s % 7), s % 7, s % 7, 100 * (s % 7) + 750) END AS c"
                    " FROM generate_series(%2, %3) s) x")
                    .arg(desk)
                    .arg(from)
                    .arg(std::min(from + 4999, perDesk + 2)));
    };
    for (int d = 0; d < 10; d += 2) {
        std::thread other(fillDesk, d + 1);
        fillDesk(d);
        other.join();
        std::printf("  desks %d and %d: %d sales each on the server (%.0f s)\n", d + 1, d + 2, perDesk,
                    double(t.elapsed()) / 1000);
        std::fflush(stdout);
    }
    std::printf("server filled: %s journal rows in %.0f s\n",
                qPrintable(pg.sql(QStringLiteral("SELECT count(*) FROM festa.diario"))),
                double(t.elapsed()) / 1000);
}

void panelRefresh(TestPgServer& pg) {
    FestaSession session(QStringLiteral("painel-grande"), pg.treasurer());
    if (!session.open().isEmpty()) return;
    QSqlDatabase db = session.db();
    QList<double> direct;
    qint64 sold = 0;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer t;
        t.start();
        const FestaPanelStore::Figures f = FestaPanelStore::read(db);
        direct << double(t.nsecsElapsed()) / 1e6;
        sold = f.salesCents;
    }
    report("panel refresh, read on its connection", direct);
    FestaPanelModel model(pg.treasurer());
    QSignalSpy refreshed(&model, &FestaPanelModel::refreshed);
    QList<double> viaModel;
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer t;
        t.start();
        model.refresh();
        if (!refreshed.wait(5000)) break;
        viaModel << double(t.nsecsElapsed()) / 1e6;
    }
    report("panel refresh through the model's thread", viaModel);
    std::printf("  (festa sales on the panel: R$ %s)\n", qPrintable(Cents(sold).text()));
}

} // namespace

int main(int argc, char** argv) {
    if (const int child = runTestDesk(argc, argv); child >= 0) return child;
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(2, atoi(argv[1])) : 20;
    const int sales = argc > 2 ? std::max(10, atoi(argv[2])) : 1000000;
    TestPgServer pg;
    if (!pg.problem().isEmpty()) {
        std::fprintf(stderr, "bench_festa: %s\n", qPrintable(pg.problem()));
        return 1;
    }
    deskToPanel(pg, seconds);
    uploadThroughput(pg, 3000);
    fillServer(pg, sales);
    panelRefresh(pg);
    return 0;
}
