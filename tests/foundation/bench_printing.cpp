// How long a 20-ticket sale takes to hand to the default printer (the CUPS-PDF queue of
// scripts/setup-cups-pdf.sh): one print session, twenty jobs. Prints the median and the 99th percentile
// of several sales, and the same twenty tickets printed each as a batch of one for comparison.
// Usage: bench_printing [sales] (default 10). The queue's PDFs are removed afterwards.

#include "foundation/errors.h"
#include "foundation/printserver.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

Report ticket(const QString& name, const QString& text) {
    Report r(name, 90.0, 135.0);
    const int band = r.addBand(QStringLiteral("detail"), 29.10);
    const struct {
        const char* name;
        QString text;
        double top, height, size;
    } boxes[] = {{"cabecalho", QStringLiteral("FESTA JUNINA DA PARÓQUIA"), 1.32, 5.03, 11},
                 {"impresso", text, 8.73, 11.91, 28},
                 {"rodape", QStringLiteral("OBRIGADO E VOLTE SEMPRE"), 23.28, 5.03, 10}};
    for (const auto& b : boxes) {
        ReportElement& e =
            r.label(band, QString::fromLatin1(b.name), b.text, 0.26, b.top, 81.49, b.size, true);
        e.autoSize = false;
        e.wordWrap = true;
        e.height = b.height;
        e.alignment = Qt::AlignHCenter;
        e.minPointSize = b.size / 2;
    }
    return r;
}

double percentile(QList<double> v, double p) {
    std::sort(v.begin(), v.end());
    const double rank = p * double(v.size() - 1);
    const int lo = int(rank);
    const int hi = std::min(lo + 1, int(v.size()) - 1);
    return v[lo] + (v[hi] - v[lo]) * (rank - lo);
}

void report(const char* what, const QList<double>& ms) {
    std::printf("%-44s median %7.1f ms   p99 %7.1f ms   (%lld sales)\n", what, percentile(ms, 0.5),
                percentile(ms, 0.99), qlonglong(ms.size()));
}

} // namespace

int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    QApplication app(argc, argv);
    const int sales = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
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
    int n = 0;
    auto sale = [&](bool session) {
        std::unique_ptr<PrintSession> s(session ? new PrintSession : nullptr);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 20; ++i)
            ticket(QStringLiteral("%1_%2").arg(prefix).arg(++n), products[i % 5]).print();
        return double(t.nsecsElapsed()) / 1e6;
    };
    QList<double> batched, single;
    try {
        sale(true); // warm-up: fonts, libraries
        for (int i = 0; i < sales; ++i) {
            batched << sale(true);
            single << sale(false);
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "bench_printing: %s\n", qPrintable(e.text()));
        return 1;
    }
    report("20 tickets, one print session:", batched);
    report("20 tickets, each a batch of one:", single);

    // The queue writes its PDFs as it gets to them: wait for them (up to a minute), then remove them.
    const QString out = QStringLiteral("/var/spool/cups-pdf/quorvanta");
    if (QDir(out).exists()) {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            const QStringList files = QDir(out).entryList({prefix + QStringLiteral("*")}, QDir::Files);
            if (files.size() >= n || waited.elapsed() > 60000) {
                for (const QString& f : files)
                    QFile::remove(out + QLatin1Char('/') + f);
                break;
            }
            QThread::msleep(500);
        }
    }
    return 0;
}
