#include "openingreport.h"

#include "core/base/maker.h"
#include "core/db/datamodule.h"
#include "core/reports/tillreportheader.h"

OpeningReport::OpeningReport(Dataset* festa) : Report(QStringLiteral("qr_abertura"), 89.96, 117.21) {
    const int band = addBand(QStringLiteral("detail"), 95.51, 87.84);

    addTillReportHeader(*this, band, QStringLiteral("ABERTURA DE CAIXA"), QStringLiteral("qr_labertura"),
                        QStringLiteral("Abertura:"), 15.88, festa);
    label(band, QStringLiteral("qr_asteriscos"), QString(53, QLatin1Char('*')), 2.12, 46.30, 70.38);
    label(band, QStringLiteral("qr_laberto"), QStringLiteral("Aberto por:"), 4.23, 53.18, 19.05, 10, true);
    label(band, QStringLiteral("qr_responsavel"), QString(), 24.61, 53.18, 23.02);
    label(band, QStringLiteral("qr_loperador"), QStringLiteral("Operador:"), 4.23, 61.12, 17.20, 10, true);
    label(band, QStringLiteral("qr_operador"), QString(), 23.02, 61.12, 18.26);
    label(band, QStringLiteral("qr_lentrada"), QStringLiteral("R$ de Entrada:"), 4.23, 69.59, 24.87, 10,
          true);
    label(band, QStringLiteral("qr_entrada"), QString(), 30.69, 69.59, 12.17);
    label(band, QStringLiteral("qr_hifens"), QString(74, QLatin1Char('-')), 1.32, 83.08, 78.58, 10, true);
    label(band, QStringLiteral("qr_credito"), QStringLiteral("Desenvolvido por: ") + Maker::name(), 6.88,
          88.37, 65.88, 9, true);
}
