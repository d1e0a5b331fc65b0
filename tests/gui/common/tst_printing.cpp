// The real print path: a report printed through the system's default printer (CUPS) comes out of a PDF
// queue as one page of the report's size with its texts; printers that are missing, stopped or refuse the
// job print nothing and raise PrintError; jobs are followed until they end; the printer's state line
// follows its queue. The PDF queue and the backend of the tests' own queues are what
// scripts/setup-cups-pdf.sh installs; on a machine without them the tests that need them are skipped.

#include "core/base/errors.h"
#include "core/db/database.h"
#include "core/print/printserver.h"
#include "core/till/ticketjobs.h"
#include "gui/common/printerstatuslabel.h"
#include "support/pdfprobe.h"
#include "support/testqueue.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cups/cups.h>
#include <unistd.h>

namespace {

using TestSupport::admin;
using TestSupport::TestQueue;

// Where a CUPS-PDF queue writes its jobs: the Out setting of its configuration, when it is one fixed
// folder (not per user).
QString cupsPdfFolder() {
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (!conf.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    QString out;
    while (!conf.atEnd()) {
        const QString line = QString::fromUtf8(conf.readLine()).trimmed();
        if (line.startsWith(QLatin1String("Out ")) || line.startsWith(QLatin1String("Out\t")))
            out = line.mid(4).trimmed();
    }
    if (!out.startsWith(QLatin1Char('/')) || out.contains(QLatin1Char('$')) || !QDir(out).exists())
        return QString();
    return out;
}

// A job's PDF in the queue's folder: the queue names it after the job's title (the report's name).
QString jobFile(const QString& folder, const QString& reportName) {
    const QStringList found =
        QDir(folder).entryList({QStringLiteral("%1*.pdf").arg(reportName)}, QDir::Files | QDir::Readable);
    return found.isEmpty() ? QString() : folder + QLatin1Char('/') + found.first();
}

Report ticketLike(const QString& name) {
    return TestSupport::ticketReport(name, QStringLiteral("PASTEL"));
}

void expectPrintError(const Report& report, const QString& start) {
    try {
        Printing::sink().print(report);
        QFAIL("the print did not fail");
    } catch (const PrintError& e) {
        QVERIFY2(e.text().startsWith(start), qPrintable(e.text()));
    }
}

QString printedName(const PrintJob& job, const QString& title) {
    return QStringLiteral("%1-%2.pdf").arg(job.id).arg(title);
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    QString m_unique;
    QString reportName(const QString& what) const { return QStringLiteral("qr_%1_%2").arg(m_unique, what); }

private slots:
    void initTestCase() {
        m_unique = QStringLiteral("teste_%1_%2").arg(getpid()).arg(QDateTime::currentMSecsSinceEpoch());
        Printing::setSink(nullptr);
    }
    void cleanup() {
        SystemPrintSink::setPrinterName(QString());
        SystemPrintSink::setPdfFolder(QString());
        cupsSetServer(nullptr);
    }

    void seesTheSystemsDefaultPrinter() {
        QString out;
        if (!admin(QStringLiteral("lpstat"), {QStringLiteral("-d")}, &out)) QSKIP("no print server running");
        static const QRegularExpression re(QStringLiteral("destination: (\\S+)"));
        const QRegularExpressionMatch m = re.match(out);
        if (!m.hasMatch()) QSKIP("the print server has no default printer");
        // Seeing no printer, the program would write PDF files instead of printing.
        QVERIFY(SystemPrintSink::hasDefaultPrinter());
        QCOMPARE(PrintServer::printerStatus().printer, m.captured(1));
    }

    void printsThroughTheDefaultPrinter() {
        const PrintServer::PrinterStatus printer = PrintServer::printerStatus();
        if (printer.printer.isEmpty()) QSKIP("no default printer (run scripts/setup-cups-pdf.sh as root)");
        if (!printer.makeAndModel.contains(QLatin1String("CUPS-PDF")))
            QSKIP("the default printer is not a CUPS-PDF queue: nothing is printed on a real printer");
        const QString folder = cupsPdfFolder();
        if (folder.isEmpty())
            QSKIP("the CUPS-PDF output folder is not one fixed folder (run scripts/setup-cups-pdf.sh)");
        if (!PdfProbe::available()) QSKIP("poppler-utils not installed");

        // A ticket and a long till report: two custom page sizes that must reach the printer as they are.
        const Report ticket = ticketLike(reportName(QStringLiteral("fichas")));
        Report closing(reportName(QStringLiteral("fechamento")), 89.96, 259.29);
        closing.addBand(QStringLiteral("detail"), 250);
        closing.label(0, QStringLiteral("rodape"), QStringLiteral("Fechamento de Caixa"), 10, 230, 60, 12,
                      true);

        QElapsedTimer clock;
        clock.start();
        PrintJob jobs[2];
        qint64 handedOver = 0;
        {
            PrintSession session;
            jobs[0] = ticket.print();
            handedOver = clock.elapsed();
            jobs[1] = closing.print();
        }
        QCOMPARE(jobs[0].destination, printer.printer);
        QCOMPARE(jobs[1].destination, printer.printer);
        QVERIFY(jobs[0].id > 0 && jobs[1].id > jobs[0].id);
        QCOMPARE(SystemPrintSink::rememberedPrinter(), printer.printer);
        QString ticketPdf, closingPdf;
        QTRY_VERIFY_WITH_TIMEOUT(!(ticketPdf = jobFile(folder, ticket.name())).isEmpty() &&
                                     PdfProbe::pageCount(ticketPdf) == 1 &&
                                     !(closingPdf = jobFile(folder, closing.name())).isEmpty() &&
                                     PdfProbe::pageCount(closingPdf) == 1,
                                 60000);
        qInfo("first job handed over in %lld ms; both PDFs complete after %lld ms", handedOver,
              clock.elapsed());

        QSizeF size = PdfProbe::pageSizePt(ticketPdf);
        QVERIFY2(PdfProbe::sizeMatchesMm(size, {90, 135}),
                 qPrintable(QStringLiteral("%1 x %2 pt").arg(size.width()).arg(size.height())));
        size = PdfProbe::pageSizePt(closingPdf);
        QVERIFY2(PdfProbe::sizeMatchesMm(size, {89.96, 259.29}),
                 qPrintable(QStringLiteral("%1 x %2 pt").arg(size.width()).arg(size.height())));

        const double centre = 1.0 + 0.26 + 81.49 / 2;
        const QList<PdfProbe::Word> words = PdfProbe::words(ticketPdf);
        const struct {
            QString phrase;
            double top;
        } expected[] = {{QStringLiteral("FESTA JUNINA DA PARÓQUIA"), 2 + 1.32},
                        {QStringLiteral("PASTEL"), 2 + 8.73},
                        {QStringLiteral("OBRIGADO E VOLTE SEMPRE"), 2 + 23.28}};
        for (const auto& e : expected) {
            const QRectF at = PdfProbe::find(words, e.phrase);
            QVERIFY2(!at.isNull(), qPrintable(e.phrase + QStringLiteral(" is not text in the printed PDF")));
            QVERIFY2(qAbs(at.center().x() - centre) < 1.0 && qAbs(at.top() - e.top) < 1.0,
                     qPrintable(
                         QStringLiteral("%1 at %2, %3 mm").arg(e.phrase).arg(at.center().x()).arg(at.top())));
        }
        const QRectF footer =
            PdfProbe::find(PdfProbe::words(closingPdf), QStringLiteral("Fechamento de Caixa"));
        QVERIFY2(!footer.isNull() && qAbs(footer.left() - 11) < 1.0 && qAbs(footer.top() - 232) < 1.0,
                 qPrintable(QStringLiteral("%1, %2 mm").arg(footer.left()).arg(footer.top())));
        for (const QString& f : PdfProbe::fonts(ticketPdf))
            QVERIFY2(f.startsWith(QLatin1String("LiberationSans")) && f.endsWith(QLatin1String(" yes")),
                     qPrintable(f));

        QFile::remove(ticketPdf);
        QFile::remove(closingPdf);
    }

    void missingPrinterRaisesPrintError() {
        SystemPrintSink::setPrinterName(QStringLiteral("Quorvanta_Inexistente"));
        expectPrintError(ticketLike(reportName(QStringLiteral("inexistente"))),
                         QStringLiteral("A impressora \"Quorvanta_Inexistente\" não está instalada."));
    }

    // A queue that cannot print refuses the whole batch before its first job, naming the printer and why.
    void queueThatCannotPrintPrintsNothing_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rejecting")
            << QStringLiteral("cupsreject")
            << QStringLiteral("A impressora \"%1\" não está aceitando trabalhos (motivo do teste).");
        QTest::newRow("disabled") << QStringLiteral("cupsdisable")
                                  << QStringLiteral(
                                         "A impressora \"%1\" está parada: pausada no servidor de impressão "
                                         "(motivo do teste).");
    }
    void queueThatCannotPrintPrintsNothing() {
        QFETCH(QString, command);
        QFETCH(QString, expected);
        TestQueue queue(QStringLiteral("Parada"));
        if (const QString why = queue.add(); !why.isEmpty()) QSKIP(qPrintable(why));
        QVERIFY(queue.run(command, {QStringLiteral("-r"), QStringLiteral("motivo do teste")}));

        SystemPrintSink::setPrinterName(queue.name);
        {
            PrintSession session;
            for (int i = 0; i < 2; ++i)
                expectPrintError(ticketLike(reportName(QStringLiteral("parada"))), expected.arg(queue.name));
        }
        QString jobs;
        QVERIFY(admin(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue.name}, &jobs));
        QVERIFY2(jobs.trimmed().isEmpty(), qPrintable(jobs));
        QVERIFY(queue.printed().isEmpty());
    }

    // The backend aborts the third of five jobs after the server accepted them all: the watcher reports
    // that job alone, the other four come out once each.
    void jobAbortedAfterAcceptanceIsReported() {
        TestQueue queue(QStringLiteral("Aborta"));
        if (const QString why = queue.add(); !why.isEmpty()) QSKIP(qPrintable(why));
        queue.control(QStringLiteral("abortar %1\n").arg(reportName(QStringLiteral("lote_3"))));
        SystemPrintSink::setPrinterName(queue.name);

        QList<PrintJob> jobs;
        QStringList titles;
        {
            PrintSession session;
            for (int i = 1; i <= 5; ++i) {
                titles << reportName(QStringLiteral("lote_%1").arg(i));
                jobs << ticketLike(titles.last()).print();
            }
        }
        for (int i = 0; i < jobs.size(); ++i) {
            QCOMPARE(jobs[i].destination, queue.name);
            QVERIFY(i == 0 || jobs[i].id > jobs[i - 1].id);
        }

        PrintJobWatcher watcher;
        watcher.setInterval(100);
        QList<PrintJob> failed;
        QList<PrintServer::JobState> states;
        bool ended = false;
        connect(&watcher, &PrintJobWatcher::jobsFailed, this,
                [&](const QList<PrintJob>& j, const QList<PrintServer::JobState>& s) {
                    failed << j;
                    states << s;
                });
        connect(&watcher, &PrintJobWatcher::allEnded, this, [&] { ended = true; });
        watcher.follow(jobs);
        QTRY_VERIFY_WITH_TIMEOUT(ended, 60000);
        QCOMPARE(failed, QList<PrintJob>{jobs[2]});
        QCOMPARE(states, QList<PrintServer::JobState>{PrintServer::JobState::Aborted});
        QCOMPARE(PrintServer::jobState(jobs[0]), PrintServer::JobState::Completed);
        QStringList expected;
        for (int i : {0, 1, 3, 4})
            expected << printedName(jobs[i], titles[i]);
        QCOMPARE(queue.printed(), expected);
    }

    // A sale of five tickets whose third job the backend aborts: the cashier's list names that
    // ticket's product (also after a restart), the reprint prints exactly it, once, and every ticket
    // comes out once in all.
    void saleReprintsExactlyTheTicketsNotPrinted() {
        TestQueue queue(QStringLiteral("Venda"));
        if (const QString why = queue.add(); !why.isEmpty()) QSKIP(qPrintable(why));
        queue.control(QStringLiteral("abortar %1\n").arg(reportName(QStringLiteral("venda_3"))));
        SystemPrintSink::setPrinterName(queue.name);
        const TestSupport::TestDatabase file;
        Database db(file.path());
        const QStringList products = {QStringLiteral("ÁGUA"), QStringLiteral("ÁGUA"),
                                      QStringLiteral("PASTEL"), QStringLiteral("PIPOCA"),
                                      QStringLiteral("PIPOCA")};
        auto print = [&](const QString& text, const QString& = QString()) {
            return ticketLike(text).print();
        };
        {
            TicketJobs tickets(db);
            tickets.watcher().setInterval(100);
            PrintSession session;
            for (int i = 0; i < products.size(); ++i) {
                const QString text = reportName(QStringLiteral("venda_%1").arg(i + 1));
                tickets.record(QString::number(i), products[i], text, print(text));
            }
            QTRY_VERIFY_WITH_TIMEOUT(tickets.watcher().following().isEmpty(), 60000);
            QCOMPARE(tickets.failedText(), QStringLiteral("1 ficha de PASTEL"));
        }
        // After a restart the ticket not printed is still known; the reprint prints it once.
        queue.control(QString());
        TicketJobs tickets(db);
        tickets.watcher().setInterval(100);
        QCOMPARE(tickets.failedCount(), 1);
        tickets.reprintFailed(print);
        QCOMPARE(tickets.failedCount(), 0);
        tickets.reprintFailed(print); // nothing left to reprint
        QTRY_VERIFY_WITH_TIMEOUT(tickets.watcher().following().isEmpty(), 60000);
        QCOMPARE(tickets.failedCount(), 0);
        QStringList titles;
        for (const QString& f : queue.printed())
            titles << f.section(QLatin1Char('-'), 1).chopped(4);
        std::sort(titles.begin(), titles.end());
        QStringList expected;
        for (int i = 1; i <= 5; ++i)
            expected << reportName(QStringLiteral("venda_%1").arg(i));
        QCOMPARE(titles, expected);
    }

    void statusLineFollowsTheQueue() {
        TestQueue queue(QStringLiteral("Estado"));
        if (const QString why = queue.add(); !why.isEmpty()) QSKIP(qPrintable(why));
        PrinterStatusLabel label;
        label.setPrinterName(queue.name);
        label.setInterval(100);
        label.show();
        const QString ready = QStringLiteral("Impressora %1: pronta").arg(queue.name);
        QTRY_COMPARE(label.text(), ready);
        QVERIFY(
            queue.run(QStringLiteral("cupsdisable"), {QStringLiteral("-r"), QStringLiteral("sem papel")}));
        QTRY_COMPARE(label.text(), QStringLiteral("Impressora %1: parada, sem papel").arg(queue.name));
        QVERIFY(queue.run(QStringLiteral("cupsenable")));
        QTRY_COMPARE(label.text(), ready);
    }

    // With no print server (nothing printed yet) each job is a whole PDF file; once a job went to a
    // printer, a print server that does not answer is an error.
    void withoutPrintServer() {
        const QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("impressos"));
        SystemPrintSink::setPdfFolder(folder);
        SystemPrintSink::forgetPrinter();
        cupsSetServer("/nonexistent/quorvanta-cups.sock");
        const PrintJob job = ticketLike(reportName(QStringLiteral("semservidor"))).print();
        QVERIFY(job.isFile());
        QVERIFY(QFile::exists(job.destination));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(job.destination).fileName()});
        if (PdfProbe::available()) QCOMPARE(PdfProbe::pageCount(job.destination), 1);
        // the state line says where the documents go, and nothing stops them
        const PrintServer::PrinterStatus toFiles = PrintServer::printerStatus();
        QCOMPARE(toFiles.state, PrintServer::PrinterStatus::State::NoServer);
        QCOMPARE(toFiles.line(),
                 QStringLiteral("Sem impressora: as impressões vão para arquivos PDF em %1").arg(folder));
        QCOMPARE(toFiles.problem(), QString());
        cupsSetServer(nullptr);

        TestQueue queue(QStringLiteral("Lembrada"));
        if (const QString why = queue.add(); !why.isEmpty()) QSKIP(qPrintable(why));
        SystemPrintSink::setPrinterName(queue.name);
        ticketLike(reportName(QStringLiteral("lembrada"))).print();
        QCOMPARE(SystemPrintSink::rememberedPrinter(), queue.name);
        SystemPrintSink::setPrinterName(QString());
        cupsSetServer("/nonexistent/quorvanta-cups.sock");
        expectPrintError(
            ticketLike(reportName(QStringLiteral("lembrada"))),
            QStringLiteral("O servidor de impressão não responde: nada foi impresso na impressora \"%1\".")
                .arg(queue.name));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
        QCOMPARE(PrintServer::printerStatus().line(),
                 QStringLiteral("Impressora: o servidor de impressão não responde"));
        SystemPrintSink::forgetPrinter();
    }

    void stopReasonsInPortuguese_data() {
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<bool>("accepting");
        QTest::addColumn<QStringList>("reasons");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("problem");
        const QString stopped = QStringLiteral("A impressora \"P\" está parada: ");
        QTest::newRow("ready") << false << true << QStringList() << QString() << QString();
        QTest::newRow("warnings only")
            << false << true
            << QStringList{QStringLiteral("media-low-warning"), QStringLiteral("toner-low-report")}
            << QString() << QString();
        QTest::newRow("no paper") << false << true << QStringList{QStringLiteral("media-empty-error")}
                                  << QString() << stopped + QStringLiteral("sem papel");
        QTest::newRow("cover and offline")
            << false << true
            << QStringList{QStringLiteral("cover-open-report"), QStringLiteral("offline-report")} << QString()
            << stopped + QStringLiteral("tampa aberta, desligada ou desconectada");
        QTest::newRow("unknown error")
            << false << true << QStringList{QStringLiteral("bandeja-quebrada-error")} << QString()
            << stopped + QStringLiteral("erro na impressora (bandeja-quebrada-error)");
        QTest::newRow("stopped, the driver says why")
            << true << true << QStringList() << QStringLiteral("Sem papel")
            << stopped + QStringLiteral("Sem papel");
        QTest::newRow("not accepting") << false << false << QStringList() << QString()
                                       << QStringLiteral("A impressora \"P\" não está aceitando trabalhos");
    }
    void stopReasonsInPortuguese() {
        QFETCH(bool, stopped);
        QFETCH(bool, accepting);
        QFETCH(QStringList, reasons);
        QFETCH(QString, message);
        QFETCH(QString, problem);
        PrintServer::PrinterStatus st;
        st.printer = QStringLiteral("P");
        st.state =
            stopped ? PrintServer::PrinterStatus::State::Stopped : PrintServer::PrinterStatus::State::Ready;
        st.accepting = accepting;
        st.reasons = reasons;
        st.message = message;
        QCOMPARE(st.problem(), problem);
        QCOMPARE(st.line().contains(QLatin1String("pronta")), problem.isEmpty());
    }
};

QUORVANTA_TEST_MAIN(TestPrinting)
#include "tst_printing.moc"
