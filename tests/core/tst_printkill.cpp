// A program killed (SIGKILL, as a power cut does) just before a document reaches the printer, or just
// after the printer took it and before the program recorded it, comes back with each document on paper
// exactly once and each step matched by its paper: every ticket of the sale once, a withdrawal booked
// exactly when its receipt printed, a till opened or closed exactly when its report printed. Through
// PDF files, through a print queue of the test's own, and (tickets) on the loopback ESC/POS printer,
// where the cashier is asked about the one ticket that went out, and only about that one. Every core is
// kept busy while the program is killed and started again; through the queue it is also started again
// only once the queue printed what it had (the print server then lists those jobs without their titles).
#include "core/base/clock.h"
#include "core/db/database.h"
#include "core/desk/desktill.h"
#include "core/print/escpos.h"
#include "core/print/escposprinter.h"
#include "core/print/printjournal.h"
#include "core/till/tillmodel.h"
#include "support/coresupport.h"
#include "support/escpostestprinter.h"
#include "support/testqueue.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <string_view>

#include <optional>

using namespace TestSupport;

namespace {

const TillModel::Opening opening{QStringLiteral("MARIA"), QStringLiteral("JOSE"),
                                 QStringLiteral("10/12/2026"), QStringLiteral("13:00:00"),
                                 QStringLiteral("50,00")};

constexpr char saleKeys[] = {'0', '1', '2', '1', '3'};

void printTo(const QString& route) {
    if (route.startsWith(QLatin1String("escpos:"))) {
        PrinterSettings s;
        s.kind = PrinterSettings::Kind::Network;
        s.host = route.section(QLatin1Char(':'), 1, 1);
        s.port = route.section(QLatin1Char(':'), 2, 2).toInt();
        static EscPosPrintSink sink(s);
        Printing::setSink(&sink);
    } else if (route.startsWith(QLatin1String("pdf:")))
        SystemPrintSink::setPdfFolder(route.mid(4));
    else
        SystemPrintSink::setPrinterName(route.mid(5));
}

// One step of the till with its document, as the windows make it.
void runStep(TillModel& till, const QString& step) {
    Report report = ticketReport(QStringLiteral("qr_") + step, step.toUpper());
    if (step == QLatin1String("abertura")) {
        till.open(opening, till.nextNumber(), report);
        return;
    }
    if (!till.isOpen()) till.open(opening, till.nextNumber());
    if (step == QLatin1String("sangria")) {
        till.withdraw(QStringLiteral("10,00"), report);
    } else if (step == QLatin1String("fechamento")) {
        till.close(QStringLiteral("50,00"), QStringLiteral("ANA"), Clock::now(), report);
    } else {
        if (till.saleIsEmpty())
            for (const char key : saleKeys)
                till.addLine(QLatin1Char(key));
        const PrintSession session;
        till.completeSale(QStringLiteral("100"),
                          [&](const TillModel::SaleLine& line, const QString& document) {
                              report.setCaption(QStringLiteral("impresso"), line.ticketText);
                              report.setDocument(document);
                              return report.print();
                          });
    }
}

// Documents on paper: the file names that carry the documents of that kind.
QStringList onPaper(const QString& route, const TestQueue* queue, const QString& kind) {
    const QStringList files = queue ? queue->printed() : QDir(route.mid(4)).entryList({"*.pdf"}, QDir::Files);
    return files.filter(QRegularExpression(QStringLiteral("-%1-[0-9a-f]{12}\\.pdf$").arg(kind)));
}

} // namespace

class TestPrintKill : public QObject {
    Q_OBJECT

    std::unique_ptr<TestQueue> m_queue;
    QString m_queueSkip;

private slots:
    void initTestCase() {
        m_queue = std::make_unique<TestQueue>(QStringLiteral("Queda"));
        m_queueSkip = m_queue->add();
    }

    void killedAtThePrinterEachDocumentIsOnPaperOnce_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("crash");
        QTest::addColumn<QString>("via");
        QTest::addColumn<bool>("afterPrinting"); // started again once the queue printed
        for (const char* via : {"pdf", "fila", "escpos"})
            for (const char* step : {"ficha", "sangria", "abertura", "fechamento"})
                for (const char* point : {"antes-de-imprimir", "depois-de-imprimir"})
                    for (const int at : QString::fromLatin1(step) == QLatin1String("ficha")
                                            ? QList<int>{1, 3, 5}
                                            : QList<int>{1}) {
                        if (via == std::string_view("escpos") && step != std::string_view("ficha")) continue;
                        const QString crash = QStringLiteral("%1/%2@%3").arg(point, step).arg(at);
                        const bool printed =
                            via == std::string_view("fila") && crash.startsWith(QLatin1String("depois"));
                        for (const bool after : printed ? QList<bool>{false, true} : QList<bool>{false})
                            QTest::addRow("%s %s%s", via, qPrintable(crash),
                                          after ? " reiniciado depois da fila" : "")
                                << QString::fromLatin1(step) << crash << QString::fromLatin1(via) << after;
                    }
    }

    void killedAtThePrinterEachDocumentIsOnPaperOnce() {
        QFETCH(QString, step);
        QFETCH(QString, crash);
        QFETCH(QString, via);
        QFETCH(bool, afterPrinting);
        const bool viaQueue = via == QLatin1String("fila"), viaEscPos = via == QLatin1String("escpos");
        if (viaQueue && !m_queueSkip.isEmpty()) QSKIP(qPrintable(m_queueSkip));
        TestDatabase file;
        QTemporaryDir pdf;
        EscPosTestPrinter printer;
        const QString route = viaQueue    ? QStringLiteral("cups:") + m_queue->name
                              : viaEscPos ? QStringLiteral("escpos:127.0.0.1:%1").arg(printer.settings().port)
                                          : QStringLiteral("pdf:") + pdf.path();
        const QStringList before = viaQueue ? m_queue->printed() : QStringList();

        // The program killed at the crash point, then started again: what the printer's side says
        // settles every document in doubt, and the cashier confirms the sale brought back.
        std::optional<CpuLoad> load(std::in_place); // until the program settled
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!viaQueue)
            env.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent/quorvanta/cups.sock"));
        QProcessEnvironment crashing = env;
        crashing.insert(QStringLiteral("QUORVANTA_CRASH_AT"), crash);
        child.setProcessEnvironment(crashing);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), file.path(), step, route});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        if (afterPrinting) {
            QTRY_VERIFY_WITH_TIMEOUT(m_queue->idle(), 60000);
            // The server puts an ended job's attributes away within a second or two, then lists it
            // without its title; a server that goes on listing it is waited for no longer than that.
            const bool putAway = QTest::qWaitFor(
                [&] {
                    const QStringList titles = m_queue->titles();
                    return !titles.isEmpty() && titles.constLast().isEmpty();
                },
                10000);
            if (!putAway) qInfo("the print server still lists the job's title");
        }
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--restart"), file.path(), step, route});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        load.reset();
        QStringList told = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        const QStringList asked = told.filter(QRegularExpression(QStringLiteral("^\\? ")));
        for (const QString& question : asked)
            told.removeAll(question);

        Database db(file.path());
        DeskTill till(db);
        QVERIFY(till.journal().inDoubt().isEmpty());
        const bool printedBeforeKill = crash.startsWith(QLatin1String("depois"));
        if (viaEscPos) { // the ticket that went out is asked about; one never sent is not
            const QString ticket = crash.section(QLatin1Char('@'), 1);
            QCOMPARE(asked.size(), printedBeforeKill ? 1 : 0);
            if (printedBeforeKill)
                QVERIFY2(asked.first().startsWith("? A ficha " + ticket + " de "), qPrintable(asked.first()));
            QList<EscPosDocument> sale; // each ticket of the sale once, in order
            Report report = ticketReport(QStringLiteral("qr_ficha"), QStringLiteral("FICHA"));
            for (const char key : saleKeys) {
                report.setCaption(QStringLiteral("impresso"),
                                  TillStore::productLine(db, QLatin1Char(key)).ticketText);
                sale << EscPosDecoder::documents(EscPos::initialize() + EscPos::page(report, 80) +
                                                 EscPos::cut());
            }
            QCOMPARE(printer.documents(), sale);
        } else {
            QCOMPARE(asked, QStringList()); // the printer's side told: no question
        }

        if (viaQueue) QTRY_VERIFY_WITH_TIMEOUT(m_queue->idle(), 60000);
        QStringList paper =
            viaEscPos ? QStringList() : onPaper(route, viaQueue ? m_queue.get() : nullptr, step);
        for (const QString& old : before)
            paper.removeAll(old);
        const auto kind = step == QLatin1String("ficha")      ? PrintJournal::Kind::Ticket
                          : step == QLatin1String("sangria")  ? PrintJournal::Kind::Withdrawal
                          : step == QLatin1String("abertura") ? PrintJournal::Kind::Opening
                                                              : PrintJournal::Kind::Closing;
        // Paper and journal agree: each document marked printed is on paper once, no other one is.
        QStringList printedDocuments;
        QList<qint64> tickets;
        for (const PrintJournal::Document& d : till.journal().ofKind(kind))
            if (d.state == PrintJournal::State::Printed) {
                printedDocuments << d.name;
                tickets << d.step.value(QStringLiteral("ficha")).toInteger();
            }
        if (!viaEscPos) {
            QCOMPARE(paper.size(), printedDocuments.size());
            for (const QString& name : printedDocuments)
                QCOMPARE(paper.filter(name).size(), 1);
        }

        if (step == QLatin1String("ficha")) {
            std::sort(tickets.begin(), tickets.end());
            QCOMPARE(tickets, QList<qint64>({0, 1, 2, 3, 4})); // each ticket of the sale once
            QCOMPARE(till.cash(), QStringLiteral("73,50"));    // booked once
            QVERIFY(told.isEmpty());
            return;
        }
        QCOMPARE(paper.size(), printedBeforeKill ? 1 : 0);
        QCOMPARE(told.size(), 1);
        if (step == QLatin1String("sangria")) {
            QCOMPARE(till.withdrawalsText(), printedBeforeKill ? QStringLiteral("1") : QStringLiteral("0"));
            QCOMPARE(till.cash(), printedBeforeKill ? QStringLiteral("40,00") : QStringLiteral("50,00"));
            QVERIFY2(told.first().contains(printedBeforeKill ? QStringLiteral("foi registrada")
                                                             : QStringLiteral("não foi registrada")),
                     qPrintable(told.first()));
        } else {
            QCOMPARE(till.isOpen(), (step == QLatin1String("abertura")) == printedBeforeKill);
        }
    }
};

int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args.at(1).startsWith(QLatin1String("--"))) {
        Database db(args.at(2));
        DeskTill till(db);
        printTo(args.at(4));
        if (args.at(1) == QLatin1String("--restart")) {
            QTextStream out(stdout);
            // Asked, the cashier has looked: a ticket that went out to the ESC/POS printer is on paper.
            const bool looked = args.at(4).startsWith(QLatin1String("escpos:"));
            for (const QString& text : till.settleDocuments([&](const PrintJournal::Document& d) {
                     out << "? " << TillModel::question(d) << '\n';
                     return looked;
                 }))
                out << text << '\n';
            if (args.at(3) == QLatin1String("ficha")) runStep(till, args.at(3));
            return 0;
        }
        runStep(till, args.at(3));
        return 0; // the crash point did not come
    }
    TestPrintKill tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_printkill.moc"
