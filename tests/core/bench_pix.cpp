// From the festa's Pix key to the QR image the customer scans: the key checked, the payload built with
// its amount and txid, the QR code drawn at the sales screen's scale. Prints the median and p99.
// Usage: bench_pix [runs] (default 500).

#include "core/payments/pixcode.h"
#include "core/payments/pixqr.h"
#include "support/coresupport.h"

#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(10, atoi(argv[1])) : 500;
    QList<double> ms;
    qint64 side = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const QString payload =
            PixCode::payload({QStringLiteral("12.ABC.345/01DE-35"), QStringLiteral("Paróquia São Benedito"),
                              QStringLiteral("Ribeirão Preto"), 1250 + i, PixCode::txid(3, 17, i)});
        side += PixQr::image(payload, 6).width();
        ms << double(t.nsecsElapsed()) / 1e6;
    }
    std::printf("bench_pix: %d codes (key -> payload -> QR image, scale 6, %lld px wide)\n", runs,
                static_cast<long long>(side / runs));
    std::printf("  median %.3f ms, p99 %.3f ms (goal: under 16 ms)\n", TestSupport::percentile(ms, 0.5),
                TestSupport::percentile(ms, 0.99));
    return 0;
}
