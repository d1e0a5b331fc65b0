// Bank statements of the festa's Pix account read as they come from the banks (text in Windows-1252
// labelled UTF-8 and the other way round, empty transaction ids, accented names), kept once however
// often they are imported, and the treasurer's lists of Pix sales against their credits.
#include "core/db/database.h"
#include "core/payments/paymenterror.h"
#include "core/payments/reconciliation.h"
#include "core/payments/statement.h"
#include "core/payments/statementstore.h"
#include "support/coresupport.h"

#include <QFile>
#include <ctime>

using Reconciliation::PixSale;

namespace {

// A file of tests/core/data (found from the sources' folder, however the build names its paths).
QByteArray bytesOf(const QString& name) {
    QFile f(QStringLiteral(QT_TESTCASE_SOURCEDIR "/core/data/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// "14/07 14:03 1250 [id] payer", the day alone when the bank gave no time.
QString described(const StatementCredit& c) {
    return QStringLiteral("%1 %2 [%3] %4")
        .arg(c.at.toString(c.hasTime ? QStringLiteral("dd/MM HH:mm") : QStringLiteral("dd/MM")))
        .arg(c.cents)
        .arg(c.id, c.payer);
}

QStringList described(const QList<StatementCredit>& credits) {
    QStringList out;
    for (const StatementCredit& c : credits)
        out << described(c);
    return out;
}

QDateTime at(const QString& hhmm) {
    return QDateTime(QDate(2026, 7, 14), QTime::fromString(hhmm, QStringLiteral("HH:mm")));
}

// The OFX file as a bank that writes UTF-8 but labels it Windows-1252 would give it.
QByteArray utf8LabelledCp1252() {
    QByteArray b = StatementImport::decode(bytesOf(QStringLiteral("pix-extrato-1252.ofx"))).toUtf8();
    return b.replace("ENCODING:UTF-8", "ENCODING:USASCII").replace("CHARSET:NONE", "CHARSET:1252");
}

} // namespace

class TestStatement : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("TZ", "America/Sao_Paulo"); // the banks' times are Brasília's
        tzset();
    }

    void credits_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("credits");
        const QStringList ofx = {"14/07 14:03 1250 [E0000000020260714170312abc] JOSÉ DA CONCEIÇÃO",
                                 "14/07 14:10 700 [] MARIA JOÃO", "14/07 15:20 123456 [] ANTÔNIO “TONHO” SÁ"};
        QTest::newRow("OFX, Windows-1252 labelled UTF-8") << bytesOf("pix-extrato-1252.ofx") << "OFX" << ofx;
        QTest::newRow("OFX, UTF-8 labelled Windows-1252") << utf8LabelledCp1252() << "OFX" << ofx;
        QTest::newRow("Banco do Brasil, Latin-1, time in the details")
            << bytesOf("pix-bb.csv") << "CSV Banco do Brasil"
            << QStringList{"14/07 14:05 1250 [140501] JOSÉ DA SILVA",
                           "14/07 16:40 123456 [164001] CONCEIÇÃO"};
        QTest::newRow("Bradesco, payer on the next line")
            << bytesOf("pix-bradesco.csv") << "CSV Bradesco"
            << QStringList{"14/07 700 [] JOÃO D’ÁVILA", "14/07 700 [] JOÃO D’ÁVILA"};
        QTest::newRow("Nubank, UTF-8 with BOM, dot decimals")
            << bytesOf("pix-nubank.csv") << "CSV Nubank"
            << QStringList{"14/07 2500 [6a1b2c3d-0000-4000-8000-000000000001] LUÍSA ÇARÁ",
                           "14/07 350 [6a1b2c3d-0000-4000-8000-000000000003] PEDRO"};
        QTest::newRow("Itaú, Windows-1252")
            << QString(
                   "data;lançamento;ag./origem;valor (R$)\r\n14/07/2026;PIX TRANSF ANA PA14/07;0001;10,00\r\n"
                   "14/07/2026;SISPAG FORNECEDOR;;-5,00\r\n14/07/2026;PIX TRANSF LOJA 14/07;;-1.000,00\r\n")
                   .toLatin1()
            << "CSV Itaú" << QStringList{"14/07 1000 [] ANA PA"};
    }
    void credits() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, format);
        QFETCH(QStringList, credits);
        const Statement s = StatementImport::read(bytes, QStringLiteral("extrato"));
        QCOMPARE(s.format, format);
        QCOMPARE(described(s.credits), credits);
    }

    void unreadable_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray ofx = bytesOf("pix-extrato-1252.ofx");
        QTest::newRow("OFX cut short")
            << ofx.left(ofx.indexOf("<BANKMSGSRSV1>")) << "O extrato x.ofx não pôde ser lido";
        QTest::newRow("no bank's layout") << QByteArray("nome;valor\nANA;10,00\n") << "O extrato x.ofx não é";
        QTest::newRow("Pix line with a bad amount")
            << QByteArray("Data,Valor,Identificador,Descrição\n14/07/2026,1O.00,a1,Pix recebido\n")
            << "O extrato x.ofx não pôde ser lido: a linha 2";
        QTest::newRow("Pix line with a bad date")
            << QByteArray("Data,Valor,Identificador,Descrição\n31/02/2026,10.00,a1,Pix recebido\n")
            << "O extrato x.ofx não pôde ser lido: a linha 2";
    }
    void unreadable() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        try {
            StatementImport::read(bytes, QStringLiteral("x.ofx"));
            QFAIL("read");
        } catch (const PaymentError& e) {
            QVERIFY2(e.text().startsWith(message), qPrintable(e.text()));
        }
    }

    // A file imported twice adds nothing, nor does another file with the same credits; two credits
    // alike in all but their place in the file are two; a file that cannot be read leaves no trace.
    void importedOnce() {
        TestSupport::TestDatabase file;
        Database db(file.path());
        const QDateTime now = at(QStringLiteral("23:00"));
        const QByteArray ofx = bytesOf("pix-extrato-1252.ofx");
        const auto import = [&](const QByteArray& bytes) {
            const auto o = StatementStore::import(db, StatementImport::read(bytes, "e"), "e", now);
            return QStringLiteral("%1 +%2 =%3")
                .arg(o.fileKnown ? "conhecido" : "novo")
                .arg(o.added)
                .arg(o.known);
        };
        QVERIFY_THROWS_EXCEPTION(PaymentError, import(ofx.left(300)));
        QCOMPARE(file.scalar("SELECT count(*) FROM tbl_pix_extratos"), QStringLiteral("0"));
        QCOMPARE(import(ofx), QStringLiteral("novo +3 =0"));
        QCOMPARE(import(ofx), QStringLiteral("conhecido +0 =0"));
        QCOMPARE(import(utf8LabelledCp1252()), QStringLiteral("novo +0 =3"));
        QCOMPARE(import(bytesOf("pix-bradesco.csv")), QStringLiteral("novo +2 =0"));
        QStringList kept;
        for (const auto& c : StatementStore::credits(db))
            kept << described(c.credit);
        QCOMPARE(kept,
                 QStringList({"14/07 700 [] JOÃO D’ÁVILA", "14/07 700 [] JOÃO D’ÁVILA",
                              "14/07 14:03 1250 [E0000000020260714170312abc] JOSÉ DA CONCEIÇÃO",
                              "14/07 14:10 700 [] MARIA JOÃO", "14/07 15:20 123456 [] ANTÔNIO “TONHO” SÁ"}));
    }

    // Sales of two desks against the credits of three statements: the txid the bank kept wins over the
    // clock, then the same amount nearest in time (a credit with no time, the same day); a sale with no
    // credit and a credit with no sale are listed, kept and exported.
    void reconciled() {
        QList<StatementCredit> credits;
        for (const char* f : {"pix-extrato-1252.ofx", "pix-bradesco.csv", "pix-nubank.csv"})
            credits += StatementImport::read(bytesOf(f), f).credits;
        const QList<PixSale> sales = {
            {"Caixa 1", 3, 2, "D01T0003V000002", 1250, at("13:20")},   // by txid, 43 min before its credit
            {"Caixa 1", 3, 3, "D01T0003V000003", 700, at("14:09")},    // the 14:10 credit
            {"Caixa 2", 5, 1, "D02T0005V000001", 700, at("14:12")},    // a Bradesco credit of that day
            {"Caixa 2", 5, 2, "D02T0005V000002", 2000, at("15:00")},   // no credit: a fake receipt?
            {"Caixa 2", 5, 3, "D02T0005V000003", 123456, at("16:00")}, // its credit came 40 min earlier
            {"Caixa 1", 3, 4, "D01T0003V000004", 350, at("20:00")},
            {"Caixa 1", 3, 5, "D01T0003V000005", 2500, at("21:00")},
        };
        const Reconciliation::Result r = Reconciliation::reconcile(sales, credits);
        QStringList pairs;
        for (const auto& m : r.matched)
            pairs << QStringLiteral("%1-%2%3").arg(m.sale).arg(m.credit).arg(m.byTxid ? " txid" : "");
        QCOMPARE(pairs, QStringList({"0-0 txid", "1-1", "2-3", "5-6", "6-5"}));
        QCOMPARE(r.salesWithoutCredit, QList<qsizetype>({3, 4}));
        QCOMPARE(r.creditsWithoutSale, QList<qsizetype>({2, 4}));
        QCOMPARE(r.creditsWithoutSaleCents, 123456 + 700);
        QStringList totals;
        for (const auto& t : r.totals)
            totals << QStringLiteral("%1/%2: %3 %4, %5 %6, %7 %8")
                          .arg(t.desk)
                          .arg(t.till)
                          .arg(t.sales)
                          .arg(t.salesCents)
                          .arg(t.matched)
                          .arg(t.matchedCents)
                          .arg(t.missing)
                          .arg(t.missingCents);
        QCOMPARE(totals,
                 QStringList({"Caixa 1/3: 4 4800, 4 4800, 0 0", "Caixa 2/5: 3 126156, 1 700, 2 125456"}));

        const QByteArray exported = Reconciliation::csv(sales, credits, r);
        QVERIFY(exported.startsWith("\xEF\xBB\xBF" + QStringLiteral("Situação;Caixa;").toUtf8()));
        const QString csv = QString::fromUtf8(exported);
        QVERIFY(
            csv.contains("Venda sem crédito;Caixa 2;5;2;D02T0005V000002;20,00;14/07/2026 15:00:00;;;;;\r\n"));
        QVERIFY(csv.contains("Crédito sem venda;;;;;;;14/07/2026 15:20:00;1234,56;ANTÔNIO “TONHO” SÁ;;"));
        QVERIFY(csv.contains("Caixa 2;5;3;1261,56;1;7,00;2;1254,56\r\n"));

        TestSupport::TestDatabase file;
        Database db(file.path());
        StatementStore::import(db, StatementImport::read(bytesOf("pix-extrato-1252.ofx"), "e"), "e",
                               at("22:00"));
        const auto kept = StatementStore::credits(db);
        const auto stored = Reconciliation::reconcile(sales, [&] {
            QList<StatementCredit> c;
            for (const auto& k : kept)
                c << k.credit;
            return c;
        }());
        StatementStore::saveResult(db, sales, kept, stored, at("22:05"));
        StatementStore::saveResult(db, sales, kept, stored, at("22:06")); // replaces, does not add
        QStringList lines;
        for (const auto& l : StatementStore::result(db))
            lines << QStringLiteral("%1 %2 %3").arg(l.state, l.txid).arg(l.creditId);
        QCOMPARE(lines,
                 QStringList({"conferida-txid D01T0003V000002 1", "conferida D01T0003V000003 2",
                              "venda-sem-credito D02T0005V000001 0", "venda-sem-credito D02T0005V000002 0",
                              "venda-sem-credito D02T0005V000003 0", "venda-sem-credito D01T0003V000004 0",
                              "venda-sem-credito D01T0003V000005 0", "credito-sem-venda  3"}));
    }

    // The window around a sale: a credit up to 30 minutes before or after it pays it, one later does not;
    // a txid on a credit of another amount names no sale.
    void window_data() {
        QTest::addColumn<int>("offset"); // credit minus sale, seconds
        QTest::addColumn<QString>("memo");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<bool>("paid");
        QTest::newRow("10 min before") << -600 << "" << qint64(500) << true;
        QTest::newRow("30 min after") << 1800 << "" << qint64(500) << true;
        QTest::newRow("30 min 1 s after") << 1801 << "" << qint64(500) << false;
        QTest::newRow("31 min before") << -1860 << "" << qint64(500) << false;
        QTest::newRow("txid, 3 h after") << 3 * 3600 << "PIX D01T0001V000001" << qint64(500) << true;
        QTest::newRow("txid, other amount") << 60 << "PIX D01T0001V000001" << qint64(501) << false;
    }
    void window() {
        QFETCH(int, offset);
        QFETCH(QString, memo);
        QFETCH(qint64, cents);
        QFETCH(bool, paid);
        const QList<PixSale> sales = {{"Caixa 1", 1, 1, "D01T0001V000001", 500, at("12:00")}};
        StatementCredit c;
        c.at = at("12:00").addSecs(offset);
        c.cents = cents;
        c.memo = memo;
        QCOMPARE(Reconciliation::reconcile(sales, {c}).matched.size(), paid ? 1 : 0);
    }
};

QUORVANTA_CORE_TEST_MAIN(TestStatement)
#include "tst_statement.moc"
