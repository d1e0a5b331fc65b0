#include "lasttillreport.h"

LastTillReport::LastTillReport() : Report(QStringLiteral("qr_impbackup"), 89.96, 259.29) {
    const int title = addBand(QStringLiteral("title"), 13.23);
    const int detail = addBand(QStringLiteral("detail"), 236.80);

    ReportElement& heading = label(title, QStringLiteral("QRLabel1"), QStringLiteral("FECHAMENTO DE CAIXA"),
                                   2.12, 2.12, 65.88, 14, true);
    heading.height = 6.09;
    heading.autoSize = false;
    heading.alignment = Qt::AlignHCenter;

    ReportElement& mode =
        label(title, QStringLiteral("QRLabel2"), QStringLiteral("MODO BACKUP"), 2.12, 8.47, 65.88, 9, true);
    mode.autoSize = false;
    mode.alignment = Qt::AlignHCenter;

    // Long lines wrap; what does not fit the memo's height is not printed.
    memo(detail, QStringLiteral("QRMemo1"), 2.12, 2.12, 84.93, 233.10);
}
