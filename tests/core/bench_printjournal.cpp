// What the print journal adds to a sale's printing: a 20-ticket sale printed through the till (each
// ticket a document of the journal, stored before it prints and marked with the sale's printed count)
// against the same twenty prints with no journal, to PDF files and to a print queue of the bench's own
// (whose backend only copies the job). Prints the median and p99 of each and the cost per ticket.
// Usage: bench_printjournal pdf|fila [sales] (default 15). "fila" needs root and the print server.

#include "core/db/database.h"
#include "core/desk/desktill.h"
#include "core/till/tillmodel.h"
#include "support/coresupport.h"
#include "support/testqueue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    const bool toQueue = argc > 1 && qstrcmp(argv[1], "fila") == 0;
    if (!toQueue) qputenv("CUPS_SERVER", "/nonexistent/quorvanta/cups.sock"); // every job a PDF file
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    const int sales = argc > 2 ? std::max(2, atoi(argv[2])) : 15;
    QTemporaryDir pdf;
    SystemPrintSink::setPdfFolder(pdf.path());
    std::unique_ptr<TestSupport::TestQueue> queue;
    if (toQueue) {
        queue = std::make_unique<TestSupport::TestQueue>(QStringLiteral("Bench"));
        if (const QString why = queue->add(); !why.isEmpty()) {
            std::fprintf(stderr, "bench_printjournal: %s\n", qPrintable(why));
            return 1;
        }
        SystemPrintSink::setPrinterName(queue->name);
    }
    TestSupport::TestDatabase file;
    Database db(file.path());
    DeskTill till(db);
    till.open({QStringLiteral("ANA"), QStringLiteral("RUI"), {}, {}, QStringLiteral("0,00")},
              till.nextNumber());
    Report ticket = TestSupport::ticketReport(QStringLiteral("qr_fichas"), QString());
    const QString keys = QStringLiteral("0123456789");

    QList<double> plain, journal;
    for (int s = 0; s < sales; ++s) {
        {
            QElapsedTimer t;
            t.start();
            const PrintSession session;
            for (int i = 0; i < 20; ++i) {
                ticket.setCaption(QStringLiteral("impresso"), keys.mid(i % 10, 1));
                ticket.setDocument(QStringLiteral("ficha-%1-%2").arg(s).arg(i));
                ticket.print();
            }
            plain << double(t.nsecsElapsed()) / 1e6;
        }
        for (int i = 0; i < 20; ++i)
            till.addLine(keys[i % 10]);
        QElapsedTimer t;
        t.start();
        {
            const PrintSession session;
            till.printTickets([&](const TillModel::SaleLine& line, const QString& document) {
                ticket.setCaption(QStringLiteral("impresso"), line.ticketText);
                ticket.setDocument(document);
                return ticket.print();
            });
        }
        journal << double(t.nsecsElapsed()) / 1e6;
        till.bookSale();
        till.clearSale();
        if (queue) { // the queue empties between sales, as at a till
            QElapsedTimer waited;
            waited.start();
            while (!queue->idle() && waited.elapsed() < 60000)
                QThread::msleep(100);
        }
    }
    const char* where = toQueue ? "fila de impressão" : "arquivos PDF";
    std::printf("20 fichas, %s, %d vendas\n", where, sales);
    std::printf("  sem diário   median %7.2f ms   p99 %7.2f ms\n", TestSupport::percentile(plain, 0.5),
                TestSupport::percentile(plain, 0.99));
    std::printf("  com diário   median %7.2f ms   p99 %7.2f ms\n", TestSupport::percentile(journal, 0.5),
                TestSupport::percentile(journal, 0.99));
    std::printf("  por ficha    median %+6.3f ms\n",
                (TestSupport::percentile(journal, 0.5) - TestSupport::percentile(plain, 0.5)) / 20);
    return 0;
}
