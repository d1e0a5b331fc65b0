// How long a 20-ticket sale takes to hand to the default printer (the CUPS-PDF queue of
// scripts/setup-cups-pdf.sh): one print session, twenty jobs. Prints the median and the 99th percentile
// of several sales, and the same twenty tickets printed each as a batch of one for comparison. Like a
// till, each sale starts once the queue has printed the one before (the queue is shared: it is never
// flooded), and each sale's PDFs are removed once printed.
// Usage: bench_printing [sales] (default 8).

#include "core/base/errors.h"
#include "core/print/printserver.h"
#include "support/coresupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

Report ticket(const QString& name, const QString& text) {
    return TestSupport::ticketReport(name, text, 0.5);
}

void report(const char* what, const QList<double>& ms) {
    std::printf("%-44s median %7.1f ms   p99 %7.1f ms   (%lld sales)\n", what,
                TestSupport::percentile(ms, 0.5), TestSupport::percentile(ms, 0.99), qlonglong(ms.size()));
}

} // namespace

int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    const int sales = argc > 1 ? std::max(1, atoi(argv[1])) : 8;
    const PrintServer::PrinterStatus printer = PrintServer::printerStatus();
    if (printer.printer.isEmpty() || !printer.problem().isEmpty()) {
        std::fprintf(stderr, "bench_printing: no default printer ready (%s)\n", qPrintable(printer.line()));
        return 1;
    }
    std::printf("printer %s (%s)\n", qPrintable(printer.printer), qPrintable(printer.makeAndModel));
    const QString prefix = QStringLiteral("qr_bench_%1").arg(getpid());
    const QString products[] = {QStringLiteral("PASTEL"), QStringLiteral("REFRIGERANTE"),
                                QStringLiteral("CACHORRO-QUENTE"), QStringLiteral("QUENTÃO"),
                                QStringLiteral("PIPOCA")};
    const QString out = QStringLiteral("/var/spool/cups-pdf/quorvanta");
    int n = 0;
    auto sale = [&](bool session) {
        QList<PrintJob> jobs;
        double ms = 0;
        {
            std::unique_ptr<PrintSession> s(session ? new PrintSession : nullptr);
            QElapsedTimer t;
            t.start();
            for (int i = 0; i < 20; ++i)
                jobs << ticket(QStringLiteral("%1_%2").arg(prefix).arg(++n), products[i % 5]).print();
            ms = double(t.nsecsElapsed()) / 1e6;
        }
        // Up to two minutes for the queue to print them; then their files go.
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            const QList<PrintServer::JobState> states = PrintServer::jobStates(jobs);
            if (std::all_of(states.begin(), states.end(), PrintServer::ended) || waited.elapsed() > 120000)
                break;
            QThread::msleep(200);
        }
        for (const QString& f : QDir(out).entryList({prefix + QStringLiteral("*")}, QDir::Files))
            QFile::remove(out + QLatin1Char('/') + f);
        return ms;
    };
    QList<double> batched, single;
    try {
        sale(true); // warm-up: fonts, libraries
        for (int i = 0; i < sales; ++i) {
            batched << sale(true);
            if (i < 3) single << sale(false);
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "bench_printing: %s\n", qPrintable(e.text()));
        return 1;
    }
    report("20 tickets, one print session:", batched);
    report("20 tickets, each a batch of one:", single);

    return 0;
}
