#include "tillreportheader.h"

#include "core/print/report.h"

void addTillReportHeader(Report& r, int band, const QString& title, const QString& momentName,
                         const QString& momentCaption, double momentCaptionWidth, Dataset* festa) {
    ReportElement& t = r.label(band, QStringLiteral("qr_titulo"), title, -0.26, 0.79, 80.43, 12, true);
    t.height = 5.29;
    t.autoSize = false;
    t.alignment = Qt::AlignHCenter;

    r.label(band, QStringLiteral("qr_lfesta"), QStringLiteral("Festa:"), 4.23, 10.58, 10.32, 10, true);
    r.dbText(band, QStringLiteral("qr_cabecalho"), festa, QStringLiteral("cabecalho"), 6.35, 16.93, 15.88);
    r.label(band, momentName, momentCaption, 4.23, 23.28, momentCaptionWidth, 10, true);
    r.label(band, QStringLiteral("qr_data"), QString(), 10.58, 29.63, 11.64);
    r.label(band, QStringLiteral("qr_separador"), QStringLiteral("|"), 33.60, 29.63, 1.06);
    r.label(band, QStringLiteral("qr_hora"), QString(), 38.10, 29.63, 11.64);
    r.label(band, QStringLiteral("qr_lncaixa"), QStringLiteral("Nº do Caixa:"), 4.23, 38.10, 21.17, 10, true);
    r.label(band, QStringLiteral("q_ncaixa"), QString(), 26.19, 38.36, 14.02);
}
