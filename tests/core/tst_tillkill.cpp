// A till killed with SIGKILL at random moments of its life (sales, a failed and retried confirmation,
// withdrawals, closings) comes back as of its last completed step, again and again.
//
// The child (this program with --child) runs the till model on the real database file and writes a
// journal: "B n" before booking a sale of n lines and "b" after, "W amount"/"w" around a withdrawal,
// "o number" after an opening, "c" after a closing. The parent kills it, checks the file and notes in
// the journal how the step the kill caught ended ("b"/"w" done, "x" not).
#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/desk/desktill.h"
#include "core/till/tillmodel.h"
#include "support/coresupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

using namespace TestSupport;

namespace {

const QString keys = QStringLiteral("0123459"); // prices 2,00 4,00 6,00 7,50 8,00 3,00 and 0,00

int runChild(const QString& path, const QString& journalPath, quint32 seed) {
    Database db(path);
    DeskTill till(db);
    QFile journal(journalPath);
    if (!journal.open(QIODevice::Append)) return 2;
    auto note = [&](const QString& line) {
        journal.write((line + QLatin1Char('\n')).toUtf8());
        journal.flush();
    };
    QRandomGenerator rng(seed);
    auto book = [&] {
        note(QStringLiteral("B %1").arg(till.saleLines().size()));
        till.bookSale();
        note(QStringLiteral("b"));
        till.clearSale();
    };
    int failAt = -1;
    auto print = [&](const TillModel::SaleLine&, const QString&) {
        if (failAt-- == 0) throw PrintError(QStringLiteral("sem papel"));
        return PrintJob{};
    };
    for (;;) {
        if (!till.isOpen()) {
            const qint64 n = till.nextNumber();
            till.open({QStringLiteral("MARIA"), QStringLiteral("JOSE"), QStringLiteral("09/12/2026"),
                       QStringLiteral("13:00:00"), QStringLiteral("50")},
                      n);
            note(QStringLiteral("o %1").arg(n));
        } else if (!till.saleIsEmpty()) { // a sale brought back: the cashier confirms it
            till.printTickets(print);
            book();
        } else if (const int r = int(rng.bounded(100)); r < 80) {
            const int lines = 1 + int(rng.bounded(4));
            for (int i = 0; i < lines; ++i)
                till.addLine(keys[int(rng.bounded(keys.size()))]);
            if (r >= 65) { // the printer stops halfway; one more key, then the retry
                failAt = int(rng.bounded(lines));
                try {
                    till.printTickets(print);
                } catch (const PrintError&) {
                }
                till.addLine(QLatin1Char('1'));
            }
            failAt = -1;
            till.printTickets(print);
            book();
        } else if (r < 97) {
            const QString amount = Money::format(0.5 * (1 + rng.bounded(19)));
            note(QStringLiteral("W ") + amount);
            till.withdraw(amount);
            note(QStringLiteral("w"));
        } else {
            till.close();
            note(QStringLiteral("c"));
        }
    }
}

} // namespace

class TestTillKill : public QObject {
    Q_OBJECT

private slots:
    void killedAtRandomTheTillComesBackAsOfItsLastStep() {
        TestDatabase file;
        const QString journalPath = file.folder() + QStringLiteral("/journal");
        QRandomGenerator rng(20261209);
        int opened = 0, booked = 0;
        for (int kill = 0; kill < 100; ++kill) {
            QProcess child;
            child.start(
                QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), file.path(), journalPath, QString::number(rng.generate())});
            QVERIFY(child.waitForStarted());
            // killed while it works, not while it starts: on a busy machine starting alone can take
            // longer than the pause, and the run would kill children that never sold anything
            const qint64 written = QFileInfo(journalPath).size();
            QVERIFY(QTest::qWaitFor([&] { return QFileInfo(journalPath).size() > written; }, 60000));
            QTest::qWait(30 + int(rng.bounded(150)));
            child.kill();
            QVERIFY(child.waitForFinished());

            QCOMPARE(file.scalar(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
            Database db(file.path());
            const DeskTill till(db); // the next start
            if (!till.isOpen()) continue;
            ++opened;

            // the journal of this till: what completed, and the one step the kill may have caught
            QFile j(journalPath);
            QVERIFY(j.open(QIODevice::ReadOnly));
            const QStringList all =
                QString::fromUtf8(j.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            const qsizetype from = all.lastIndexOf(QStringLiteral("o ") + till.numberText());
            const QStringList lines = from < 0 ? QStringList() : all.mid(from + 1);
            int rows = 0, pendingRows = 0, withdrawals = 0, pendingWithdrawals = 0;
            double withdrawn = 0, pendingAmount = 0;
            for (const QString& l : lines) {
                if (l == QLatin1String("x")) pendingRows = pendingWithdrawals = 0, pendingAmount = 0;
                if (l.startsWith(QLatin1String("B "))) pendingRows = l.mid(2).toInt();
                if (l == QLatin1String("b")) rows += std::exchange(pendingRows, 0);
                if (l.startsWith(QLatin1String("W ")))
                    pendingAmount = Money::parse(l.mid(2)), pendingWithdrawals = 1;
                if (l == QLatin1String("w")) {
                    withdrawn += std::exchange(pendingAmount, 0);
                    withdrawals += std::exchange(pendingWithdrawals, 0);
                }
            }
            const int tallyRows = file.scalar(QStringLiteral("select count(*) from tbl_cont_vendas")).toInt();
            QVERIFY2(
                tallyRows == rows || tallyRows == rows + pendingRows,
                qPrintable(
                    QStringLiteral("kill %1: %2 tally rows, %3 booked").arg(kill).arg(tallyRows).arg(rows)));
            booked += tallyRows;
            const int count = till.withdrawalsText().toInt();
            QVERIFY(count == withdrawals || count == withdrawals + pendingWithdrawals);
            if (count > withdrawals) withdrawn += pendingAmount;
            QCOMPARE(till.withdrawn(), Money::format(withdrawn));

            // every booked line reached the cash once, every ticket the counts once
            const double sold =
                file.scalar(QStringLiteral("select coalesce(sum(replace(valor, ',', '.')), 0) "
                                           "from tbl_cont_vendas"))
                    .toDouble();
            QCOMPARE(Money::format(Money::parse(till.cash())), Money::format(50 + sold - withdrawn));
            QCOMPARE(file.rows(QStringLiteral(
                         "select id, fichas from tbl_caixa_fichas where fichas <> 0 order by id")),
                     file.rows(QStringLiteral("select lower(id), sum(quantidade) from tbl_cont_vendas "
                                              "group by lower(id) order by 1")));

            // the journal learns how the step the kill caught ended, for the next round
            j.close();
            QVERIFY(j.open(QIODevice::Append));
            if (from < 0) j.write(QStringLiteral("o %1\n").arg(till.numberText()).toUtf8());
            if (pendingRows) j.write(tallyRows > rows ? "b\n" : "x\n");
            if (pendingWithdrawals) j.write(count > withdrawals ? "w\n" : "x\n");
        }
        // the run went through open tills with sales, not only through openings
        QVERIFY(opened > 50);
        QVERIFY(booked > 100);
    }
};

int main(int argc, char** argv) {
    if (argc == 5 && QByteArray(argv[1]) == "--child") {
        QCoreApplication app(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                        QByteArray(argv[4]).toUInt());
    }
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    TestTillKill tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_tillkill.moc"
