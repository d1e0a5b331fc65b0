#include "closingreport.h"

#include "core/db/datamodule.h"
#include "core/till/productkeys.h"

namespace {
const double rowTops[ProductKeys::count] = {119.86, 126.21, 132.56, 139.17, 146.05, 152.40, 158.75,
                                            165.10, 171.45, 177.80, 184.15, 190.50, 196.85, 203.20,
                                            209.55, 215.90, 222.25, 228.60, 234.95, 241.30};
const QString asterisks = QString(53, QLatin1Char('*'));
} // namespace

ClosingReport::ClosingReport(Dataset* festa) : Report(QStringLiteral("qr_fechamento"), 89.96, 259.29) {
    const int band = addBand(QStringLiteral("detail"), 251.88);
    int n = 0;
    auto caption = [&](const QString& text, double left, double top,
                       double pointSize = 10) -> ReportElement& {
        return label(band, QStringLiteral("QRLabel%1").arg(++n), text, left, top, 0, pointSize, true);
    };
    auto value = [&](const QString& name, double left, double top) -> ReportElement& {
        return label(band, name, QString(), left, top, 0);
    };
    auto rule = [&](double top) -> ReportElement& {
        ReportElement& e = caption(asterisks, 2.12, top);
        e.bold = false;
        return e;
    };

    ReportElement& title = caption(QStringLiteral("FECHAMENTO DE CAIXA"), -0.26, 0.79, 12);
    title.width = 80.43;
    title.height = 5.29;
    title.autoSize = false;
    title.alignment = Qt::AlignHCenter;

    caption(QStringLiteral("Festa:"), 3.44, 10.58);
    dbText(band, QStringLiteral("QRDBText1"), festa, QStringLiteral("cabecalho"), 5.56, 16.93, 0);

    caption(QStringLiteral("Fechamento:"), 3.44, 23.55);
    value(QStringLiteral("qr_data"), 9.79, 29.63);
    caption(QStringLiteral("|"), 32.54, 29.63).bold = false;
    value(QStringLiteral("qr_hora"), 37.31, 29.63);

    caption(QStringLiteral("Nº do Caixa:"), 3.44, 37.04);
    value(QStringLiteral("q_ncaixa"), 25.40, 37.31);
    caption(QStringLiteral("Aberto por:"), 3.44, 43.92);
    value(QStringLiteral("qr_aberto"), 24.08, 43.92);
    caption(QStringLiteral("Fechado por:"), 3.44, 52.39);
    value(QStringLiteral("qr_fechado"), 27.52, 52.39);
    caption(QStringLiteral("Operador:"), 3.44, 60.85);
    value(QStringLiteral("qr_operador"), 22.49, 60.85);

    rule(67.47);
    caption(QStringLiteral("R$ de Entrada:"), 3.44, 72.50);
    value(QStringLiteral("qr_entrada"), 30.16, 72.50);
    caption(QStringLiteral("R$ Sangria:"), 3.44, 80.43);
    value(QStringLiteral("qr_sangria"), 24.61, 80.43);
    caption(QStringLiteral("R$ Em Caixa:"), 3.44, 87.84);
    value(QStringLiteral("qr_caixa"), 28.05, 87.84);
    rule(93.93);
    caption(QStringLiteral("Quant. Sangria:"), 3.44, 98.16);
    value(QStringLiteral("qr_qsangria"), 31.22, 98.16);
    rule(103.98);

    caption(QStringLiteral("Relatório de Vendas"), 17.20, 107.42, 11).height = 5.03;
    caption(QStringLiteral("Cod"), 3.70, 113.51);
    caption(QStringLiteral("Produto"), 14.82, 113.51);
    caption(QStringLiteral("Quantidade"), 42.33, 113.51);

    for (int i = 0; i < ProductKeys::count; ++i) {
        const QChar k = ProductKeys::all()[i];
        const double top = rowTops[i];
        caption(QString(k), 5.56, top);
        ReportElement& name = value(QStringLiteral("pd") + k, i < 10 ? 14.82 : 15.08, top);
        name.width = 29.37;
        name.autoSize = false; // long names are clipped
        ReportElement& count = value(QStringLiteral("qr") + k, 49.48, top);
        count.width = (k == QLatin1Char('f') || k == QLatin1Char('i') || k == QLatin1Char('j')) ? 3.97 : 5.03;
        count.alignment = Qt::AlignHCenter;
    }

    rule(248.18);
}
