#include "u_qr_abertura.h"

#include "foundation/u_dm.h"
#include "shell/forms.h"
#include "shell/u_principal.h"

Tqr_abertura::Tqr_abertura(Forms& forms) : Report(QStringLiteral("qr_abertura"), 89.96, 117.21) {
    const int band = addBand(QStringLiteral("detail"), 95.51, 87.84);

    ReportElement& title = label(band, QStringLiteral("qr_titulo"), QStringLiteral("ABERTURA DE CAIXA"),
                                 -0.26, 0.79, 80.43, 12, true);
    title.height = 5.29;
    title.autoSize = false;
    title.alignment = Qt::AlignHCenter;

    label(band, QStringLiteral("qr_lfesta"), QStringLiteral("Festa:"), 4.23, 10.58, 10.32, 10, true);
    dbText(band, QStringLiteral("qr_cabecalho"), forms.dm->q_festa, QStringLiteral("cabecalho"), 6.35, 16.93,
           15.88);
    label(band, QStringLiteral("qr_labertura"), QStringLiteral("Abertura:"), 4.23, 23.28, 15.88, 10, true);
    label(band, QStringLiteral("qr_data"), QString(), 10.58, 29.63, 11.64);
    label(band, QStringLiteral("qr_separador"), QStringLiteral("|"), 33.60, 29.63, 1.06);
    label(band, QStringLiteral("qr_hora"), QString(), 38.10, 29.63, 11.64);
    label(band, QStringLiteral("qr_lncaixa"), QStringLiteral("Nº do Caixa:"), 4.23, 38.10, 21.17, 10, true);
    label(band, QStringLiteral("q_ncaixa"), QString(), 26.19, 38.36, 14.02);
    label(band, QStringLiteral("qr_asteriscos"), QString(53, QLatin1Char('*')), 2.12, 46.30, 70.38);
    label(band, QStringLiteral("qr_laberto"), QStringLiteral("Aberto por:"), 4.23, 53.18, 19.05, 10, true);
    label(band, QStringLiteral("qr_responsavel"), QString(), 24.61, 53.18, 23.02);
    label(band, QStringLiteral("qr_loperador"), QStringLiteral("Operador:"), 4.23, 61.12, 17.20, 10, true);
    label(band, QStringLiteral("qr_operador"), QString(), 23.02, 61.12, 18.26);
    label(band, QStringLiteral("qr_lentrada"), QStringLiteral("R$ de Entrada:"), 4.23, 69.59, 24.87, 10,
          true);
    label(band, QStringLiteral("qr_entrada"), QString(), 30.69, 69.59, 12.17);
    label(band, QStringLiteral("qr_hifens"), QString(74, QLatin1Char('-')), 1.32, 83.08, 78.58, 10, true);
    label(band, QStringLiteral("qr_credito"),
          QStringLiteral("Desenvolvido por: ") + Tf_principal::makerName(), 6.88, 88.37, 65.88, 9, true);
}
