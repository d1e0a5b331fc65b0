// A festa of several desks against a real PostgreSQL 15 server of the test's own: the server's totals
// equal what the desks booked through a silent network and a server crash, a copied desk file is caught
// without touching the server and brought back as two desks, a silent network is told at once, connection
// problems are told in Portuguese while the desk sells on, and a new catalogue reaches a desk only
// between two sales.
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/desk/desktill.h"
#include "core/festa/deskjournal.h"
#include "core/festa/festadesk.h"
#include "core/festa/festajournalstore.h"
#include "core/festa/festapanel.h"
#include "core/till/tillmodel.h"
#include "support/coresupport.h"
#include "support/festasupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace TestSupport;

namespace {

void openTill(TillModel& till) {
    till.open({QStringLiteral("MARIA"), QStringLiteral("JOSE"), QStringLiteral("10/12/2026"),
               QStringLiteral("18:00:00"), QStringLiteral("50,00")},
              till.nextNumber());
}

void sell(TillModel& till, const QString& keys) {
    for (const QChar k : keys)
        till.addLine(k);
    till.bookSale();
    till.clearSale();
}

QString configFor(const QTemporaryDir& dir, const FestaSettings& settings) {
    const QString path = dir.filePath(QStringLiteral("festa-%1.conf").arg(settings.deskName));
    FestaSettings::setFileName(path);
    settings.save();
    FestaSettings::setFileName(QString());
    return path;
}

QString deskIdOf(const QString& file) {
    Database db(file);
    return FestaJournalStore::desk(db).deskId;
}

} // namespace

class TestFestaDesks : public QObject {
    Q_OBJECT

    std::unique_ptr<TestPgServer> m_pg;

    // The server's figures through the panel model, as the treasurer's window reads them.
    std::pair<FestaPanelStore::Figures, QList<FestaPanelStore::ClosedTill>> panel() {
        FestaPanelModel model(m_pg->treasurer());
        QSignalSpy refreshed(&model, &FestaPanelModel::refreshed);
        QSignalSpy closed(&model, &FestaPanelModel::closedTillsRead);
        model.refresh();
        model.readClosedTills();
        if (!closed.wait(10000) && closed.isEmpty()) qWarning("no closed tills read");
        return {model.figures(), closed.value(0).value(0).value<QList<FestaPanelStore::ClosedTill>>()};
    }

private slots:
    void initTestCase() {
        m_pg = std::make_unique<TestPgServer>();
        if (!QFile::exists(QStringLiteral("/usr/lib/postgresql/15/bin/postgres")))
            QSKIP("PostgreSQL 15 is not installed (Debian package postgresql-15)");
        QVERIFY2(m_pg->problem().isEmpty(), qPrintable(m_pg->problem()));
        // the program knows every version of db/server the set-up applied
        QCOMPARE(m_pg->sql(QStringLiteral("SELECT max(versao) FROM festa.versao_esquema")),
                 QString::number(FestaSession::knownSchemaVersion()));
    }

    void settingsAreTheUsersAloneAndAbsentMeansNoFesta() {
        QTemporaryDir dir;
        FestaSettings::setFileName(dir.filePath(QStringLiteral("festa.conf")));
        QVERIFY(!FestaSettings::load());
        FestaSettings s = m_pg->deskSettings(QStringLiteral("Caixa 2"));
        s.treasurerPassword = TestPgServer::treasurerPassword(); // on the panel's computer
        s.save();
        const auto userBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
        QCOMPARE(QFile::permissions(FestaSettings::fileName()) & ~userBits,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(FestaSettings::load() == s);
        s.treasurerPassword.clear(); // a desk without the panel keeps no treasurer's password
        s.save();
        QVERIFY(FestaSettings::load() == s);
        QFile file(FestaSettings::fileName());
        QVERIFY(file.open(QIODevice::ReadOnly) && !file.readAll().contains("senha_tesouraria"));
        FestaSettings::remove();
        QVERIFY(!FestaSettings::load());
        FestaSettings::setFileName(QString());
    }

    void theSalesLineSaysHowFarBehindTheDeskIs_data() {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<int>("waiting");
        QTest::addColumn<int>("silentSeconds"); // -1: never reached the server
        QTest::addColumn<QString>("stopped");
        QTest::addColumn<QString>("line");
        QTest::newRow("up to date") << true << 0 << 0 << ""
                                    << "Festa: em dia";
        QTest::newRow("sending") << true << 1 << 0 << ""
                                 << "Festa: 1 registro a enviar";
        QTest::newRow("silent") << false << 12 << 190 << ""
                                << "Festa: 12 registros a enviar — servidor sem resposta há 3 min";
        QTest::newRow("never reached") << false << 2 << -1 << ""
                                       << "Festa: 2 registros a enviar — Senha recusada.";
        QTest::newRow("stopped") << false << 5 << 10 << "cópia."
                                 << "Festa: ENVIO PARADO — cópia.";
    }
    void theSalesLineSaysHowFarBehindTheDeskIs() {
        QFETCH(bool, connected);
        QFETCH(int, waiting);
        QFETCH(int, silentSeconds);
        QFETCH(QString, stopped);
        QFETCH(QString, line);
        const QDateTime now = QDateTime::currentDateTime();
        FestaUploadState s;
        s.connected = connected;
        s.waiting = waiting;
        s.stopped = stopped;
        s.problem = QStringLiteral("Senha recusada.");
        if (silentSeconds >= 0) s.lastContact = now.addSecs(-silentSeconds);
        QCOMPARE(festaStatusLine(s, now), line);
    }

    void threeDesksSellThroughASilentNetworkAndAServerCrash() {
        TcpProxy proxy(m_pg->port());
        QTemporaryDir dir;
        TestDatabase files[3];
        std::unique_ptr<QProcess> desks[3];
        for (int i = 0; i < 3; ++i) {
            const QString config =
                configFor(dir, m_pg->deskSettings(QStringLiteral("Caixa %1").arg(i + 1), proxy.port()));
            desks[i] = std::make_unique<QProcess>();
            desks[i]->start(QCoreApplication::applicationFilePath(),
                            testDeskArguments(files[i].path(), config, 1000 + i, 220, 35));
            QVERIFY(desks[i]->waitForStarted());
        }
        QTest::qWait(1000);
        proxy.pause(); // the network goes silent, every connection left open
        QTest::qWait(3000);
        proxy.resume();
        QTest::qWait(1000);
        m_pg->stopImmediately();
        QTest::qWait(2000);
        QVERIFY(m_pg->start());
        for (auto& d : desks)
            QTRY_VERIFY_WITH_TIMEOUT(d->state() == QProcess::NotRunning, 90000);

        for (int i = 0; i < 3; ++i) {
            const QString out = QString::fromUtf8(desks[i]->readAllStandardOutput());
            QCOMPARE(desks[i]->exitCode(), 0);
            QVERIFY2(out.contains(QStringLiteral("servidor sem resposta há")), qPrintable(out));
            // no step waited for the network: a connection attempt alone takes seconds
            const qsizetype at = out.indexOf(QStringLiteral("venda-max-ms: "));
            QVERIFY(at >= 0);
            QVERIFY2(out.mid(at + 14).trimmed().toInt() < 1000, qPrintable(out.mid(at)));
        }
        const auto [figures, closed] = panel();
        QCOMPARE(figures.desks.size() >= 3, true);
        qint64 booked = 0;
        for (const TestDatabase& f : files) {
            const DeskBook book = readDeskBook(f.path());
            QVERIFY(book.closedTills > 0 && book.products.size() > 3);
            const QString diff = compareWithServer(book, figures, closed);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
            for (const auto& [units, cents] : book.products)
                booked += cents;
        }
        qint64 festa = 0;
        for (const FestaPanelStore::ProductFigures& p : figures.products)
            festa += p.cents;
        QCOMPARE(festa, booked);
    }

    // A desk file copied to a second computer: the copy sells first after the copy is made elsewhere, or
    // the original goes on first; either way both stop, nothing of the copy is counted, the panel shows
    // each one's till from its own rows, and the treasurer's choice brings both back as two desks with
    // every row once on the server.
    void aCopiedDeskIsBroughtBackAsTwoDesks_data() {
        QTest::addColumn<bool>("keepCopy"); // the treasurer keeps the identity on the copy's branch
        QTest::newRow("the server's desk keeps it") << false;
        QTest::newRow("the copy keeps it") << true;
    }
    void aCopiedDeskIsBroughtBackAsTwoDesks() {
        QFETCH(bool, keepCopy);
        TestDatabase original;
        const FestaSettings settings = m_pg->deskSettings(QStringLiteral("Caixa 7"));
        QTemporaryDir elsewhere;
        const QString copy = elsewhere.filePath(QStringLiteral("base.db"));
        {
            Database db(original.path());
            DeskTill till(db);
            FestaDesk desk(db, till, settings, quickTiming());
            openTill(till);
            for (const QString& keys : {QStringLiteral("01"), QStringLiteral("2"), QStringLiteral("33")})
                sell(till, keys);
            QTRY_VERIFY_WITH_TIMEOUT(desk.state().connected && DeskJournal::waiting(db) == 0, 20000);
            original.exec(QStringLiteral("VACUUM INTO '%1'").arg(copy)); // the file as it stands
            sell(till, QStringLiteral("4"));
            sell(till, QStringLiteral("5")); // the original goes on first
            QTRY_VERIFY_WITH_TIMEOUT(desk.state().connected && DeskJournal::waiting(db) == 0, 20000);
        }
        const QString id = deskIdOf(original.path());
        const qint64 forked = readDeskBook(copy).lastSeq + 1; // the first row after the copy
        const QString server =
            QStringLiteral(
                "SELECT string_agg(seq || ':' || hash, ',' ORDER BY seq) FROM festa.diario WHERE "
                "caixa = '%1'; SELECT string_agg(chave || produto || unidades || ':' || centavos, "
                "',' ORDER BY chave, produto) FROM festa.totais_produto WHERE caixa = '%1'; SELECT "
                "vendas_centavos, sangria_centavos, aberto FROM festa.turnos WHERE caixa = '%1'")
                .arg(id);
        const QString before = m_pg->sql(server);

        Database odb(original.path());
        DeskTill otill(odb);
        Database cdb(copy);
        DeskTill ctill(cdb);
        auto copyDesk = std::make_unique<FestaDesk>(cdb, ctill, settings, quickTiming());
        sell(ctill, QStringLiteral("0"));
        sell(ctill, QStringLiteral("22"));
        QTRY_VERIFY_WITH_TIMEOUT(!copyDesk->state().stopped.isEmpty(), 20000);
        QCOMPARE(m_pg->sql(server), before); // nothing of the copy counted
        // the original learns it from the server and stops too; both sell on by themselves, and what
        // they book while stopped tells the panel their tills: the copy closes its own
        auto originalDesk = std::make_unique<FestaDesk>(odb, otill, settings, quickTiming());
        QTRY_VERIFY_WITH_TIMEOUT(!originalDesk->state().stopped.isEmpty(), 20000);
        for (const FestaDesk* d : {originalDesk.get(), copyDesk.get()})
            QCOMPARE(d->statusLine(), QStringLiteral("Festa: ENVIO PARADO — ") + festaCopyStop());
        sell(otill, QStringLiteral("1"));
        ctill.close(ctill.cash(), QStringLiteral("ANA"));
        QCOMPARE(m_pg->sql(server), before);

        FestaPanelModel model(m_pg->treasurer());
        QSignalSpy refreshed(&model, &FestaPanelModel::refreshed);
        const auto claimants = [&] {
            QList<FestaPanelStore::DeskFigures> out;
            for (const FestaPanelStore::DeskFigures& d : model.figures().desks)
                if (d.deskId == id) out << d;
            return out;
        };
        const auto settled = [&](bool copyTillOpen) {
            model.refresh();
            if (!refreshed.wait(10000)) return false;
            const QList<FestaPanelStore::DeskFigures> both = claimants();
            return both.size() == 2 && both[0].claimSeq == forked && both[1].claimCopy && both[0].tillOpen &&
                   both[1].tillOpen == copyTillOpen && model.figures().partial &&
                   both[1].stopped.contains(QStringLiteral("arquivo do caixa copiado"));
        };
        QTRY_VERIFY_WITH_TIMEOUT(settled(false), 20000);

        const FestaPanelStore::DeskFigures keeper = claimants()[keepCopy ? 1 : 0];
        model.resolveClaim(keeper);
        const QString loserFile = keepCopy ? original.path() : copy;
        const QString keeperFile = keepCopy ? copy : original.path();
        QTRY_VERIFY_WITH_TIMEOUT(deskIdOf(loserFile) != id, 20000);
        QCOMPARE(deskIdOf(keeperFile), id);
        for (auto* d : {originalDesk.get(), copyDesk.get()})
            QTRY_VERIFY2_WITH_TIMEOUT(d->state().connected && d->state().waiting == 0,
                                      qPrintable(d->statusLine() + d->state().problem), 20000);
        originalDesk.reset();
        copyDesk.reset();

        // every row once: the keeper's whole journal under the identity, the loser's since the copy under
        // its new one; the festa's totals are the keeper's figures and the loser's sales since the copy
        const auto [figures, closed] = panel();
        const DeskBook kept = readDeskBook(keeperFile);
        const DeskBook other = readDeskBook(loserFile);
        QVERIFY2(compareWithServer(kept, figures, closed).isEmpty(),
                 qPrintable(compareWithServer(kept, figures, closed)));
        QCOMPARE(other.firstSeq, forked);
        qint64 otherSince = 0;
        {
            Database db(loserFile);
            for (const FestaJournalStore::Row& r : FestaJournalStore::rows(db, forked, 1000))
                if (r.kind == DeskJournal::sale)
                    otherSince += QJsonDocument::fromJson(r.content.toUtf8())["total_centavos"].toInteger();
        }
        QVERIFY(otherSince > 0);
        int shown = 0;
        for (const FestaPanelStore::DeskFigures& d : figures.desks) {
            if (d.deskId != kept.deskId && d.deskId != other.deskId) continue;
            ++shown;
            QVERIFY2(d.stopped.isEmpty() && d.claimSeq == 0, qPrintable(d.stopped));
            if (d.deskId != other.deskId) continue;
            QCOMPARE(d.received, other.lastSeq - forked + 1);
            QCOMPARE(d.festaSalesCents, otherSince);
            QCOMPARE(d.tillOpen, other.tillOpen);
        }
        QCOMPARE(shown, 2);
        qint64 festa = 0;
        for (const FestaPanelStore::ProductFigures& p : figures.productsByDesk)
            if (p.deskId == kept.deskId || p.deskId == other.deskId) festa += p.cents;
        QCOMPARE(festa, kept.salesCents + otherSince);
        QCOMPARE(m_pg->sql(QStringLiteral("SELECT count(*) FROM festa.diario WHERE caixa IN ('%1', '%2')")
                               .arg(kept.deskId, other.deskId)),
                 QString::number(kept.lastSeq - kept.firstSeq + 1 + other.lastSeq - forked + 1));
    }

    // The network goes silent (every connection left open): the sales line counts a sale the moment it is
    // booked and calls the server silent within a second; the panel marks the desk silent and the
    // totals partial within 10 s of its last contact.
    void aSilentNetworkIsToldAtOnceOnTheLineAndSoonOnThePanel() {
        TcpProxy proxy(m_pg->port());
        TestDatabase file;
        Database db(file.path());
        DeskTill till(db);
        FestaDesk desk(db, till, m_pg->deskSettings(QStringLiteral("Caixa 5"), proxy.port()), quickTiming());
        QString shown; // as the sales screen paints it: on the desk's signal
        connect(&desk, &FestaDesk::stateChanged, this, [&] { shown = desk.statusLine(); });
        openTill(till);
        QTRY_COMPARE_WITH_TIMEOUT(shown, QStringLiteral("Festa: em dia"), 20000);
        QElapsedTimer silent;
        silent.start();
        proxy.pause();
        sell(till, QStringLiteral("12"));
        QVERIFY2(shown.startsWith(QStringLiteral("Festa: 1 registro a enviar")), qPrintable(shown));
        QTRY_VERIFY_WITH_TIMEOUT(
            shown.contains(QStringLiteral("1 registro a enviar — servidor sem resposta")), 1000);

        FestaPanelModel model(m_pg->treasurer());
        QSignalSpy refreshed(&model, &FestaPanelModel::refreshed);
        const QString id = FestaJournalStore::desk(db).deskId;
        const auto marked = [&] {
            model.refresh();
            if (!refreshed.wait(10000)) return false;
            for (const FestaPanelStore::DeskFigures& d : model.figures().desks)
                if (d.deskId == id)
                    return model.figures().partial && d.secondsSinceContact > FestaPanelStore::silentSeconds;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(marked(), 15000);
        QVERIFY2(silent.elapsed() < 10000, qPrintable(QString::number(silent.elapsed())));
        proxy.resume();
        QTRY_COMPARE_WITH_TIMEOUT(shown, QStringLiteral("Festa: em dia"), 20000);
    }

    void connectionProblemsAreToldWhileTheDeskSellsOn_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("message");
        const QString local = QStringLiteral("127.0.0.1");
        const int port = m_pg->port();
        const QString pw = TestPgServer::deskPassword();
        QTest::newRow("name not found") << "servidor-da-festa.invalid" << port << "festa" << pw << ""
                                        << "Servidor da festa não encontrado";
        QTest::newRow("nothing listening") << local << freePort() << "festa" << pw << ""
                                           << "recusou a conexão na porta";
        QTest::newRow("wrong password") << local << port << "festa"
                                        << "errada"
                                        << ""
                                        << "recusou a senha do caixa";
        QTest::newRow("no festa database") << local << port << "outra" << pw << ""
                                           << "não tem a base de dados da festa \"outra\"";
        QTest::newRow("newer schema")
            << local << port << "festa" << pw << "INSERT INTO festa.versao_esquema (versao) VALUES (99)"
            << "versão mais nova do programa (esquema 99; este caixa conhece até o 2)";
    }
    void connectionProblemsAreToldWhileTheDeskSellsOn() {
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QString, database);
        QFETCH(QString, password);
        QFETCH(QString, before);
        QFETCH(QString, message);
        if (!before.isEmpty()) m_pg->sql(before);
        FestaSettings s = m_pg->deskSettings(QStringLiteral("Caixa 9"), port);
        s.host = host;
        s.database = database;
        s.password = password;
        QVERIFY2(testFestaConnection(s).contains(message), qPrintable(testFestaConnection(s)));

        TestDatabase file;
        Database db(file.path());
        DeskTill till(db);
        FestaDesk desk(db, till, s, quickTiming());
        openTill(till);
        QElapsedTimer slowest;
        for (int i = 0; i < 3; ++i) {
            slowest.start();
            sell(till, QStringLiteral("12"));
            QVERIFY(slowest.elapsed() < 1000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            desk.statusLine().startsWith(QStringLiteral("Festa: 5 registros a enviar — ")) &&
                desk.statusLine().contains(message),
            15000);
        if (!before.isEmpty())
            m_pg->sql(QStringLiteral("DELETE FROM festa.versao_esquema WHERE versao = 99"));
    }

    void aNewCatalogueIsAppliedOnlyBetweenSales() {
        TestDatabase file;
        Database db(file.path());
        DeskTill till(db);
        FestaDesk desk(db, till, m_pg->deskSettings(QStringLiteral("Caixa 3")), quickTiming());
        QSignalSpy applied(&desk, &FestaDesk::catalogueApplied);
        QSignalSpy downloaded(&desk.uploader(), &FestaUploader::catalogueDownloaded);
        openTill(till);
        till.addLine(QLatin1Char('0')); // a sale under way

        FestaCatalogue c;
        c.header = QStringLiteral("QUERMESSE DE SÃO JOÃO");
        c.footer = QStringLiteral("Volte sempre");
        c.products = {{QStringLiteral("0"), QStringLiteral("ÁGUA MINERAL"), QStringLiteral("ÁGUA"),
                       QStringLiteral("2,50"), 1},
                      {QStringLiteral("1"), QStringLiteral("QUENTÃO"), QStringLiteral("QUENTÃO"),
                       QStringLiteral("5,00"), 2}};
        FestaPanelModel panel(m_pg->treasurer());
        QSignalSpy saved(&panel, &FestaPanelModel::catalogueSaved);
        panel.saveCatalogue(c);
        QVERIFY(saved.wait(10000));
        const int version = saved.at(0).at(0).toInt();
        QTRY_COMPARE_WITH_TIMEOUT(downloaded.size(), 1, 15000);
        QCoreApplication::processEvents(); // the desk hears of it in the middle of the sale
        QCOMPARE(FestaJournalStore::newestCatalogue(db).first, version);
        QCOMPARE(TillStore::productLine(db, QLatin1Char('0')).product, QStringLiteral("ÁGUA"));
        QVERIFY(applied.isEmpty());

        till.addLine(QLatin1Char('0'));
        till.bookSale(); // the sale ends at the old price; the catalogue follows at once
        QCOMPARE(applied.size(), 1);
        QCOMPARE(till.name(QLatin1Char('1')), QStringLiteral("QUENTÃO"));
        QCOMPARE(TillStore::productLine(db, QLatin1Char('5')).product, QString());
        sell(till, QStringLiteral("01"));
        QCOMPARE(TillStore::readTill(db)->cash, QStringLiteral("61,50"));
        QTRY_VERIFY_WITH_TIMEOUT(DeskJournal::waiting(db) == 0, 15000);
        const QString id = FestaJournalStore::desk(db).deskId;
        QCOMPARE(
            m_pg->sql(QStringLiteral("SELECT string_agg(produto || ' ' || unidades || ' ' || centavos, ', ' "
                                     "ORDER BY produto) FROM festa.totais_produto WHERE caixa = '%1'; "
                                     "SELECT catalogo FROM festa.caixas WHERE id = '%1'")
                          .arg(id)),
            QStringLiteral("QUENTÃO 1 500, ÁGUA 2 400, ÁGUA MINERAL 1 250\n%1").arg(version));
    }
};

int main(int argc, char** argv) {
    if (const int child = runTestDesk(argc, argv); child >= 0) return child;
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    TestFestaDesks tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_festadesks.moc"
