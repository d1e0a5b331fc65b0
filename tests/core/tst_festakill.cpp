// A desk killed with SIGKILL again and again while it uploads: after the server committed a batch but
// before the desk stored the acknowledgement, between the local commit and the upload, in the middle of
// a batch, and at random moments. In the end the server holds every journal row of the desk exactly once,
// without gaps, each as the desk wrote it, and its totals equal the desk's own.
#include "core/db/database.h"
#include "core/festa/festajournalstore.h"
#include "core/festa/festapanelstore.h"
#include "support/coresupport.h"
#include "support/festasupport.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

using namespace TestSupport;

class TestFestaKill : public QObject {
    Q_OBJECT

private slots:
    void killedWhileUploadingEveryRowArrivesOnce() {
        TestPgServer pg;
        if (!QFile::exists(QStringLiteral("/usr/lib/postgresql/15/bin/postgres")))
            QSKIP("PostgreSQL 15 is not installed (Debian package postgresql-15)");
        QVERIFY2(pg.problem().isEmpty(), qPrintable(pg.problem()));
        TestDatabase file;
        const QString config = file.folder() + QStringLiteral("/festa.conf");
        FestaSettings::setFileName(config);
        pg.deskSettings(QStringLiteral("Caixa 4")).save();

        const char* points[] = {"festa/lido", "festa/lote", "festa/confirmado"};
        QRandomGenerator rng(20261210);
        int atPoints = 0;
        for (int kill = 0; kill < 60; ++kill) {
            const int which = int(rng.bounded(4));
            QProcess desk;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (which < 3)
                env.insert(QStringLiteral("QUORVANTA_CRASH_AT"),
                           QStringLiteral("%1@%2").arg(QLatin1String(points[which])).arg(1 + rng.bounded(3)));
            desk.setProcessEnvironment(env);
            // bursts of sales, so that batches span several statements
            desk.start(QCoreApplication::applicationFilePath(),
                       testDeskArguments(file.path(), config, rng.generate(), 100000, 20, 6));
            QVERIFY(desk.waitForStarted());
            if (which == 3) QTest::qWait(100 + int(rng.bounded(400)));
            if (which < 3 && desk.waitForFinished(10000)) {
                ++atPoints;
            } else {
                desk.kill();
                QVERIFY(desk.waitForFinished());
            }
            QCOMPARE(desk.exitStatus(), QProcess::CrashExit);
        }
        qInfo("%d kills, %d of them at the upload's named points", 60, atPoints);
        QVERIFY(atPoints >= 30);

        QProcess last; // one more start, selling nothing: it catches up and ends
        last.start(QCoreApplication::applicationFilePath(), testDeskArguments(file.path(), config, 1, 0));
        QVERIFY(last.waitForFinished(60000));
        QCOMPARE(last.exitCode(), 0);

        const DeskBook book = readDeskBook(file.path());
        QVERIFY(book.lastSeq > 300);
        QString local;
        {
            Database db(file.path());
            for (const FestaJournalStore::Row& r : FestaJournalStore::rows(db, book.firstSeq, 1000000))
                local += QStringLiteral("%1:%2,").arg(r.seq).arg(r.hash);
        }
        local.chop(1);
        const QString where = QStringLiteral(" FROM festa.diario WHERE caixa = '%1'").arg(book.deskId);
        QCOMPARE(pg.sql(QStringLiteral("SELECT count(*) || ' ' || min(seq) || ' ' || max(seq)") + where),
                 QStringLiteral("%1 %2 %3")
                     .arg(book.lastSeq - book.firstSeq + 1)
                     .arg(book.firstSeq)
                     .arg(book.lastSeq));
        QCOMPARE(pg.sql(QStringLiteral("SELECT string_agg(seq || ':' || hash, ',' ORDER BY seq)") + where),
                 local);

        FestaSession session(QStringLiteral("tesouraria"), pg.treasurer());
        QCOMPARE(session.open(), QString());
        QSqlDatabase db = session.db();
        const QString diff =
            compareWithServer(book, FestaPanelStore::read(db), FestaPanelStore::closedTills(db));
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }
};

int main(int argc, char** argv) {
    if (const int child = runTestDesk(argc, argv); child >= 0) return child;
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    TestFestaKill tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_festakill.moc"
