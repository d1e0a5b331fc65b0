// How long a 20-ticket sale (five products) takes to reach an ESC/POS printer: the pages turned into
// raster, written to the loopback test printer, the status asked before the first ticket and after each.
// Prints the median and the 99th percentile over several sales: with the sink the program keeps for the
// run (pages already painted by earlier sales) and with a new sink for each sale (each product painted
// once in the sale). Target: under 50 ms.
// Usage: bench_escpos [sales] (default 50).

#include "core/base/errors.h"
#include "core/print/escposprinter.h"
#include "support/coresupport.h"
#include "support/escpostestprinter.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

void report(const char* what, const QList<double>& ms) {
    std::printf("%-46s median %6.2f ms   p99 %6.2f ms   (%lld sales)\n", what,
                TestSupport::percentile(ms, 0.5), TestSupport::percentile(ms, 0.99), qlonglong(ms.size()));
}

// One sale of 20 tickets in one print session; its time in milliseconds.
double sale(EscPosPrintSink& sink) {
    static const char* const products[] = {"PASTEL", "REFRIGERANTE", "CACHORRO-QUENTE", "QUENTÃO", "PIPOCA"};
    Printing::setSink(&sink);
    QElapsedTimer t;
    t.start();
    {
        PrintSession session;
        for (int i = 0; i < 20; ++i)
            TestSupport::ticketReport(QStringLiteral("qr_fichas"), QString::fromUtf8(products[i % 5]), 0.5)
                .print();
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    Printing::setSink(nullptr);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    const int sales = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    EscPosTestPrinter printer;
    QList<double> kept, fresh;
    try {
        EscPosPrintSink sink(printer.settings());
        sale(sink); // warm-up: fonts, libraries
        for (int i = 0; i < sales; ++i) {
            kept << sale(sink);
            EscPosPrintSink once(printer.settings());
            fresh << sale(once);
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "bench_escpos: %s\n", qPrintable(e.text()));
        return 1;
    }
    if (printer.documents().size() != 20 * (2 * sales + 1)) {
        std::fprintf(stderr, "bench_escpos: the printer printed %lld documents\n",
                     qlonglong(printer.documents().size()));
        return 1;
    }
    report("20 tickets, the run's sink:", kept);
    report("20 tickets, a new sink (pages painted):", fresh);
    return 0;
}
