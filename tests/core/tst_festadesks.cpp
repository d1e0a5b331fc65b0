// A festa of several desks against a real PostgreSQL 15 server of the test's own: the server's totals
// equal what the desks booked through a silent network and a server crash, a copied desk file is caught
// without touching the server, connection problems are told in Portuguese while the desk sells on, and a
// new catalogue reaches a desk only between two sales.
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/festa/deskjournal.h"
#include "core/festa/festadesk.h"
#include "core/festa/festajournalstore.h"
#include "core/festa/festapanel.h"
#include "core/till/tillmodel.h"
#include "support/coresupport.h"
#include "support/festasupport.h"

#include <QElapsedTimer>
#include <QFile>
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

    void aCopiedDeskFileStopsWithoutChangingTheServer() {
        TestDatabase original;
        const FestaSettings settings = m_pg->deskSettings(QStringLiteral("Caixa 7"));
        const auto sellAndWait = [&](const QString& file, const QString& sales) {
            Database db(file);
            TillModel till(db);
            FestaDesk desk(db, till, settings, quickTiming());
            if (!till.isOpen()) openTill(till);
            for (const QString& keys : sales.split(QLatin1Char(' ')))
                sell(till, keys);
            QTRY_VERIFY_WITH_TIMEOUT(desk.state().connected && DeskJournal::waiting(db) == 0, 20000);
        };
        sellAndWait(original.path(), QStringLiteral("01 2 33"));
        QTemporaryDir elsewhere;
        const QString copy = elsewhere.filePath(QStringLiteral("base.db"));
        QVERIFY(QFile::copy(original.path(), copy));
        sellAndWait(original.path(), QStringLiteral("4 5")); // the original goes on first
        const QString id = deskIdOf(original.path());
        const QString server =
            QStringLiteral(
                "SELECT string_agg(seq || ':' || hash, ',' ORDER BY seq) FROM festa.diario WHERE caixa = "
                "'%1'; "
                "SELECT string_agg(chave || produto || unidades || ':' || centavos, ',' ORDER BY chave, "
                "produto) "
                "FROM festa.totais_produto WHERE caixa = '%1'; "
                "SELECT vendas_centavos, sangria_centavos, aberto FROM festa.turnos WHERE caixa = '%1'")
                .arg(id);
        const QString before = m_pg->sql(server);

        Database db(copy);
        TillModel till(db);
        FestaDesk desk(db, till, settings, quickTiming());
        QSignalSpy stopped(&desk, &FestaDesk::stopped);
        sell(till, QStringLiteral("0"));
        sell(till, QStringLiteral("22"));
        QTRY_VERIFY_WITH_TIMEOUT(!stopped.isEmpty(), 20000);
        QVERIFY(desk.statusLine().startsWith(QStringLiteral("Festa: ENVIO PARADO — o registro nº")));
        QVERIFY(desk.statusLine().contains(QStringLiteral("cópia do arquivo de outro caixa")));
        QCOMPARE(m_pg->sql(server), before);
        // the panel shows the stop and calls the totals partial; the copy sells on by itself
        const auto [figures, closed] = panel();
        QVERIFY(figures.partial);
        bool shown = false;
        for (const FestaPanelStore::DeskFigures& d : figures.desks)
            shown |= d.deskId == id && d.stopped.contains(QStringLiteral("outro conteúdo"));
        QVERIFY(shown);
        sell(till, QStringLiteral("1"));
        QCOMPARE(TillStore::readTill(db)->cash, QStringLiteral("95,00"));
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
            << "versão mais nova do programa (esquema 99; este caixa conhece até o 1)";
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
        TillModel till(db);
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
        TillModel till(db);
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
